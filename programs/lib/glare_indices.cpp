#include "lib/glare_indices.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

namespace {

// A source centred exactly on the line of sight would make the veil
// infinite; a hundredth of a degree keeps it finite and still dominant.
constexpr double smallest_veil_angle = 0.01;

// Printed when the background luminance is not positive and UGR has no
// meaning.
constexpr double undefined_ugr = -99.0;

}  // namespace

double low_light_factor(double e) {
    if (e >= 1000) return 1.0;
    const double x = std::exp(0.024 * e - 4.0);
    return x / (1.0 + x);
}

double weighted_square_sum(std::span<const SourceFigures> sources) {
    double sum = 0;
    for (const auto& s : sources)
        sum += s.luminance * s.luminance * s.solid_angle / (s.position_index * s.position_index);
    return sum;
}

double daylight_glare_probability(double e, std::span<const SourceFigures> sources) {
    double dgp = 0;
    if (e > 0) {
        double contrast = 0;
        const double scale = std::pow(e, 1.87);
        for (const auto& s : sources)
            contrast += s.luminance * s.luminance * s.solid_angle / (scale * s.position_index * s.position_index);
        dgp = 5.87e-5 * e + 0.159 + (sources.empty() ? 0.0 : 0.092 * std::log10(1.0 + contrast));
    } else {
        // No light at the eye: a scene with sources is as bad as it gets,
        // one without is the formula's constant; the low-light factor at 0 lx
        // then brings both down.
        dgp = sources.empty() ? 0.159 : 1.0;
    }
    return std::min(dgp, 1.0) * low_light_factor(std::max(e, 0.0));
}

double daylight_glare_index(double background, std::span<const SourceFigures> sources) {
    double sum = 0;
    for (const auto& s : sources) {
        const double apparent = s.solid_angle / (s.position_index * s.position_index);
        sum += 0.478 * std::pow(s.luminance, 1.6) * std::pow(apparent, 0.8) /
               (background + 0.07 * std::sqrt(s.solid_angle) * s.luminance);
    }
    return sum > 0 ? 10.0 * std::log10(sum) : 0.0;
}

double unified_glare_rating(double background, std::span<const SourceFigures> sources) {
    const double sum = weighted_square_sum(sources);
    if (!(sum > 0)) return 0.0;
    if (!(background > 0)) return undefined_ugr;
    return 8.0 * std::log10(0.25 / background * sum);
}

double cie_glare_index(double e, double direct, std::span<const SourceFigures> sources) {
    const double sum = weighted_square_sum(sources);
    if (!(sum > 0) || !(e > 0)) return 0.0;
    return 8.0 * std::log10(2.0 * (1.0 + direct / 500.0) / e * sum);
}

double discomfort_glare_rating(double average, std::span<const SourceFigures> sources) {
    if (sources.empty()) return 0.0;
    if (!(average > 0)) return std::numeric_limits<double>::infinity();
    double sum = 0;
    const double adaptation = std::pow(average, 0.44);
    for (const auto& s : sources) {
        const double size = 20.4 * s.solid_angle + 1.52 * std::pow(s.solid_angle, 0.2) - 0.075;
        sum += 0.5 * s.luminance * size / (s.position_index * adaptation);
    }
    return std::pow(sum, std::pow(double(sources.size()), -0.0914));
}

double visual_comfort_probability(double dgr) {
    if (dgr > 750) return 0.0;
    if (dgr < 20) return 100.0;
    return 50.0 * std::erf((6.374 - 1.3227 * std::log(dgr)) / std::sqrt(2.0)) + 50.0;
}

double veiling_luminance(std::span<const SourceFigures> sources) {
    double sum = 0;
    for (const auto& s : sources) {
        const double sigma = std::max(s.off_axis, smallest_veil_angle);
        sum += s.luminance * s.solid_angle * std::cos(sigma * std::numbers::pi / 180.0) / sigma;
    }
    return 5.0 * sum;
}

GlareIndices glare_indices(const SceneFigures& scene, std::span<const SourceFigures> sources) {
    GlareIndices g;
    g.dgp = daylight_glare_probability(scene.dgp_illuminance, sources);
    if (sources.empty()) return g;
    g.dgi = daylight_glare_index(scene.background, sources);
    g.ugr = unified_glare_rating(scene.background, sources);
    g.cgi = cie_glare_index(scene.illuminance, scene.direct_illuminance, sources);
    g.dgr = discomfort_glare_rating(scene.average, sources);
    g.vcp = visual_comfort_probability(g.dgr);
    g.veil = veiling_luminance(sources);
    return g;
}
