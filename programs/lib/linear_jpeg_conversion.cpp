#include "lib/linear_jpeg_conversion.h"

#include <vector>

#include "lib/display_gamma.h"
#include "lib/jpeg_export.h"

ProgramStatus convert_linear_jpeg(const LinearJpegOptions& options) {
    const auto& messages = export_input_messages();
    PictureInput in;
    if (auto status = open_picture(in, options.input, messages); !status.ok()) return status;
    DisplayImage image(in.scanline_length(), in.scanline_count());
    const size_t n = static_cast<size_t>(image.width);
    std::vector<uint8_t> planes(4 * n);
    for (int r = 0; r < image.height; ++r) {
        if (!in.read_planes(planes.data())) return read_failure(messages, in, options.input);
        display_scanline(planes.data(), n, DisplayOrder::rgb, image.row(r));
    }
    return save_display_image(options.output, image);
}
