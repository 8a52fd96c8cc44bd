#include "lib/colour_grid.h"

#include <algorithm>
#include <cmath>

void ColourGrid::resize(int w, int h) {
    width = w;
    height = h;
    const size_t n = static_cast<size_t>(w) * static_cast<size_t>(h);
    red.assign(n, 0.0f);
    green.assign(n, 0.0f);
    blue.assign(n, 0.0f);
}

namespace {

// The input cells of output cell c along one axis of `input` cells reduced or
// enlarged to `output`, found as pfilt finds them: a window of 2 * (input /
// output / 2 + 1) cells around cell trunc((c + 0.5) * input / output), from
// which a reduction keeps the cells k with -0.5 <= k * output / input -
// (c + 0.5) < 0.5 and an enlargement keeps the window's centre cell only.
// Taking the same window and the same floating-point test keeps the cells
// on the boundary of two groups where pfilt puts them.
struct Window {
    std::vector<int> cells;
};

std::vector<Window> box_windows(int input, int output) {
    std::vector<Window> windows(static_cast<size_t>(output));
    const double ratio = double(output) / input;
    const int half = input / output / 2 + 1;
    for (int c = 0; c < output; ++c) {
        const int centre = static_cast<int>((c + 0.5) * input / output);
        for (int k = centre + 1 - half; k <= centre + half; ++k) {
            if (k < 0) continue;
            if (k >= input) break;
            const double d = ratio < 1.0 ? ratio * k - (c + 0.5) : double(k - centre);
            if (d < -0.5) continue;
            if (d >= 0.5) break;
            windows[static_cast<size_t>(c)].cells.push_back(k);
        }
    }
    return windows;
}

}  // namespace

ColourGrid box_resize(const ColourGrid& in, int width, int height) {
    ColourGrid out(width, height);
    const auto columns = box_windows(in.width, width);
    const auto rows = box_windows(in.height, height);
    for (int r = 0; r < height; ++r)
        for (int c = 0; c < width; ++c) {
            // Single-precision sums in scan order, then one scale, as pfilt.
            float sr = 0, sg = 0, sb = 0;
            int count = 0;
            for (int k : rows[static_cast<size_t>(r)].cells)
                for (int j : columns[static_cast<size_t>(c)].cells) {
                    const size_t i = in.index(j, k);
                    sr += in.red[i];
                    sg += in.green[i];
                    sb += in.blue[i];
                    ++count;
                }
            if (count > 1) {
                const double scale = 1.0 / count;
                sr = static_cast<float>(sr * scale);
                sg = static_cast<float>(sg * scale);
                sb = static_cast<float>(sb * scale);
            }
            const size_t o = out.index(c, r);
            out.red[o] = sr;
            out.green[o] = sg;
            out.blue[o] = sb;
        }
    return out;
}

ColourGrid halve(const ColourGrid& in) {
    ColourGrid out(in.width / 2, in.height / 2);
    for (int r = 0; r < out.height; ++r)
        for (int c = 0; c < out.width; ++c) {
            float sr = 0, sg = 0, sb = 0;
            for (int k = 2 * r; k < 2 * r + 2; ++k)
                for (int j = 2 * c; j < 2 * c + 2; ++j) {
                    const size_t i = in.index(j, k);
                    sr += in.red[i];
                    sg += in.green[i];
                    sb += in.blue[i];
                }
            const size_t o = out.index(c, r);
            out.red[o] = sr * 0.25f;
            out.green[o] = sg * 0.25f;
            out.blue[o] = sb * 0.25f;
        }
    return out;
}

namespace {

// The cell to the left of (or below) position p on an axis of n cells, and
// the weight of the next one: trunc(p), moved in to the last but one cell,
// so that the weight leaves [0, 1] outside the outer centres.
struct AxisStep {
    int first = 0;
    int next = 0;
    double weight = 0;
};

AxisStep axis_step(int n, double p) {
    if (n < 2) return {};
    int first = static_cast<int>(p);
    first = std::clamp(first, 0, n - 2);
    return {first, first + 1, p - first};
}

struct Corners {
    size_t i00, i10, i01, i11;
    double fx, fy;
};

Corners corners(int width, int height, double x, double y) {
    const AxisStep sx = axis_step(width, x), sy = axis_step(height, y);
    const size_t w = static_cast<size_t>(width);
    return {sy.first * w + sx.first, sy.first * w + sx.next, sy.next * w + sx.first, sy.next * w + sx.next, sx.weight,
            sy.weight};
}

float blend(const std::vector<float>& p, const Corners& k) {
    const double top = (1 - k.fx) * p[k.i00] + k.fx * p[k.i10];
    const double bottom = (1 - k.fx) * p[k.i01] + k.fx * p[k.i11];
    return static_cast<float>((1 - k.fy) * top + k.fy * bottom);
}

}  // namespace

float sample_bilinear(const std::vector<float>& plane, int width, int height, double x, double y) {
    return blend(plane, corners(width, height, x, y));
}

Colour sample_bilinear(const ColourGrid& grid, double x, double y) {
    const Corners k = corners(grid.width, grid.height, x, y);
    return {blend(grid.red, k), blend(grid.green, k), blend(grid.blue, k)};
}
