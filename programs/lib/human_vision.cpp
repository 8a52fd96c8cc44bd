#include "lib/human_vision.h"

#include <algorithm>
#include <cmath>

double threshold_contrast(double adaptation) {
    if (!(adaptation >= 1.148e-4)) return 1.38e-3;
    const double l = std::log10(adaptation);
    double log_threshold;
    if (l < -1.44)
        log_threshold = std::pow(0.405 * l + 1.6, 2.18) - 2.86;
    else if (l < -0.0184)
        log_threshold = l - 0.395;
    else if (l < 1.9)
        log_threshold = std::pow(0.249 * l + 0.65, 2.7) - 0.72;
    else
        log_threshold = l - 1.255;
    return std::pow(10.0, log_threshold);
}

double visual_acuity(double luminance) {
    return 17.25 * std::atan(1.4 * std::log10(luminance) + 0.35) + 25.72;
}

double colour_sensitivity(double luminance) {
    if (luminance >= mesopic_upper) return 1.0;
    if (!(luminance > mesopic_lower)) return 0.0;
    return (luminance - mesopic_lower) / (mesopic_upper - mesopic_lower);
}
