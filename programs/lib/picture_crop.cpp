#include "lib/picture_crop.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "lib/picture_header.h"
#include "lib/picture_messages.h"
#include "lib/picture_output.h"
#include "picture/rgbe_writer.h"

namespace {

const PictureMessages messages = {
    "{file}: {error}", "{file}: bad picture size", "{file}: incompatible input format", "{file}: bad picture size",
    "{file}: read error (y=={y})",
};

// The nested input header keeps everything but the input's own top-level
// exposure, which goes into the one top-level line of ours: readers that
// count every EXPOSURE= in a header then still get the right product.
std::vector<std::string> crop_header(const CropOptions& options, const PictureHeader& input) {
    std::vector<std::string> lines = {"#?RADIANCE"};
    for (auto& line : date_lines()) lines.push_back(line);
    append_nested_header(lines, options.input, input, false);
    lines.push_back(options.command);
    lines.push_back(exposure_line(input.exposure()));
    if (input.has_format()) lines.emplace_back(std::string("FORMAT=") + std::string(rgbe_format_name));
    return lines;
}

}  // namespace

ProgramStatus crop_picture(const CropOptions& options) {
    PictureInput in;
    if (auto status = open_picture(in, options.input, messages); !status.ok()) return status;
    const int in_width = in.scanline_length();
    const int in_height = in.scanline_count();
    const int width = options.width > 0 ? options.width : options.x0 + in_width;
    const int height = options.height > 0 ? options.height : options.y0 + in_height;
    if (width <= 0 || height <= 0) return program_failure("illegal output size");

    PictureOutput out;
    out.open_standard_output();
    out.write_header(crop_header(options, in.header()), standard_resolution(width, height));

    // Canvas column x shows picture column x - x0; canvas row r (from the
    // top) shows picture row r + first_row.
    const int first_row = in_height - height + options.y0;
    const int column_from = std::max(0, options.x0);
    const int column_to = std::min(width, options.x0 + in_width);
    const size_t n = static_cast<size_t>(width);
    std::vector<uint8_t> row(4 * n);
    std::vector<uint8_t> source(4 * static_cast<size_t>(in_width));
    for (int r = 0; r < height; ++r) {
        std::fill(row.begin(), row.end(), uint8_t{0});
        const int input_row = r + first_row;
        if (input_row >= 0 && input_row < in_height && column_from < column_to) {
            if (!in.skip_to(input_row) || !in.read_planes(source.data()))
                return read_failure(messages, in, options.input);
            const size_t count = static_cast<size_t>(column_to - column_from);
            for (size_t c = 0; c < 4; ++c)
                std::memcpy(row.data() + c * n + static_cast<size_t>(column_from),
                            source.data() + c * static_cast<size_t>(in_width) +
                                static_cast<size_t>(column_from - options.x0),
                            count);
        }
        out.write_planes(row.data(), width);
    }
    if (!out.finish()) return program_failure("write error");
    return success();
}
