#include "lib/brightness_histogram.h"

#include <algorithm>
#include <cmath>

namespace {

struct Accumulator {
    BrightnessHistogram& h;
    double lowest = 0;  // luminance at the bottom of bin 0
    double log_sum = 0;

    // Adds one sample; false when it is outside the range. The margin is
    // one of luminance (1e-6 cd/m²), not of brightness: in a dim scene it
    // leaves out every sample darker than about 1e-6 cd/m² above the bottom
    // of the range, which a margin on the logarithm would keep.
    bool add(double luminance, double weight) {
        if (!(luminance >= lowest + histogram_epsilon && luminance < h.hi - histogram_epsilon)) return false;
        const double b = std::log(luminance);
        const int bin = std::clamp(static_cast<int>(histogram_bins * (b - h.bmin) / (h.bmax - h.bmin)), 0,
                                   histogram_bins - 1);
        h.bins[static_cast<size_t>(bin)] += weight;
        h.total += weight;
        log_sum += weight * b;
        return true;
    }
};

}  // namespace

BrightnessHistogram brightness_histogram(std::span<const double> foveal, std::span<const float> foveal_weights,
                                         std::span<const float> points) {
    BrightnessHistogram h;
    bool any = false;
    double lo = 0, hi = 0;
    auto extend = [&](double value) {
        const double v = std::isfinite(value) ? value : 0.0;
        if (!any || v < lo) lo = v;
        if (!any || v > hi) hi = v;
        any = true;
    };
    for (double value : foveal) extend(value);
    for (float value : points) extend(value);
    h.lo = lo;
    h.hi = hi;
    if (h.empty()) return h;
    h.hi = std::min(1.01 * hi, highest_world_luminance);
    h.bmax = std::log(h.hi);
    h.bottom_clamped = lo < lowest_world_luminance;
    h.bmin = h.bottom_clamped ? std::log(lowest_world_luminance)
                              : h.bmax - (h.bmax - std::log(lo)) * histogram_bins / (histogram_bins - 1);

    const double lowest = h.bottom_clamped ? lowest_world_luminance : std::exp(h.bmin);
    Accumulator accumulator{h, lowest};
    double foveal_total = 0;
    for (size_t i = 0; i < foveal.size(); ++i)
        if (accumulator.add(foveal[i], foveal_weights[i])) foveal_total += foveal_weights[i];
    if (!points.empty()) {
        const double point_weight = foveal_total / static_cast<double>(points.size());
        // Last first, the order in which the samples were drawn.
        for (size_t k = points.size(); k-- > 0;) accumulator.add(points[k], point_weight);
    }
    if (h.total > 0) h.mean_log = accumulator.log_sum / h.total;
    if (lowest > lowest_world_luminance + histogram_epsilon) {
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
