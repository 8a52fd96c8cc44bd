#include "lib/glare_check_picture.h"

#include <cerrno>
#include <cstring>

#include "common/physics.h"
#include "lib/luminance_picture.h"
#include "lib/picture_header.h"
#include "lib/picture_output.h"
#include "lib/rgbe_color.h"

namespace {

constexpr SourceColour colours[] = {
    {0, 1, 0}, {0.15, 0.15, 0.7}, {0.5, 0.5, 0}, {0.5, 0, 0.5}, {0, 0.5, 0.5},
};

const SourceColour task_colour = {0, 0, 1};

RgbePixel coloured(const SourceColour& c, double value) {
    return encode_color(float(c.red / glare_weight_red * value), float(c.green / glare_weight_green * value),
                        float(c.blue / glare_weight_blue * value));
}

}  // namespace

// evalglare's colour for its source n (counted from 1) is number (n mod 5) + 1
// of its list, which starts one before green.
SourceColour source_colour(int number) { return colours[(number + 1) % 5]; }

std::vector<std::string> check_picture_header(const std::string& command, const View& view) {
    std::vector<std::string> lines = {"#?RADIANCE"};
    for (auto& line : date_lines()) lines.push_back(std::move(line));
    lines.push_back(command);
    lines.emplace_back("evalglare (candelux) glare evaluation after Wienold and Christoffersen (2006)");
    lines.push_back("VIEW=" + view_options_text(view));
    lines.push_back(std::string("FORMAT=") + std::string(rgbe_format_name));
    return lines;
}

ProgramStatus write_check_picture(const std::string& path, const std::string& command, const View& view,
                                  const ResolutionLine& resolution, const GlareAnalysis& a) {
    PictureOutput out;
    if (!out.open(path)) return program_failure("cannot write check picture " + path + ": " + std::strerror(errno));
    // Scanlines in the input's order, under the resolution line evalglare
    // writes: Y first, both signs kept.
    ResolutionLine rows = resolution;
    rows.flags |= ResolutionLine::y_major;
    out.write_header(check_picture_header(command, view), rows);
    const int length = resolution.scanline_length;
    std::vector<RgbePixel> scanline(static_cast<size_t>(length));
    for (int s = 0; s < resolution.scanline_count; ++s) {
        for (int k = 0; k < length; ++k) {
            const size_t p = pixel_index(resolution, s, k);
            const double value = a.luminance[p] / physics::luminous_efficacy;
            const int source = a.sources.source_of.empty() ? -1 : a.sources.source_of[p];
            if (source >= 0)
                scanline[size_t(k)] = coloured(source_colour(source), value);
            else if (!a.in_task.empty() && a.in_task[p])
                scanline[size_t(k)] = coloured(task_colour, value);
            else
                scanline[size_t(k)] = encode_color(float(value), float(value), float(value));
        }
        out.write_pixels(scanline.data(), length);
    }
    if (!out.finish()) return program_failure("cannot write check picture " + path + ": " + std::strerror(errno));
    return success();
}
