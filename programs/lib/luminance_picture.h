#pragma once
// A whole picture as luminance in cd/m², laid out for geometry: pixel (i, j)
// counts i from the left and j from the bottom, whatever order the file
// stores its scanlines in, so that it can be matched with a view. The
// luminance uses Radiance's standard weights, 179 · (0.265 R + 0.670 G +
// 0.065 B), divided by the picture's exposure.
//
// The exposure is the product of every EXPOSURE= value found anywhere in a
// header line, nested copies of an input's header included: the rule the
// application reads pictures by, so that both see the same luminance after
// a crop, a mask or a projection.

#include <cstddef>
#include <string>
#include <vector>

#include "lib/picture_header.h"
#include "lib/program_status.h"
#include "picture/resolution_line.h"

struct LuminancePicture {
    PictureHeader header;
    ResolutionLine resolution;
    int width = 0;   // pixels from left to right
    int height = 0;  // pixels from bottom to top
    double exposure = 1.0;
    std::vector<float> luminance;  // index j * width + i
};

// Width and height of the picture a resolution line describes.
int picture_width(const ResolutionLine& resolution);
int picture_height(const ResolutionLine& resolution);

// The pixel index (j * width + i) of the pixel stored at `offset` in
// scanline `scanline` of the file.
size_t pixel_index(const ResolutionLine& resolution, int scanline, int offset);

// Reads `path` (standard input when empty). Failures name the file the way
// evalglare always has ("Can't open x.hdr").
ProgramStatus read_luminance_picture(const std::string& path, LuminancePicture& picture);
