#pragma once
// The check picture of a glare analysis: the analysed picture as grey of
// the same luminance (black outside the view and the Guth field), the task
// area in blue, and every glare source in a colour of its own, all colours
// keeping each pixel's luminance. Values are absolute (the input's exposure
// divided out), so the header has no EXPOSURE line; size and scanline order
// are the input's, under the resolution line evalglare writes: Y first, with
// the input's signs ("+X 500 +Y 786" comes back as "+Y 500 +X 786").

#include <string>

#include "lib/glare_analysis.h"
#include "lib/program_status.h"
#include "picture/view_options.h"
#include "picture/resolution_line.h"

// The colour (red, green, blue weights) of source number n (from 0): blue
// violet, olive, purple, teal, green, then again from blue violet. The weights sum to 1;
// each becomes a channel value through that channel's luminance weight.
struct SourceColour {
    double red, green, blue;
};
SourceColour source_colour(int number);

// The header lines: date lines, `command`, a line naming the program, the
// view used, the format.
std::vector<std::string> check_picture_header(const std::string& command, const View& view);

ProgramStatus write_check_picture(const std::string& path, const std::string& command, const View& view,
                                  const ResolutionLine& resolution, const GlareAnalysis& analysis);
