// The figures of a region: median, standard deviation, criterion, percentile
// ratio, and sums that do not drift over a whole picture.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numeric>
#include <random>

#include "analysis/region_statistics.h"

namespace {

RegionStatistics figures_of(std::vector<float> values) {
    RegionStatistics s;
    s.mean = sample_mean(values);
    sort_samples(values);
    sorted_figures(values, s.mean, s);
    return s;
}

AnalysisSettings criterion(CriterionKind kind, uint32_t threshold) {
    AnalysisSettings settings;
    settings.criterion_enabled = true;
    settings.criterion_kind = kind;
    settings.criterion_threshold = threshold;
    return settings;
}

AnalysisSettings percentiles(float upper, float lower) {
    AnalysisSettings settings;
    settings.percentile_enabled = true;
    settings.upper_percentile = upper;
    settings.lower_percentile = lower;
    return settings;
}

std::vector<float> one_to(int n) {
    std::vector<float> values(static_cast<size_t>(n));
    std::iota(values.begin(), values.end(), 1.0f);
    return values;
}

TEST(RegionFigures, OneSampleIsItsOwnMinimumMaximumMeanAndMedian) {
    const RegionStatistics s = figures_of({42.5f});
    EXPECT_EQ(s.minimum, 42.5f);
    EXPECT_EQ(s.maximum, 42.5f);
    EXPECT_EQ(s.mean, 42.5f);
    EXPECT_EQ(s.median, 42.5f);
    EXPECT_EQ(s.standard_deviation, 0.0f);
}

TEST(RegionFigures, TheMedianOfAnEvenCountIsTheMeanOfTheMiddleTwo) {
    EXPECT_EQ(figures_of({7.0f, 3.0f}).median, 5.0f);
    EXPECT_EQ(figures_of({4.0f, 1.0f, 3.0f, 10.0f}).median, 3.5f);
    EXPECT_EQ(figures_of({9.0f, 1.0f, 5.0f}).median, 5.0f);
}

TEST(RegionFigures, TheStandardDeviationDividesByTheCount) {
    const RegionStatistics s = figures_of({2, 4, 4, 4, 5, 5, 7, 9});
    EXPECT_EQ(s.mean, 5.0f);
    EXPECT_EQ(s.standard_deviation, 2.0f);
    EXPECT_EQ(s.minimum, 2.0f);
    EXPECT_EQ(s.maximum, 9.0f);
}

TEST(RegionFigures, SumsOverAWholePictureDoNotDrift) {
    // Nine million samples: a single-precision running sum would stop
    // growing long before the end.
    const std::vector<float> values(9'000'000, 0.3f);
    EXPECT_EQ(sample_mean(values), 0.3f);
    std::vector<float> mixed;
    for (int i = 0; i < 3'000'000; ++i) mixed.insert(mixed.end(), {1.0f, 2.0f, 3.0f});
    const RegionStatistics s = figures_of(mixed);
    EXPECT_EQ(s.mean, 2.0f);
    EXPECT_EQ(s.standard_deviation, static_cast<float>(std::sqrt(2.0 / 3.0)));
    EXPECT_EQ(percentile_ratio(percentiles(10, 10), std::vector<float>(9'000'000, 0.3f)), 1.0f);
}

TEST(RegionCriterion, EqualToCountsFromHalfBelowToHalfAboveTheThreshold) {
    const AnalysisSettings equal = criterion(CriterionKind::equal_to, 100);
    EXPECT_TRUE(meets_criterion(equal, 99.5f));
    EXPECT_TRUE(meets_criterion(equal, 100.0f));
    EXPECT_TRUE(meets_criterion(equal, 100.49999f));
    EXPECT_FALSE(meets_criterion(equal, 100.5f));
    EXPECT_FALSE(meets_criterion(equal, 99.49999f));
    // No integer conversion: a huge luminance is simply not equal.
    EXPECT_FALSE(meets_criterion(equal, 3e38f));
    EXPECT_TRUE(meets_criterion(criterion(CriterionKind::equal_to, 0), 0.2f));
}

TEST(RegionCriterion, GreaterAndLesserCompareWithTheThresholdStrictly) {
    EXPECT_TRUE(meets_criterion(criterion(CriterionKind::greater_than, 2000), 2000.001f));
    EXPECT_FALSE(meets_criterion(criterion(CriterionKind::greater_than, 2000), 2000.0f));
    EXPECT_TRUE(meets_criterion(criterion(CriterionKind::lesser_than, 2000), 1999.99f));
    EXPECT_FALSE(meets_criterion(criterion(CriterionKind::lesser_than, 2000), 2000.0f));
    AnalysisSettings off = criterion(CriterionKind::greater_than, 0);
    off.criterion_enabled = false;
    EXPECT_FALSE(meets_criterion(off, 5.0f));
    EXPECT_EQ(criterion_percentage(off, one_to(8)), 0.0f);
}

TEST(RegionCriterion, ThePercentageIsTheShareOfSamplesMeetingIt) {
    EXPECT_EQ(criterion_percentage(criterion(CriterionKind::greater_than, 7), one_to(8)), 12.5f);
    EXPECT_EQ(criterion_percentage(criterion(CriterionKind::lesser_than, 3), one_to(8)), 25.0f);
    EXPECT_FLOAT_EQ(criterion_percentage(criterion(CriterionKind::greater_than, 1), one_to(3)), 200.0f / 3.0f);
}

TEST(RegionPercentiles, TenAndTenPercentOfTwentyFiveSamplesUseThreeEach) {
    // 2.5 rounds up to 3: the three largest over the three smallest.
    const float ratio = percentile_ratio(percentiles(10, 10), one_to(25));
    EXPECT_EQ(ratio, (23.0f + 24.0f + 25.0f) / (1.0f + 2.0f + 3.0f));
}

TEST(RegionPercentiles, TheMeansOfUnequalSharesAreDivided) {
    // 20 % of 10 is two samples, 10 % is one.
    EXPECT_EQ(percentile_ratio(percentiles(20, 10), one_to(10)), ((9.0f + 10.0f) / 2.0f) / 1.0f);
    EXPECT_EQ(percentile_ratio(percentiles(10, 20), one_to(10)), 10.0f / ((1.0f + 2.0f) / 2.0f));
    // 1 % against 50 % of 1000: the largest over the mean of the 500 smallest.
    EXPECT_FLOAT_EQ(percentile_ratio(percentiles(1, 50), one_to(1000)),
                    ((991.0f + 1000.0f) * 5.0f / 10.0f) / ((1.0f + 500.0f) / 2.0f));
}

TEST(RegionPercentiles, OffGivesExactlyOneAndAnEmptyLowerShareGivesInfinity) {
    AnalysisSettings off = percentiles(10, 10);
    off.percentile_enabled = false;
    EXPECT_EQ(percentile_ratio(off, one_to(25)), 1.0f);
    EXPECT_TRUE(std::isinf(percentile_ratio(percentiles(10, 1), one_to(25))));  // Nl = trunc(0.75) = 0
    EXPECT_TRUE(std::isnan(percentile_ratio(percentiles(1, 1), one_to(25))));   // 0 / 0
    // Shares never reach past the samples.
    EXPECT_EQ(percentile_ratio(percentiles(100, 100), one_to(4)), 1.0f);
}

TEST(RegionSorting, TheRadixSortOrdersLikeTheStandardSort) {
    std::mt19937 random(11);
    std::lognormal_distribution<float> luminance(2.0f, 3.0f);
    std::vector<float> values(200'000);
    for (float& v : values) v = std::max(luminance(random), 2e-6f);
    for (size_t i = 0; i < 5000; ++i) values[i * 7] = values[i];  // repeats
    values[3] = std::numeric_limits<float>::infinity();
    std::vector<float> expected = values;
    std::sort(expected.begin(), expected.end());
    sort_samples(values);
    EXPECT_EQ(values, expected);
}

TEST(RegionHistogram, ThePeakIsTheLargestCount) {
    LuminanceHistogram h{};
    EXPECT_EQ(histogram_peak(h), 0.0f);
    h[17].count = 4;
    h[200].count = 9;
    EXPECT_EQ(histogram_peak(h), 9.0f);
}

}  // namespace
