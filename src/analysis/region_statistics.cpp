#include "analysis/region_statistics.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>

#include "common/float_sort.h"

float histogram_peak(const LuminanceHistogram& histogram) {
    float peak = 0;
    for (const HistogramBin& bin : histogram) peak = std::max(peak, bin.count);
    return peak;
}

bool meets_criterion(const AnalysisSettings& settings, float luminance) {
    if (!settings.criterion_enabled) return false;
    const float threshold = static_cast<float>(settings.criterion_threshold);
    switch (settings.criterion_kind) {
    case CriterionKind::greater_than: return luminance > threshold;
    case CriterionKind::lesser_than: return luminance < threshold;
    case CriterionKind::equal_to: {
        // L rounded half up equals the threshold, without passing through an
        // integer that a large L would overflow.
        const double l = luminance, t = settings.criterion_threshold;
        return t - 0.5 <= l && l < t + 0.5;
    }
    }
    return false;
}

float percentile_ratio(const AnalysisSettings& settings, std::span<const float> sorted) {
    if (!settings.percentile_enabled) return 1.0f;
    const size_t n = sorted.size();
    auto share = [n](float percent) {
        const double wanted = std::trunc(static_cast<double>(n) * static_cast<double>(percent) / 100.0 + 0.5);
        return static_cast<size_t>(std::clamp(wanted, 0.0, static_cast<double>(n)));
    };
    const size_t upper = share(settings.upper_percentile), lower = share(settings.lower_percentile);
    double high = 0, low = 0;
    for (size_t i = n - upper; i < n; ++i) high += sorted[i];
    for (size_t i = 0; i < lower; ++i) low += sorted[i];
    // The mean of each share, so that unequal percentages compare like with
    // like; an empty share's mean is taken as 0.
    const double high_mean = upper > 0 ? high / static_cast<double>(upper) : 0.0;
    const double low_mean = lower > 0 ? low / static_cast<double>(lower) : 0.0;
    return static_cast<float>(high_mean / low_mean);
}

void sorted_figures(std::span<const float> sorted, float mean, RegionStatistics& statistics) {
    const size_t n = sorted.size();
    statistics.minimum = sorted.front();
    statistics.maximum = sorted.back();
    if (n == 1) statistics.median = sorted[0];
    else if (n % 2 == 1) statistics.median = sorted[(n - 1) / 2];
    else statistics.median = (sorted[n / 2 - 1] + sorted[n / 2]) / 2.0f;
    double squares = 0;
    for (float value : sorted) {
        const double d = static_cast<double>(value) - static_cast<double>(mean);
        squares += d * d;
    }
    statistics.standard_deviation = static_cast<float>(std::sqrt(squares / static_cast<double>(n)));
}

float sample_mean(std::span<const float> samples) {
    if (samples.empty()) return 0;
    double sum = 0;
    for (float value : samples) sum += value;
    return static_cast<float>(sum / static_cast<double>(samples.size()));
}

float criterion_percentage(const AnalysisSettings& settings, std::span<const float> samples) {
    if (!settings.criterion_enabled || samples.empty()) return 0;
    size_t met = 0;
    for (float value : samples) met += meets_criterion(settings, value) ? 1 : 0;
    return static_cast<float>(met) / static_cast<float>(samples.size()) * 100.0f;
}

void sort_samples(std::vector<float>& samples) {
    if (samples.size() < 4096 || !sort_positive_floats(samples)) std::sort(samples.begin(), samples.end());
}
