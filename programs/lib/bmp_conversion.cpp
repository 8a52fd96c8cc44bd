#include "lib/bmp_conversion.h"

#include <algorithm>
#include <vector>

#include "common/parallel_bands.h"
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
constexpr size_t band_rows = 64;

ProgramStatus picture_to_bmp(const BmpOptions& options) {
    PictureInput in;
    if (auto status = open_picture(in, options.input, messages); !status.ok()) return status;
    const int width = in.scanline_length();
    const int height = in.scanline_count();
    BmpWriter out(width, height);
    if (!out.open(options.output)) return program_failure("cannot allocate writer structure");

    // Scanlines read in order while the cores convert the ones read before;
    // each band written as one piece of the bottom-up file.
    const size_t n = static_cast<size_t>(width);
    const size_t rows = static_cast<size_t>(height);
    std::vector<uint8_t> planes(3 * band_rows * 4 * n);
    std::vector<uint8_t> bands(3 * band_rows * out.row_size(), 0);
    auto planes_of = [&](size_t row) { return planes.data() + row % (3 * band_rows) * 4 * n; };
    // A band's rows are stored bottom row first, each third of `bands` one band.
    auto stored_row = [&](size_t row) {
        const size_t top = row / band_rows * band_rows;
        const size_t in_band = std::min<size_t>(band_rows, rows - top);
        const size_t third = row / band_rows % 3;
        return bands.data() + (third * band_rows + in_band - 1 - (row - top)) * out.row_size();
    };
    bool written = true;
    const bool read = read_then_work(
        rows, band_rows, [&](size_t row) { return in.read_planes(planes_of(row)); },
        [&](size_t row) { display_scanline(planes_of(row), n, DisplayOrder::bgr, stored_row(row)); },
        [&](size_t first, size_t last) {
            // A band cut short by a read failure is not written.
            if (written && last - first == std::min<size_t>(band_rows, rows - first))
                written = out.write_rows(static_cast<int>(first), static_cast<int>(last - first),
                                         bands.data() + first / band_rows % 3 * band_rows * out.row_size());
        });
    if (!read) return read_failure(messages, in, options.input);
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
