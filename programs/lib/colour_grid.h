#pragma once
// A grid of colours in single precision, one plane per channel, rows first:
// value (column c, row r) is at index r * width + c. Pictures, their foveal
// (one degree per pixel) reductions and blur pyramids all use it.
//
// Sampling positions are continuous grid coordinates in which the centre of
// cell (c, r) is at (c, r); beyond the outer centres the values continue
// linearly from the two outer cells, as in Radiance's pcond (where a
// picture's edge pixels lie up to half a cell outside).

#include <cstddef>
#include <vector>

struct ColourGrid {
    int width = 0;
    int height = 0;
    std::vector<float> red, green, blue;

    ColourGrid() = default;
    ColourGrid(int w, int h) { resize(w, h); }
    void resize(int w, int h);
    size_t size() const { return red.size(); }
    size_t index(int column, int row) const { return static_cast<size_t>(row) * static_cast<size_t>(width) + column; }
};

struct Colour {
    float r = 0, g = 0, b = 0;
};

// Box averages down (or nearest samples up) to width x height, as Radiance's
// pfilt -1 -b: along each axis, output cell c averages the input cells k
// with c <= k * n / N < c + 1 (n output, N input cells, the test made in
// pfilt's floating point); enlarging, it takes input cell
// trunc((c + 0.5) * N / n). Sums are single precision.
ColourGrid box_resize(const ColourGrid& in, int width, int height);

// Averages of 2 x 2 blocks; an odd last row or column is left out, as pcond's
// acuity pyramid leaves it.
ColourGrid halve(const ColourGrid& in);

// Bilinear interpolation of one plane at (x, y).
float sample_bilinear(const std::vector<float>& plane, int width, int height, double x, double y);
Colour sample_bilinear(const ColourGrid& grid, double x, double y);
