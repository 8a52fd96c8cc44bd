#include "lib/fisheye_resampling.h"

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
    // neighbours landed (either may be missing). The steps towards the
    // neighbour that lies further along its own axis set the count; each
    // step is an integer division truncated toward zero, as the cells are.
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

    std::vector<RgbePixel> take() { return std::move(pixels_); }

private:
    void put(Cell cell, RgbePixel pixel) {
        if (cell.x < 0 || cell.x >= size_.width || cell.y < 0 || cell.y >= size_.height) return;
        const size_t i = static_cast<size_t>(size_.height - 1 - cell.y) * static_cast<size_t>(size_.width) +
                         static_cast<size_t>(cell.x);
        if (taken_[i]) return;
        taken_[i] = true;
        pixels_[i] = pixel;
    }

    PictureSize size_;
    std::vector<RgbePixel> pixels_;
    std::vector<bool> taken_;  // a black input pixel takes its cell too
};

}  // namespace

std::vector<RgbePixel> splat_reprojection(const OrientedPicture& input, const FisheyeView& from,
                                          const FisheyeView& to, PictureSize size) {
    SplatCanvas canvas(size);
    const PictureSize in{input.width(), input.height()};
    const int length = input.resolution.scanline_length;
    std::vector<std::optional<Cell>> previous(static_cast<size_t>(length)), current(previous.size());
    for (int s = 0; s < input.resolution.scanline_count; ++s) {
        for (int k = length - 1; k >= 0; --k) {
            const size_t i = static_cast<size_t>(k);
            current[i] = landing_cell(from, to, input.position(s, k), in, size);
            if (!current[i]) continue;
            const auto right = k + 1 < length ? current[i + 1] : std::nullopt;
            canvas.splat(*current[i], right, previous[i],
                         input.pixels[static_cast<size_t>(s) * static_cast<size_t>(length) + i]);
        }
        std::swap(previous, current);
    }
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
