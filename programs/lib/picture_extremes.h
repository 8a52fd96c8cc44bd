#pragma once
// pextrem: the darkest and the brightest pixel of a picture.
//
// Pixels are ranked by exponent byte, then by the integer brightness
// (68 R + 172 G + 17 B) >> 8 of the mantissas. They are visited top scanline
// first, each scanline from right to left, and only a strict improvement
// replaces the current choice. The brightest starts as black at (0, 0), so an
// all-black picture reports that corner.
//
// Positions count x from the left and y from the bottom, scanlines being
// rows; values are the stored ones, or divided by the picture's exposure with
// `original_values`.

#include <string>

#include "lib/program_status.h"
#include "picture/rgbe_pixel.h"

struct ExtremesOptions {
    bool original_values = false;
    std::string input;  // standard input when empty
};

struct PixelAt {
    int x = 0;
    int y = 0;
    RgbePixel pixel;
};

// Prints "x y\tr g b" for the darkest and then the brightest pixel.
ProgramStatus print_extremes(const ExtremesOptions& options);
