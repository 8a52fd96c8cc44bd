#include "lib/bmp_conversion.h"

#include <algorithm>
#include <vector>

#include "lib/bmp_file.h"
#include "lib/display_gamma.h"
#include "lib/picture_messages.h"
#include "lib/picture_output.h"
#include "picture/bmp_writer.h"
#include "picture/rgbe_writer.h"

namespace {

const PictureMessages messages = {
    "{file}: cannot open input file", "bad Radiance picture format", "bad Radiance picture format",
    "bad Radiance picture format", "error reading Radiance picture",
};

// Rows converted before each write: the whole band is one contiguous piece
// of the bottom-up file.
constexpr int band_rows = 64;

ProgramStatus picture_to_bmp(const BmpOptions& options) {
    PictureInput in;
    if (auto status = open_picture(in, options.input, messages); !status.ok()) return status;
    const int width = in.scanline_length();
    const int height = in.scanline_count();
    BmpWriter out(width, height);
    if (!out.open(options.output)) return program_failure("cannot allocate writer structure");

    const size_t n = static_cast<size_t>(width);
    std::vector<uint8_t> planes(4 * n);
    std::vector<uint8_t> band(out.row_size() * band_rows, 0);
    for (int top = 0; top < height; top += band_rows) {
        const int rows = std::min(band_rows, height - top);
        for (int r = 0; r < rows; ++r) {
            if (!in.read_planes(planes.data())) return read_failure(messages, in, options.input);
            display_scanline(planes.data(), n, DisplayOrder::bgr,
                             band.data() + out.row_size() * static_cast<size_t>(rows - 1 - r));
        }
        if (!out.write_rows(top, rows, band.data())) break;
    }
    if (!out.close()) return program_failure("error writing " + options.output);
    return success();
}

ProgramStatus bmp_to_picture(const BmpOptions& options) {
    const auto image = read_bmp(options.input);
    if (!image) return plain_failure(options.input + ": cannot open or recognize BMP");
    PictureOutput out;
    if (!out.open(options.output)) return plain_failure(options.output + ": cannot open for output");
    const std::vector<std::string> header = {"#?RADIANCE", options.command, "FORMAT=32-bit_rle_rgbe"};
    out.write_header(header, standard_resolution(image->width, image->height));
    std::vector<RgbePixel> pixels(static_cast<size_t>(image->width));
    for (int r = 0; r < image->height; ++r) {
        const uint8_t* rgb = image->row(r);
        for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = pixel_from_display(rgb[3 * i], rgb[3 * i + 1], rgb[3 * i + 2]);
        out.write_pixels(pixels.data(), image->width);
    }
    if (!out.finish()) return program_failure("error writing " + options.output);
    return success();
}

}  // namespace

ProgramStatus convert_bmp(const BmpOptions& options) {
    return options.reverse ? bmp_to_picture(options) : picture_to_bmp(options);
}
