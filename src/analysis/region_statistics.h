#pragma once
// The figures of one region: minimum, maximum, mean, median, standard
// deviation, the criterion percentage and the percentile ratio, and the
// 256-bin histogram of log10 luminance.
//
// Luminance is in cd/m². Results are single precision, as the reports print
// them; every sum behind them (the mean, the standard deviation, the
// percentile sums) is accumulated in double and rounded to float once, so a
// whole picture of nine million samples gives the same figure as a small
// region of the same values would.

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "analysis/analysis_settings.h"
#include "analysis/region_scan.h"

struct RegionStatistics {
    float minimum = 0;
    float maximum = 0;
    float mean = 0;
    float median = 0;
    float standard_deviation = 0;  // population form: divided by n
    float criterion_percentage = 0;  // 0 when the criterion is off
    float percentile_ratio = 0;      // 1 when the percentiles are off
    float contrast = 0;              // always 0; shown from two means where wanted
    std::vector<float> samples;      // scan order
    std::vector<SamplePosition> positions;

    int32_t count() const { return static_cast<int32_t>(samples.size()); }
};

inline constexpr int histogram_bins = 256;

struct HistogramBin {
    float count = 0;
    float centre = 0;  // log10 cd/m²
};

using LuminanceHistogram = std::array<HistogramBin, histogram_bins>;

// The largest count of the histogram.
float histogram_peak(const LuminanceHistogram& histogram);

// Whether one luminance meets the record's criterion; false when it is off.
bool meets_criterion(const AnalysisSettings& settings, float luminance);

// The mean of the Nu largest samples over the mean of the Nl smallest, with
// Nu and Nl the upper and lower percentages of n rounded half up (and kept
// within 0 .. n). 1 when the percentiles are off; infinite or not a number
// when the lower share is empty or sums to 0.
float percentile_ratio(const AnalysisSettings& settings, std::span<const float> sorted);

// The figures that need the sorted samples: minimum, maximum, median and the
// standard deviation around `mean`. `sorted` must not be empty.
void sorted_figures(std::span<const float> sorted, float mean, RegionStatistics& statistics);

// mean of the samples (double sum, one rounding); 0 for none.
float sample_mean(std::span<const float> samples);

// The percentage of samples meeting the criterion; 0 when it is off.
float criterion_percentage(const AnalysisSettings& settings, std::span<const float> samples);

// Sorts ascending. Samples are positive (above the sample threshold), so the
// order of their bit patterns is their numeric order, which a radix sort
// uses; the result is the one std::sort gives.
void sort_samples(std::vector<float>& samples);
