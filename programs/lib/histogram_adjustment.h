#pragma once
// Histogram adjustment (Ward Larson, Rushmeier & Piatko 1997): the tone curve
// is the cumulative distribution of world brightness, spread over the
// display's brightness range, with every bin first cut down to the count at
// which the curve would exaggerate contrast (slope above linear scaling, or
// with human sensitivity, above what the eye sees at the world luminance).
//
// Brightness is ln of luminance in cd/m²; the display spans [ln Ldmin,
// ln Ldmax].

#include <array>

#include "lib/brightness_histogram.h"

struct DisplayRange {
    double ld_max = 100;  // cd/m²
    double ld_min = 1;    // cd/m², ld_max / dynamic range
};

inline constexpr double trimming_tolerance = 0.025;

class ToneCurve {
public:
    // False when the histogram cannot be adjusted (too little left after
    // the cuts): the picture is then scaled linearly.
    bool adjusted() const { return adjusted_; }

    // Display brightness Bd of world luminance `lw`.
    double display_brightness(double lw) const;
    // Display luminance, e^Bd.
    double display_luminance(double lw) const;

    // The cumulative share at bin edge i (0 at 0, 1 at 100).
    double cumulative(int edge) const { return cumulative_[static_cast<size_t>(edge)]; }

    static ToneCurve from_histogram(const BrightnessHistogram& histogram, const DisplayRange& display,
                                    bool human_sensitivity);

private:
    bool adjusted_ = false;
    double bmin_ = 0, bmax_ = 0;
    double display_min_ = 0, display_max_ = 0;
    std::array<double, histogram_bins + 1> cumulative_{};
};
