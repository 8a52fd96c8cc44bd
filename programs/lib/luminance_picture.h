#pragma once
// A whole picture as luminance in cd/m², laid out the way evalglare has
// always read pictures (Wienold's evalglare, which researchers compare our
// figures with): every scanline is a row and the first scanline is the top
// row of the view, whatever axis order the resolution line gives. Of the
// line's two signs, a minus on X mirrors every row (its first pixel is seen
// on the right), and the sign on Y only numbers the rows: upwards from the
// last scanline for -Y, downwards from the first for +Y. So a picture turned
// by protate is analysed turned, as the application shows it, and a task
// position's row counts from the bottom of a -Y picture but from the top of
// a +Y one.
//
// Pixel (x, y) is at index y * width + x, x the place in its scanline and y
// the row number above. The luminance is 179 · (r R + g G + b B) divided by
// the picture's exposure: the product of every positive EXPOSURE= value
// found anywhere in a header line, nested copies of an input's header
// included, which is the rule the application reads pictures by.

#include <cstddef>
#include <string>
#include <vector>

#include "common/physics.h"
#include "lib/picture_header.h"
#include "lib/program_status.h"
#include "picture/resolution_line.h"

// The weights r, g, b: Radiance 5's (see common/physics.h); the reference
// evalglare's figures show them.
inline constexpr double glare_weight_red = physics::radiance5_weight_red;
inline constexpr double glare_weight_green = physics::radiance5_weight_green;
inline constexpr double glare_weight_blue = physics::radiance5_weight_blue;

struct LuminancePicture {
    PictureHeader header;
    ResolutionLine resolution;
    int width = 0;   // the scanline length
    int height = 0;  // the number of scanlines
    double exposure = 1.0;
    std::vector<float> luminance;  // index y * width + x
    std::vector<std::string> notices;  // for standard error: what the reading ignored
};

// Where row y and column x of a picture lie in its view: the column from
// the left and the row from the bottom.
struct RowLayout {
    int width = 0;
    int height = 0;
    bool mirrored = false;       // a minus sign on X
    bool numbered_upward = false;  // a minus sign on Y: row 0 is the bottom row

    int column_in_view(int x) const { return mirrored ? width - 1 - x : x; }
    int row_in_view(int y) const { return numbered_upward ? y : height - 1 - y; }
};

RowLayout row_layout(const ResolutionLine& resolution);

// The pixel index (y * width + x) of the pixel stored at `offset` in
// scanline `scanline` of the file.
size_t pixel_index(const ResolutionLine& resolution, int scanline, int offset);

// Reads `path` (standard input when empty). Failures name the file the way
// evalglare always has ("Can't open x.hdr"); a file that ends before the
// scanlines its resolution line claims says so.
ProgramStatus read_luminance_picture(const std::string& path, LuminancePicture& picture);
