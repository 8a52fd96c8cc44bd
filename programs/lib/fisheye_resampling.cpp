#include "lib/fisheye_resampling.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <optional>
#include <utility>

#include "lib/rgbe_color.h"

namespace {

// An output cell, y counted from the bottom.
struct Cell {
    int x = 0;
    int y = 0;
};

// The output cell a pixel centre lands in, if any.
std::optional<Cell> landing_cell(const FisheyeView& from, const FisheyeView& to, PixelPosition position,
                                 PictureSize in, PictureSize out) {
    const double u = (position.x + 0.5) / in.width - 0.5;
    const double w = (position.y + 0.5) / in.height - 0.5;
    const auto direction = fisheye_direction(from, u, w);
    if (!direction) return std::nullopt;
    const auto location = fisheye_location(to, *direction);
    if (!location) return std::nullopt;
    return Cell{static_cast<int>(location->p * out.width), static_cast<int>(location->q * out.height)};
}

class SplatCanvas {
public:
    explicit SplatCanvas(PictureSize size)
        : size_(size),
          pixels_(static_cast<size_t>(size.width) * static_cast<size_t>(size.height)),
          taken_(pixels_.size(), false) {}

    // Fills the parallelogram spanned from `at` towards the cells where the
    // neighbours landed. The way to the right-hand one is cut into as many
    // steps as its longer component; the way to the one above into as many
    // as its component across the first way's axis. A missing neighbour
    // counts one step. Each step is truncated toward zero, as Radiance does.
    void splat(Cell at, std::optional<Cell> right, std::optional<Cell> above, RgbePixel pixel) {
        Cell s1{1, 1}, s2{1, 1};
        int l1 = 1, l2 = 1;
        bool s1_along_y = false;
        if (right) {
            s1 = {right->x - at.x, right->y - at.y};
            l1 = std::abs(s1.x);
            if (std::abs(s1.y) > l1) {
                l1 = std::abs(s1.y);
                s1_along_y = true;
            }
            if (l1 < 1) l1 = 1;
        }
        if (above) {
            s2 = {above->x - at.x, above->y - at.y};
            l2 = s1_along_y ? std::abs(s2.x) : std::abs(s2.y);
            if (!right && std::abs(s2.x) > l2) l2 = std::abs(s2.x);
            if (l2 < 1) l2 = 1;
        }
        for (int c1 = l1 - 1; c1 >= 0; --c1)
            for (int c2 = l2 - 1; c2 >= 0; --c2)
                put({at.x + c1 * s1.x / l1 + c2 * s2.x / l2, at.y + c1 * s1.y / l1 + c2 * s2.y / l2}, pixel);
    }

    bool taken(Cell cell) const { return taken_[index(cell)]; }
    void put(Cell cell, RgbePixel pixel) {
        if (cell.x < 0 || cell.x >= size_.width || cell.y < 0 || cell.y >= size_.height) return;
        const size_t i = index(cell);
        if (taken_[i]) return;
        taken_[i] = true;
        pixels_[i] = pixel;
    }

    std::vector<RgbePixel> take() { return std::move(pixels_); }

private:
    size_t index(Cell cell) const {
        return static_cast<size_t>(size_.height - 1 - cell.y) * static_cast<size_t>(size_.width) +
               static_cast<size_t>(cell.x);
    }

    PictureSize size_;
    std::vector<RgbePixel> pixels_;
    std::vector<bool> taken_;  // a black input pixel takes its cell too
};

// The span of taken cells in each row and each column.
struct TakenSpans {
    std::vector<int> row_first, row_last, column_first, column_last;

    TakenSpans(const SplatCanvas& canvas, PictureSize size)
        : row_first(static_cast<size_t>(size.height), size.width),
          row_last(static_cast<size_t>(size.height), -1),
          column_first(static_cast<size_t>(size.width), size.height),
          column_last(static_cast<size_t>(size.width), -1) {
        for (int y = 0; y < size.height; ++y)
            for (int x = 0; x < size.width; ++x) {
                if (!canvas.taken({x, y})) continue;
                const auto r = static_cast<size_t>(y), c = static_cast<size_t>(x);
                row_first[r] = std::min(row_first[r], x);
                row_last[r] = std::max(row_last[r], x);
                column_first[c] = std::min(column_first[c], y);
                column_last[c] = std::max(column_last[c], y);
            }
    }

    bool surround(Cell cell) const {
        const auto r = static_cast<size_t>(cell.y), c = static_cast<size_t>(cell.x);
        return row_first[r] < cell.x && cell.x < row_last[r] && column_first[c] < cell.y && cell.y < column_last[c];
    }
};

// Once the output is more than about two and a half times as wide as the
// input, the parallelograms no longer tile it: along the diagonals cells
// stay empty deep inside the disc and would show as black dots. Each empty
// cell that taken cells surround (in its row and in its column) takes the
// input pixel its centre sees, if that pixel landed in the output at all.
// Taken cells keep their pixels, and the rim stays as splatting left it.
void fill_holes(SplatCanvas& canvas, const OrientedPicture& input, const std::vector<bool>& landed,
                const FisheyeView& from, const FisheyeView& to, PictureSize size) {
    const TakenSpans spans(canvas, size);
    const int width = input.width(), height = input.height();
    for (int y = 0; y < size.height; ++y)
        for (int x = 0; x < size.width; ++x) {
            if (canvas.taken({x, y}) || !spans.surround({x, y})) continue;
            const auto direction = fisheye_direction(to, (x + 0.5) / size.width - 0.5, (y + 0.5) / size.height - 0.5);
            if (!direction) continue;
            const auto location = fisheye_location(from, *direction);
            if (!location) continue;
            const PixelPosition source{std::min(static_cast<int>(location->p * width), width - 1),
                                       std::min(static_cast<int>(location->q * height), height - 1)};
            const size_t i = input.file_index(source);
            if (landed[i]) canvas.put({x, y}, input.pixels[i]);
        }
}

}  // namespace

std::vector<RgbePixel> splat_reprojection(const OrientedPicture& input, const FisheyeView& from,
                                          const FisheyeView& to, PictureSize size) {
    SplatCanvas canvas(size);
    const PictureSize in{input.width(), input.height()};
    const int length = input.resolution.scanline_length;
    std::vector<std::optional<Cell>> previous(static_cast<size_t>(length)), current(previous.size());
    std::vector<bool> landed(input.pixels.size());
    for (int s = 0; s < input.resolution.scanline_count; ++s) {
        for (int k = length - 1; k >= 0; --k) {
            const size_t i = static_cast<size_t>(k);
            current[i] = landing_cell(from, to, input.position(s, k), in, size);
            if (!current[i]) continue;
            landed[static_cast<size_t>(s) * static_cast<size_t>(length) + i] = true;
            const auto right = k + 1 < length ? current[i + 1] : std::nullopt;
            canvas.splat(*current[i], right, previous[i],
                         input.pixels[static_cast<size_t>(s) * static_cast<size_t>(length) + i]);
        }
        std::swap(previous, current);
    }
    fill_holes(canvas, input, landed, from, to, size);
    return canvas.take();
}

std::vector<RgbePixel> bilinear_reprojection(const OrientedPicture& input, const FisheyeView& from,
                                             const FisheyeView& to, PictureSize size) {
    const int width = input.width(), height = input.height();
    const PictureSize in{width, height};
    // Decoded values and whether each input pixel shows part of the output
    // view, by position (row y from the bottom).
    std::vector<Color3> colors(static_cast<size_t>(width) * static_cast<size_t>(height));
    std::vector<bool> usable(colors.size());
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const size_t i = static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x);
            colors[i] = decode_color(input.pixels[input.file_index({x, y})]);
            usable[i] = landing_cell(from, to, {x, y}, in, size).has_value();
        }

    std::vector<RgbePixel> out(static_cast<size_t>(size.width) * static_cast<size_t>(size.height));
    for (int j = 0; j < size.height; ++j) {
        for (int i = 0; i < size.width; ++i) {
            const double u = (i + 0.5) / size.width - 0.5;
            const double w = (j + 0.5) / size.height - 0.5;
            const auto direction = fisheye_direction(to, u, w);
            if (!direction) continue;
            const auto location = fisheye_location(from, *direction);
            if (!location) continue;
            const double cx = location->p * width - 0.5;
            const double cy = location->q * height - 0.5;
            const int x0 = static_cast<int>(std::floor(cx));
            const int y0 = static_cast<int>(std::floor(cy));
            const double fx = cx - x0, fy = cy - y0;
            double r = 0, g = 0, b = 0, total = 0;
            for (int dy = 0; dy < 2; ++dy)
                for (int dx = 0; dx < 2; ++dx) {
                    const int x = x0 + dx, y = y0 + dy;
                    if (x < 0 || x >= width || y < 0 || y >= height) continue;
                    const size_t k = static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x);
                    if (!usable[k]) continue;
                    const double weight = (dx ? fx : 1 - fx) * (dy ? fy : 1 - fy);
                    r += weight * colors[k].r;
                    g += weight * colors[k].g;
                    b += weight * colors[k].b;
                    total += weight;
                }
            if (!(total > 0)) continue;
            out[static_cast<size_t>(size.height - 1 - j) * static_cast<size_t>(size.width) + static_cast<size_t>(i)] =
                encode_color(static_cast<float>(r / total), static_cast<float>(g / total),
                             static_cast<float>(b / total));
        }
    }
    return out;
}
