#include "lib/acuity_filter.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "lib/float_picture.h"
#include "lib/human_vision.h"

namespace {

constexpr double tiniest_pixel = 1e-20;  // sr

bool usable(const Direction& d) { return d[0] != 0 || d[1] != 0 || d[2] != 0; }

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
            const Direction& left = directions[fovea.index(i - 1, j)];
            const Direction& right = directions[fovea.index(i + 1, j)];
            const Direction& up = directions[fovea.index(i, j - 1)];
            const Direction& down = directions[fovea.index(i, j + 1)];
            if (!usable(left) || !usable(right) || !usable(up) || !usable(down)) continue;
            const Direction dx = step(left, right, double(fw) / picture_width);
            const Direction dy = step(up, down, double(fh) / picture_height);
            const double cx = dx[1] * dy[2] - dx[2] * dy[1], cy = dx[2] * dy[0] - dx[0] * dy[2],
                         cz = dx[0] * dy[1] - dx[1] * dy[0];
            const double solid_angle = 0.5 * std::sqrt(cx * cx + cy * cy + cz * cz);
            if (!(solid_angle > tiniest_pixel)) continue;
            const size_t k = fovea.index(i, j);
            const double luminance = to_luminance * radiance_brightness(fovea.red[k], fovea.green[k], fovea.blue[k]);
            const double acuity = visual_acuity(luminance);
            if (!(acuity > 0)) continue;
            rates[k] = static_cast<float>(per_degree / std::sqrt(solid_angle) / acuity);
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
    for (float r : rates_) highest = std::max(highest, r);
    const int top = static_cast<int>(std::log2(highest)) + 1;
    const ColourGrid* below = &picture_;
    for (int k = 1; k <= top; ++k) {
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
    if (!(rate > 1.0)) return level_sample(0, column, row);
    const int k = std::min(levels(), static_cast<int>(std::ceil(std::log2(rate))));
    const double upper = std::ldexp(1.0, k);
    const float lower_weight = static_cast<float>(std::clamp((upper - rate) / (upper / 2), 0.0, 1.0));
    const Colour fine = level_sample(k - 1, column, row), coarse = level_sample(k, column, row);
    return {lower_weight * fine.r + (1 - lower_weight) * coarse.r, lower_weight * fine.g + (1 - lower_weight) * coarse.g,
            lower_weight * fine.b + (1 - lower_weight) * coarse.b};
}
