#include "lib/position_index.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double largest_index = 16.0;
constexpr double farthest_iwata_ratio = 3.0;

}  // namespace

double guth_position_index(double sigma, double tau) {
    const double linear = (35.2 - 0.31889 * tau - 1.22 * std::exp(-2.0 * tau / 9.0)) * 1e-3 * sigma;
    const double square = (21.0 + 0.26667 * tau - 0.002963 * tau * tau) * 1e-5 * sigma * sigma;
    return std::exp(linear + square);
}

double iwata_position_index(double elevation, double azimuth) {
    // A source straight below the line of sight keeps a tiny sideways angle
    // so that the ratio stays defined the same way on both sides.
    if (azimuth == 0) azimuth = 1e-4;
    const double tp = std::tan(elevation), te = std::tan(azimuth);
    const double ratio = std::min(std::sqrt(tp * tp + te * te), farthest_iwata_ratio);
    return ratio <= 0.6 ? 1.0 + 0.8 * ratio : 1.0 + 1.2 * ratio;
}

double position_index(const SightAngles& a) {
    if (a.off_axis == 0) return 1.0;
    const double p = a.elevation >= 0 ? guth_position_index(a.off_axis, a.from_up)
                                      : iwata_position_index(a.elevation, a.azimuth);
    return std::min(p, largest_index);
}
