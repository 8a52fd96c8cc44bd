#include "lib/float_picture.h"

#include <cmath>
#include <cstdlib>

#include "lib/rgbe_color.h"

ProgramStatus read_float_picture(const std::string& path, const PictureMessages& messages, FloatPicture& picture) {
    PictureInput in;
    if (auto status = open_picture(in, path, messages); !status.ok()) return status;
    picture.header = in.header();
    picture.resolution = in.resolution();
    picture.resize(in.scanline_length(), in.scanline_count());
    picture.exposure = picture.header.exposure_anywhere();
    const size_t n = static_cast<size_t>(picture.width);
    std::vector<uint8_t> planes(4 * n);
    const auto& scale = rgbe_scale_table().scale;
    for (int row = 0; row < picture.height; ++row) {
        if (!in.read_planes(planes.data())) return read_failure(messages, in, path);
        const size_t start = static_cast<size_t>(row) * n;
        for (size_t i = 0; i < n; ++i) {
            const float f = scale[planes[3 * n + i]];
            picture.red[start + i] = (planes[i] + 0.5f) * f;
            picture.green[start + i] = (planes[n + i] + 0.5f) * f;
            picture.blue[start + i] = (planes[2 * n + i] + 0.5f) * f;
        }
    }
    return success();
}
