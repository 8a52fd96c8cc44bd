#include "lib/acuity_filter.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "lib/float_picture.h"
#include "lib/human_vision.h"

namespace {

constexpr double tiniest_pixel = 1e-12;  // sr: smaller, the rate is left at 1

// Half the difference of two directions, scaled to one picture pixel.
Direction step(const Direction& before, const Direction& after, double scale) {
    return {scale * (after[0] - before[0]) / 2, scale * (after[1] - before[1]) / 2, scale * (after[2] - before[2]) / 2};
}

}  // namespace

std::vector<float> acuity_rates(const ColourGrid& fovea, const std::vector<Direction>& directions, int picture_width,
                                int picture_height, double to_luminance) {
    const int fw = fovea.width, fh = fovea.height;
    std::vector<float> rates(fovea.size(), 1.0f);
    if (fw < 3 || fh < 3) return rates;
    const double per_degree = std::numbers::pi / 180;
    for (int j = 1; j < fh - 1; ++j)
        for (int i = 1; i < fw - 1; ++i) {
            // Neighbours that see nothing (zero directions) still take part,
            // as in the reference: the rim of a fisheye gets a rate too.
            const Direction& left = directions[fovea.index(i - 1, j)];
            const Direction& right = directions[fovea.index(i + 1, j)];
            const Direction& up = directions[fovea.index(i, j - 1)];
            const Direction& down = directions[fovea.index(i, j + 1)];
            const Direction dx = step(left, right, double(fw) / picture_width);
            const Direction dy = step(up, down, double(fh) / picture_height);
            const double cx = dx[1] * dy[2] - dx[2] * dy[1], cy = dx[2] * dy[0] - dx[0] * dy[2],
                         cz = dx[0] * dy[1] - dx[1] * dy[0];
            const double solid_angle = 0.5 * std::sqrt(cx * cx + cy * cy + cz * cz);
            if (!(solid_angle > tiniest_pixel)) continue;
            const size_t k = fovea.index(i, j);
            const double luminance = to_luminance * radiance_brightness(fovea.red[k], fovea.green[k], fovea.blue[k]);
            // Black gives a negative acuity and so a negative rate: such a
            // pixel is never blurred, and its neighbours less.
            rates[k] = static_cast<float>(per_degree / std::sqrt(solid_angle) / visual_acuity(luminance));
        }
    // The border has no neighbours on one side: it takes the nearest inner rate.
    for (int j = 0; j < fh; ++j)
        for (int i = 0; i < fw; ++i) {
            if (i > 0 && i < fw - 1 && j > 0 && j < fh - 1) continue;
            rates[fovea.index(i, j)] = rates[fovea.index(std::clamp(i, 1, fw - 2), std::clamp(j, 1, fh - 2))];
        }
    return rates;
}

AcuityFilter::AcuityFilter(const ColourGrid& picture, std::vector<float> rates, int fovea_width, int fovea_height)
    : picture_(picture), rates_(std::move(rates)), fovea_width_(fovea_width), fovea_height_(fovea_height) {
    float highest = 1.0f;
    for (float r : rates_)
        if (std::isfinite(r)) highest = std::max(highest, r);
    const int top = static_cast<int>(std::log(double(highest)) / std::log(2.0)) + 1;
    const ColourGrid* below = &picture_;
    // Levels of fewer than one pixel across are left out.
    for (int k = 1; k <= top && below->width >= 2 && below->height >= 2; ++k) {
        pyramid_.push_back(halve(*below));
        below = &pyramid_.back();
    }
}

Colour AcuityFilter::level_sample(int level, int column, int row) const {
    if (level == 0) {
        const size_t i = picture_.index(column, row);
        return {picture_.red[i], picture_.green[i], picture_.blue[i]};
    }
    const double size = std::ldexp(1.0, level);
    const Colour c = sample_bilinear(pyramid_[static_cast<size_t>(level) - 1], (column + 0.5) / size - 0.5,
                                     (row + 0.5) / size - 0.5);
    return {std::max(c.r, 0.0f), std::max(c.g, 0.0f), std::max(c.b, 0.0f)};
}

Colour AcuityFilter::sample(int column, int row) const {
    const double x = (column + 0.5) / picture_.width * fovea_width_ - 0.5;
    const double y = (row + 0.5) / picture_.height * fovea_height_ - 0.5;
    const double rate = sample_bilinear(rates_, fovea_width_, fovea_height_, x, y);
    // The coarsest level k whose next finer one, 2^(k-1) pixels, is still
    // no coarser than the rate; level 0 (the pixel) below a rate of 1.
    int k = levels();
    while (k > 0 && std::ldexp(1.0, k - 1) > rate) --k;
    if (k == 0) return level_sample(0, column, row);
    const double finer_weight = (std::ldexp(1.0, k) - rate) / std::ldexp(1.0, k - 1);
    const Colour fine = level_sample(k - 1, column, row), coarse = level_sample(k, column, row);
    const auto mix = [finer_weight](float c, float f) {
        return static_cast<float>((1 - finer_weight) * c + finer_weight * f);
    };
    return {mix(coarse.r, fine.r), mix(coarse.g, fine.g), mix(coarse.b, fine.b)};
}
