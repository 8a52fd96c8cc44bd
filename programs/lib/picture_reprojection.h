#pragma once
// pinterp in the one use candelux has for it: a fisheye picture seen again
// from its own viewpoint through another fisheye view, typically an angular
// photograph turned hemispherical so that pi times its mean luminance is the
// illuminance at the lens.
//
// The output header nests the input's header without its EXPOSURE lines and
// states the input's exposure once at top level instead, so that a reader
// that multiplies every EXPOSURE= it finds still gets the input's product.
// Pixel values are those of the input (copied bytes when splatting).

#include <string>

#include "lib/program_status.h"
#include "picture/view_options.h"

struct ReprojectionOptions {
    std::string command;  // recorded in the output header
    View view;            // the output view
    int width = 512;      // the largest output size; the view's aspect
    int height = 512;     // shortens one side
    bool bilinear = false;
    std::string input;  // the picture, whose depth is a constant
};

// Writes the re-projected picture to standard output.
ProgramStatus reproject_picture(const ReprojectionOptions& options);
