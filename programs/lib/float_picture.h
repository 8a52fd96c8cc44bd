#pragma once
// A whole RGBE picture decoded into single-precision channels, for the tone
// mappers, which need every pixel at once (averages, histograms, blurs).
//
// Pixels are kept in scan order: row r is the r-th scanline of the file and
// column c the c-th pixel along it, whatever the resolution line's signs.
// Values are the stored ones; dividing by `exposure` gives the original
// (physical) values, and 179 times the Radiance brightness of those is the
// luminance in cd/m².

#include <string>
#include <vector>

#include "common/physics.h"
#include "lib/colour_grid.h"
#include "lib/picture_header.h"
#include "lib/picture_messages.h"
#include "picture/resolution_line.h"

// width is the scanline length, height the scanline count.
struct FloatPicture : ColourGrid {
    PictureHeader header;
    ResolutionLine resolution;
    double exposure = 1.0;
};

// Reads the picture named `path`; the failures are worded by `messages`.
ProgramStatus read_float_picture(const std::string& path, const PictureMessages& messages, FloatPicture& picture);

// Radiance's brightness of a colour (its standard primaries): luminance is
// 179 times this in physical units.
inline float radiance_brightness(float r, float g, float b) {
    return static_cast<float>(physics::radiance_weight_red) * r + static_cast<float>(physics::radiance_weight_green) * g +
           static_cast<float>(physics::radiance_weight_blue) * b;
}
