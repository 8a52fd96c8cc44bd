#include "lib/histogram_adjustment.h"

#include <cmath>

#include "lib/human_vision.h"

namespace {

constexpr int most_rounds = 1000;

}  // namespace

double ToneCurve::display_brightness(double lw) const {
    if (!(lw > lowest_world_luminance)) return display_min_;
    const double b = std::log(lw);
    if (b <= bmin_ + histogram_epsilon) return display_min_;
    if (b >= bmax_ - histogram_epsilon) return display_max_;
    const double position = histogram_bins * (b - bmin_) / (bmax_ - bmin_);
    int i = static_cast<int>(position);
    if (i >= histogram_bins) i = histogram_bins - 1;
    const double c0 = cumulative_[static_cast<size_t>(i)], c1 = cumulative_[static_cast<size_t>(i) + 1];
    const double share = c0 + (position - i) * (c1 - c0);
    return display_min_ + share * (display_max_ - display_min_);
}

double ToneCurve::display_luminance(double lw) const { return std::exp(display_brightness(lw)); }

ToneCurve ToneCurve::from_histogram(const BrightnessHistogram& h, const DisplayRange& display,
                                    bool human_sensitivity) {
    ToneCurve curve;
    curve.bmin_ = h.bmin;
    curve.bmax_ = h.bmax;
    curve.display_min_ = std::log(display.ld_min);
    curve.display_max_ = std::log(display.ld_max);
    if (h.empty() || !(h.total > 0)) return curve;
    const double display_span = curve.display_max_ - curve.display_min_;
    const double step = h.bin_width();
    auto counts = h.bins;
    for (int round = 0; round < most_rounds; ++round) {
        double sum = 0;
        for (double c : counts) sum += c;
        if (sum <= trimming_tolerance * h.total) {
            curve.adjusted_ = false;
            return curve;
        }
        curve.cumulative_[0] = 0;
        double running = 0;
        for (int i = 0; i < histogram_bins; ++i) {
            running += counts[static_cast<size_t>(i)];
            curve.cumulative_[static_cast<size_t>(i) + 1] = running / sum;
        }
        curve.cumulative_[histogram_bins] = 1;
        curve.adjusted_ = true;

        const double ceiling = sum * step / display_span;
        double trimmed = 0;
        for (int i = 0; i < histogram_bins; ++i) {
            double limit = ceiling;
            if (human_sensitivity) {
                const double lw = std::exp(h.bin_centre(i));
                const double ld = curve.display_luminance(lw);
                limit *= threshold_contrast(ld) / threshold_contrast(lw) * (lw / ld);
            }
            double& count = counts[static_cast<size_t>(i)];
            if (count > limit) {
                trimmed += count - limit;
                count = limit;
            }
        }
        if (trimmed <= trimming_tolerance * sum) break;
    }
    return curve;
}
