#pragma once
// Radiance view options (-vt -vp -vd -vu -vh -vv -vo -va -vs -vl), as they
// appear on VIEW= header lines, in view files and on command lines.
// Sizes are in degrees, vectors as given (not normalised).

#include <optional>
#include <string>
#include <string_view>

struct View {
    char type = 'v';  // v perspective, l parallel, c cylindrical, h hemispherical, a angular, s planisphere
    double position[3] = {0, 0, 0};
    double direction[3] = {0, 1, 0};
    double up[3] = {0, 0, 1};
    double horizontal = 45;
    double vertical = 45;
    double fore = 0;
    double aft = 0;
    double shift = 0;
    double lift = 0;
};

// A header line that carries a view, by Radiance's rule: its first word
// (up to the first blank), without any directory in front, begins with
// "VIEW=" or the name of a program that writes views (rpict, rview, rvu,
// rpiece, pinterp, or `program`, the reading program's own), so that
// "/usr/local/bin/rpict -vta ..." counts and a tab-indented copy does not.
bool is_view_line(std::string_view line, std::string_view program = {});

// Applies every view option found in the text to `view`, skipping other
// words; returns how many were applied.
int apply_view_options(View& view, std::string_view text);

// Why the view cannot be used, or nothing when it can.
std::optional<std::string> view_problem(const View& view);

// The full option form, e.g. " -vth -vp 0 0 0 -vd 0 1 0 -vu 0 0 1 -vh 180
// -vv 180 -vo 0 -va 0 -vs 0 -vl 0" (numbers as %.6g, leading blank).
std::string view_options_text(const View& view);
