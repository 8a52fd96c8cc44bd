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

struct Span {
    int first = 0;
    int end = 0;
};

// The input cells of every output cell along one axis.
std::vector<Span> box_spans(int input, int output) {
    std::vector<Span> spans(static_cast<size_t>(output));
    const long long n = output, big_n = input;
    for (int c = 0; c < output; ++c) {
        // Smallest k with k * n >= c * N, and the same for c + 1.
        const int first = static_cast<int>((c * big_n + n - 1) / n);
        const int end = static_cast<int>(((c + 1) * big_n + n - 1) / n);
        if (end > first)
            spans[static_cast<size_t>(c)] = {first, std::min(end, input)};
        else {
            const int k = std::min(input - 1, static_cast<int>((2 * c + 1) * big_n / (2 * n)));
            spans[static_cast<size_t>(c)] = {k, k + 1};
        }
    }
    return spans;
}

}  // namespace

ColourGrid box_resize(const ColourGrid& in, int width, int height) {
    ColourGrid out(width, height);
    const auto columns = box_spans(in.width, width);
    const auto rows = box_spans(in.height, height);
    for (int r = 0; r < height; ++r)
        for (int c = 0; c < width; ++c) {
            double sr = 0, sg = 0, sb = 0;
            const Span& x = columns[static_cast<size_t>(c)];
            const Span& y = rows[static_cast<size_t>(r)];
            for (int k = y.first; k < y.end; ++k)
                for (int j = x.first; j < x.end; ++j) {
                    const size_t i = in.index(j, k);
                    sr += in.red[i];
                    sg += in.green[i];
                    sb += in.blue[i];
                }
            const double count = double(x.end - x.first) * double(y.end - y.first);
            const size_t o = out.index(c, r);
            out.red[o] = static_cast<float>(sr / count);
            out.green[o] = static_cast<float>(sg / count);
            out.blue[o] = static_cast<float>(sb / count);
        }
    return out;
}

ColourGrid halve(const ColourGrid& in) {
    ColourGrid out((in.width + 1) / 2, (in.height + 1) / 2);
    for (int r = 0; r < out.height; ++r)
        for (int c = 0; c < out.width; ++c) {
            float sr = 0, sg = 0, sb = 0;
            int count = 0;
            for (int k = 2 * r; k < std::min(2 * r + 2, in.height); ++k)
                for (int j = 2 * c; j < std::min(2 * c + 2, in.width); ++j) {
                    const size_t i = in.index(j, k);
                    sr += in.red[i];
                    sg += in.green[i];
                    sb += in.blue[i];
                    ++count;
                }
            const size_t o = out.index(c, r);
            out.red[o] = sr / count;
            out.green[o] = sg / count;
            out.blue[o] = sb / count;
        }
    return out;
}

namespace {

struct Corners {
    size_t i00, i10, i01, i11;
    float fx, fy;
};

Corners corners(int width, int height, double x, double y) {
    x = std::clamp(x, 0.0, double(width - 1));
    y = std::clamp(y, 0.0, double(height - 1));
    const int x0 = std::min(static_cast<int>(x), width - 1), y0 = std::min(static_cast<int>(y), height - 1);
    const int x1 = std::min(x0 + 1, width - 1), y1 = std::min(y0 + 1, height - 1);
    const size_t w = static_cast<size_t>(width);
    return {y0 * w + x0, y0 * w + x1, y1 * w + x0, y1 * w + x1, static_cast<float>(x - x0), static_cast<float>(y - y0)};
}

float blend(const std::vector<float>& p, const Corners& k) {
    const float top = p[k.i00] + k.fx * (p[k.i10] - p[k.i00]);
    const float bottom = p[k.i01] + k.fx * (p[k.i11] - p[k.i01]);
    return top + k.fy * (bottom - top);
}

}  // namespace

float sample_bilinear(const std::vector<float>& plane, int width, int height, double x, double y) {
    return blend(plane, corners(width, height, x, y));
}

Colour sample_bilinear(const ColourGrid& grid, double x, double y) {
    const Corners k = corners(grid.width, grid.height, x, y);
    return {blend(grid.red, k), blend(grid.green, k), blend(grid.blue, k)};
}
