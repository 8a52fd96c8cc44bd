#include "lib/luminance_picture.h"

#include <cmath>
#include <cstdlib>

#include "common/physics.h"
#include "lib/picture_input.h"
#include "lib/picture_messages.h"
#include "lib/rgbe_color.h"

namespace {

const PictureMessages messages = {
    "Can't open {file}", "{file}: not a Radiance picture", "{file}: not a Radiance picture",
    "{file}: bad picture size", "{file}: read error",
};

bool scanlines_run_along_x(const ResolutionLine& r) { return (r.flags & ResolutionLine::y_major) != 0; }

}  // namespace

int picture_width(const ResolutionLine& r) {
    return scanlines_run_along_x(r) ? r.scanline_length : r.scanline_count;
}

int picture_height(const ResolutionLine& r) {
    return scanlines_run_along_x(r) ? r.scanline_count : r.scanline_length;
}

size_t pixel_index(const ResolutionLine& r, int scanline, int offset) {
    const bool x_down = (r.flags & ResolutionLine::x_decreasing) != 0;
    const bool y_down = (r.flags & ResolutionLine::y_decreasing) != 0;
    int i = 0, j = 0;
    if (scanlines_run_along_x(r)) {
        i = x_down ? r.scanline_length - 1 - offset : offset;
        j = y_down ? r.scanline_count - 1 - scanline : scanline;
    } else {
        i = x_down ? r.scanline_count - 1 - scanline : scanline;
        j = y_down ? r.scanline_length - 1 - offset : offset;
    }
    return size_t(j) * size_t(picture_width(r)) + size_t(i);
}

ProgramStatus read_luminance_picture(const std::string& path, LuminancePicture& picture) {
    PictureInput in;
    if (auto status = open_picture(in, path, messages); !status.ok()) return status;
    picture.header = in.header();
    picture.resolution = in.resolution();
    picture.width = picture_width(picture.resolution);
    picture.height = picture_height(picture.resolution);
    picture.exposure = picture.header.exposure_anywhere();
    picture.luminance.assign(size_t(picture.width) * size_t(picture.height), 0.0f);

    const int length = in.scanline_length();
    std::vector<uint8_t> planes(4 * size_t(length));
    const auto& table = rgbe_scale_table();
    const double weight = physics::luminous_efficacy / picture.exposure;
    const float wr = float(physics::radiance_weight_red * weight);
    const float wg = float(physics::radiance_weight_green * weight);
    const float wb = float(physics::radiance_weight_blue * weight);
    const uint8_t* red = planes.data();
    const uint8_t* green = red + length;
    const uint8_t* blue = green + length;
    const uint8_t* exponent = blue + length;
    for (int s = 0; s < in.scanline_count(); ++s) {
        if (!in.read_planes(planes.data())) return read_failure(messages, in, path);
        for (int k = 0; k < length; ++k) {
            const float f = table.scale[exponent[k]];
            const float value =
                ((red[k] + 0.5f) * wr + (green[k] + 0.5f) * wg + (blue[k] + 0.5f) * wb) * f;
            picture.luminance[pixel_index(picture.resolution, s, k)] = value;
        }
    }
    return success();
}
