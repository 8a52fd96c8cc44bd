#include "lib/picture_reprojection.h"

#include <string>
#include <vector>

#include "lib/fisheye_reprojection.h"
#include "lib/fisheye_resampling.h"
#include "lib/oriented_picture.h"
#include "lib/picture_header.h"
#include "lib/picture_messages.h"
#include "lib/picture_output.h"
#include "lib/reprojection_views.h"
#include "picture/projection_size.h"
#include "picture/rgbe_writer.h"

namespace {

const PictureMessages messages = {
    "{file}: {error}",
    "{file}: picture format error",
    "{file}: picture format error",
    "{file}: picture format error",
    "{file}: read error",
};

bool same_position(const View& a, const View& b) {
    return a.position[0] == b.position[0] && a.position[1] == b.position[1] && a.position[2] == b.position[2];
}

std::vector<std::string> reprojection_header(const ReprojectionOptions& options, const PictureHeader& input) {
    std::vector<std::string> lines = {"#?RADIANCE"};
    for (auto& line : date_lines()) lines.push_back(line);
    append_nested_header(lines, options.input, input, false);
    lines.push_back(options.command);
    lines.push_back("VIEW=" + view_options_text(options.view));
    // Written whenever the product is not exactly 1: the nested copy no
    // longer carries it, and even a small factor would shift every
    // luminance read from the output.
    if (const double exposure = input.exposure(); exposure != 1.0) lines.push_back(exposure_line(exposure));
    lines.emplace_back(std::string("FORMAT=") + std::string(rgbe_format_name));
    return lines;
}

ProgramStatus read_whole_picture(PictureInput& in, const std::string& path, OrientedPicture& picture) {
    picture.resolution = in.resolution();
    const size_t length = static_cast<size_t>(in.scanline_length());
    picture.pixels.resize(length * static_cast<size_t>(in.scanline_count()));
    for (size_t s = 0; s < static_cast<size_t>(in.scanline_count()); ++s)
        if (!in.read_pixels(picture.pixels.data() + s * length)) return read_failure(messages, in, path);
    return success();
}

}  // namespace

ProgramStatus reproject_picture(const ReprojectionOptions& options) {
    if (const auto problem = view_problem(options.view)) return program_failure(*problem);
    const auto to = make_fisheye_view(options.view);
    if (!to) return program_failure("output view must be a fisheye view (-vta or -vth)");

    PictureInput in;
    if (auto status = open_picture(in, options.input, messages); !status.ok()) return status;
    const auto input_view = header_view(in.header().lines);
    if (!input_view) return picture_failure(messages.bad_header, options.input);
    if (const auto problem = view_problem(*input_view)) return plain_failure(options.input + ": " + *problem);
    const auto from = make_fisheye_view(*input_view);
    if (!from) return plain_failure(options.input + ": not a fisheye picture (-vta or -vth)");
    if (!same_position(*input_view, options.view))
        return program_failure("output view must share the picture's viewpoint");

    OrientedPicture picture;
    if (auto status = read_whole_picture(in, options.input, picture); !status.ok()) return status;

    const PictureSize size = fisheye_picture_size(*to, options.width, options.height);
    if (size.width <= 0 || size.height <= 0) return program_failure("illegal output size");
    if (!projection_size_fits(static_cast<uint64_t>(size.width), static_cast<uint64_t>(size.height)))
        return program_failure("output of " + std::to_string(size.width) + " x " + std::to_string(size.height) +
                               " pixels is larger than " + std::to_string(max_projection_pixels) + " pixels");
    const auto pixels = options.bilinear ? bilinear_reprojection(picture, *from, *to, size)
                                         : splat_reprojection(picture, *from, *to, size);

    PictureOutput out;
    out.open_standard_output();
    out.write_header(reprojection_header(options, in.header()), standard_resolution(size.width, size.height));
    for (size_t row = 0; row < static_cast<size_t>(size.height); ++row)
        out.write_pixels(pixels.data() + row * static_cast<size_t>(size.width), size.width);
    if (!out.finish()) return program_failure("write error");
    return success();
}
