#include "lib/reinhard_operator.h"

#include <cmath>

#include "lib/gaussian_blur.h"

namespace {

bool has_light(float value) { return std::isfinite(value) && value > 0.0f; }

// a Lw / log-average, 0 for pixels without light.
std::vector<float> scaled_luminance(const std::vector<float>& world, double key, double average) {
    std::vector<float> scaled(world.size(), 0.0f);
    for (size_t i = 0; i < world.size(); ++i)
        if (has_light(world[i])) scaled[i] = static_cast<float>(key * world[i] / average);
    return scaled;
}

// The surround luminance V1(s_m) of each pixel at its chosen scale.
std::vector<float> chosen_surround(const std::vector<float>& scaled, int width, int height,
                                   const ReinhardParameters& p) {
    std::vector<float> current, next;
    gaussian_blur(scaled, width, height, centre_sigma(1.0), current);
    std::vector<float> chosen = current;
    std::vector<bool> settled(scaled.size(), false);
    double scale = 1.0;
    const double numerator = std::pow(2.0, reinhard_sharpness) * p.key;
    for (int i = 0; i < reinhard_scale_count; ++i) {
        // The surround at s is the centre at 1.6 s.
        gaussian_blur(scaled, width, height, centre_sigma(scale * reinhard_scale_ratio), next);
        const double bias = numerator / (scale * scale);
        for (size_t k = 0; k < scaled.size(); ++k) {
            if (settled[k]) continue;
            const double activity = (current[k] - next[k]) / (bias + current[k]);
            if (std::fabs(activity) < p.threshold)
                chosen[k] = current[k];
            else
                settled[k] = true;
        }
        current.swap(next);
        scale *= reinhard_scale_ratio;
    }
    return chosen;
}

}  // namespace

double log_average_luminance(const std::vector<float>& world) {
    double sum = 0;
    size_t count = 0;
    for (float value : world) {
        if (!has_light(value)) continue;
        sum += std::log(reinhard_log_delta + value);
        ++count;
    }
    return count == 0 ? 0.0 : std::exp(sum / static_cast<double>(count));
}

double centre_sigma(double scale) {
    const double alpha1 = 1.0 / (2.0 * std::sqrt(2.0));
    return alpha1 * scale / std::sqrt(2.0);
}

std::vector<float> reinhard_display_luminance(const std::vector<float>& world, int width, int height,
                                              const ReinhardParameters& p) {
    const double average = log_average_luminance(world);
    if (!(average > 0)) return std::vector<float>(world.size(), 0.0f);
    const auto scaled = scaled_luminance(world, p.key, average);
    const double white_squared = p.white * p.white;
    std::vector<float> display(world.size(), 0.0f);
    if (!p.local) {
        for (size_t i = 0; i < scaled.size(); ++i) {
            const double l = scaled[i];
            display[i] = static_cast<float>(l * (1.0 + l / white_squared) / (1.0 + l));
        }
        return display;
    }
    const auto surround = chosen_surround(scaled, width, height, p);
    for (size_t i = 0; i < scaled.size(); ++i) {
        const double l = scaled[i];
        display[i] = static_cast<float>(l * (1.0 + l / white_squared) / (1.0 + surround[i]));
    }
    return display;
}
