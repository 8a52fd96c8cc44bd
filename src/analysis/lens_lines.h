#pragma once
// The lens figures in words: the results page's second column group, the
// command line's text, and the sentences about the illuminance at the lens.

#include <string>
#include <vector>

#include "analysis/lens_figures.h"

struct LensLine {
    std::string caption;
    std::string value;
};

// A region's figures through the lens and the picture's illuminance; a
// picture without a usable view gets one line saying so (and its clipped
// pixels, which need no view).
std::vector<LensLine> lens_lines(const PictureLens& lens, const LensFigures& region);

// The picture's illuminance at the lens, and for a view of the whole
// hemisphere its hemispherical (horizontal, looking up) illuminance, each a
// caption and a value in lux; nothing without a view.
std::vector<LensLine> picture_illuminance_lines(const PictureLens& lens);

// An illuminance in lux as the pages show it: "6124.9 lx".
std::string lux_text(double lux);
