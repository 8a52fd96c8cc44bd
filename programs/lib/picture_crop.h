#pragma once
// pcompos in the one form the crop needs: a single picture placed with its
// lower-left corner at (x0, y0) on a width x height canvas. Coordinates count
// from the lower left, scanlines being rows (the last scanline is y = 0);
// canvas pixels the picture does not cover are black. Pixel bytes are copied.
//
// A width or height of 0 means "as far as the picture reaches": x0 plus the
// picture's width (height).

#include <string>

#include "lib/program_status.h"

struct CropOptions {
    std::string command;  // recorded in the output header
    int width = 0;
    int height = 0;
    std::string input;
    int x0 = 0;
    int y0 = 0;
};

// Writes the picture to standard output.
ProgramStatus crop_picture(const CropOptions& options);
