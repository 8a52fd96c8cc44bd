#pragma once
// The histogram of world brightness (ln of luminance in cd/m²) that
// histogram adjustment works on: 100 bins between bmin and bmax, filled with
// weighted samples.
//
// The range is set by the darkest and brightest sample: bmax = ln(1.01 hi)
// (at most ln 1e7), and bmin one spare bin below ln lo, or ln 1e-7 when the
// picture has anything darker than that (black, typically). Samples less
// than 1e-6 cd/m² above the luminance at the bottom of that range, or within
// 1e-6 cd/m² of its top, are left out (black ones, for instance); without
// the clamp, bin 1 then gives half its weight to bin 0.

#include <array>
#include <span>

inline constexpr int histogram_bins = 100;
inline constexpr double lowest_world_luminance = 1e-7;   // Lmin, cd/m²
inline constexpr double highest_world_luminance = 1e7;  // Lmax, cd/m²
inline constexpr double histogram_epsilon = 1e-6;

struct BrightnessHistogram {
    double lo = 0, hi = 0;      // luminance range of the samples (hi after widening)
    double bmin = 0, bmax = 0;  // brightness at the ends of bin 0 and bin 99
    bool bottom_clamped = false;  // bmin is ln Lmin, not one spare bin below ln lo
    std::array<double, histogram_bins> bins{};
    double total = 0;     // sum of the weights in the bins
    double mean_log = 0;  // weighted mean brightness of those samples

    // No light at all: nothing can be mapped.
    bool empty() const { return !(hi > 0); }
    double bin_width() const { return (bmax - bmin) / histogram_bins; }
    // The brightness at the centre of bin i.
    double bin_centre(int i) const { return bmin + (i + 0.5) * bin_width(); }
};

// The histogram of `foveal` luminances with their `foveal_weights`, plus
// `points` (point samples of the picture) weighing the foveal total divided
// by their number each.
BrightnessHistogram brightness_histogram(std::span<const double> foveal, std::span<const float> foveal_weights,
                                         std::span<const float> points);

// The luminance below which `share` of the histogram's weight lies, at the
// centre of the bin where the cumulative weight first reaches it.
double histogram_percentile(const BrightnessHistogram& histogram, double share);
