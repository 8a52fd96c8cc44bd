#pragma once
// A whole picture in memory, kept in file order together with the resolution
// line that says where each scanline lies. Programs that work with view
// geometry need true picture positions, so the orientation is honoured here
// instead of treating scanlines as rows: the position of a pixel is (x, y)
// with x from the left and y from the bottom of the picture as its view sees
// it.

#include <cstddef>
#include <vector>

#include "picture/resolution_line.h"
#include "picture/rgbe_pixel.h"

struct PixelPosition {
    int x = 0;
    int y = 0;
};

struct OrientedPicture {
    ResolutionLine resolution;
    std::vector<RgbePixel> pixels;  // scanline after scanline, as in the file

    bool rows_are_scanlines() const { return (resolution.flags & ResolutionLine::y_major) != 0; }
    int width() const { return rows_are_scanlines() ? resolution.scanline_length : resolution.scanline_count; }
    int height() const { return rows_are_scanlines() ? resolution.scanline_count : resolution.scanline_length; }

    // Where the pixel at `index` in scanline `scanline` lies.
    PixelPosition position(int scanline, int index) const;
    // The file-order index of the pixel at a position inside the picture.
    size_t file_index(PixelPosition position) const;
};
