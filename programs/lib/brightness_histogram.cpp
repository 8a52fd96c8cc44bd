#include "lib/brightness_histogram.h"

#include <algorithm>
#include <cmath>

namespace {

struct Accumulator {
    BrightnessHistogram& h;
    double log_sum = 0;

    // Adds one sample; false when it is outside the range.
    bool add(double luminance, double weight) {
        if (!(luminance > 0)) return false;
        const double b = std::log(luminance);
        if (!(b >= h.bmin + histogram_epsilon && b < h.bmax - histogram_epsilon)) return false;
        const int bin = std::clamp(static_cast<int>(histogram_bins * (b - h.bmin) / (h.bmax - h.bmin)), 0,
                                   histogram_bins - 1);
        h.bins[static_cast<size_t>(bin)] += weight;
        h.total += weight;
        log_sum += weight * b;
        return true;
    }
};

}  // namespace

BrightnessHistogram brightness_histogram(std::span<const float> foveal, std::span<const float> foveal_weights,
                                         std::span<const float> points) {
    BrightnessHistogram h;
    bool any = false;
    double lo = 0, hi = 0;
    for (auto set : {foveal, points})
        for (float value : set) {
            const double v = std::isfinite(value) ? value : 0.0;
            if (!any || v < lo) lo = v;
            if (!any || v > hi) hi = v;
            any = true;
        }
    h.lo = lo;
    h.hi = hi;
    if (h.empty()) return h;
    h.hi = std::min(1.01 * hi, highest_world_luminance);
    h.bmax = std::log(h.hi);
    h.bottom_clamped = lo < lowest_world_luminance;
    h.bmin = h.bottom_clamped ? std::log(lowest_world_luminance)
                              : h.bmax - (h.bmax - std::log(lo)) * histogram_bins / (histogram_bins - 1);

    Accumulator accumulator{h};
    double foveal_total = 0;
    for (size_t i = 0; i < foveal.size(); ++i)
        if (accumulator.add(foveal[i], foveal_weights[i])) foveal_total += foveal_weights[i];
    if (!points.empty()) {
        const double point_weight = foveal_total / static_cast<double>(points.size());
        for (float value : points) accumulator.add(value, point_weight);
    }
    if (h.total > 0) h.mean_log = accumulator.log_sum / h.total;
    if (!h.bottom_clamped) {
        // The darkest samples all fall into bin 1; spread them half a bin
        // down, as if the range ended half-way through it.
        h.bins[1] /= 2;
        h.bins[0] += h.bins[1];
    }
    return h;
}

double histogram_percentile(const BrightnessHistogram& h, double share) {
    double cumulative = 0;
    int k = histogram_bins - 1;
    for (int i = 0; i < histogram_bins; ++i) {
        cumulative += h.bins[static_cast<size_t>(i)];
        if (cumulative >= share * h.total) {
            k = i;
            break;
        }
    }
    return std::exp(h.bin_centre(k));
}
