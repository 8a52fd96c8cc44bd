// What the results page shows: numbers cut (not rounded) after a number of
// decimals, the criterion sentence, the two-region views and the histogram's
// bars.

#include <gtest/gtest.h>

#include "analysis/histogram_picture.h"
#include "analysis/result_lines.h"

namespace {

using namespace results_ids;

RegionAnalysis region(float minimum, float maximum, float mean, float median, float sd) {
    RegionAnalysis r;
    r.statistics.minimum = minimum;
    r.statistics.maximum = maximum;
    r.statistics.mean = mean;
    r.statistics.median = median;
    r.statistics.standard_deviation = sd;
    return r;
}

AnalysisSettings single_settings() {
    AnalysisSettings s;
    s.kind = AnalysisKind::single_region;
    s.general_statistics = true;
    return s;
}

TEST(FormatTruncated, CutsAfterTheDecimalsWithoutRounding) {
    EXPECT_EQ(format_truncated(3.1415926f, 4), "3.1415");
    EXPECT_EQ(format_truncated(2.99999f, 2), "2.99");
    EXPECT_EQ(format_truncated(2.9999999f, 2), "3");  // six digits first
    EXPECT_EQ(format_truncated(0.123456f, 3), "0.123");
    EXPECT_EQ(format_truncated(-7.98765f, 2), "-7.98");
}

TEST(FormatTruncated, ShortTextsAndWholeNumbersStayAsTheyAre) {
    EXPECT_EQ(format_truncated(12.5f, 3), "12.5");
    EXPECT_EQ(format_truncated(2000.0f, 2), "2000");
    EXPECT_EQ(format_truncated(0.0f, 2), "0");
}

TEST(FormatTruncated, NumbersInExponentFormKeepTheirFullText) {
    EXPECT_EQ(format_truncated(1234567.0f, 2), "1.23457e+06");
    EXPECT_EQ(format_truncated(1.5e-05f, 2), "1.5e-05");
    EXPECT_EQ(format_truncated(3.45678e-07f, 3), "3.45678e-07");
    EXPECT_EQ(format_truncated(std::numeric_limits<float>::infinity(), 2), "inf");
}

TEST(ResultLines, WithoutPercentileAndCriterionOnlyTheGeneralValuesAndAxisShow) {
    RegionAnalysis single = region(0.0123456f, 2345.678f, 123.4567f, 98.7654f, 45.6789f);
    single.peak = 1234;
    const ResultLines lines = result_lines(single_settings(), single, {}, {});
    EXPECT_EQ(lines.texts.at(minimum), "0.012");
    EXPECT_EQ(lines.texts.at(maximum), "2345.68");  // six digits first, then the cut
    EXPECT_EQ(lines.texts.at(mean), "123.45");
    EXPECT_EQ(lines.texts.at(median), "98.76");
    EXPECT_EQ(lines.texts.at(deviation), "45.67");
    EXPECT_EQ(lines.texts.at(axis_minimum), "0.012");
    EXPECT_EQ(lines.texts.at(axis_maximum), "2345.68");
    EXPECT_EQ(lines.texts.at(peak), "1234");
    for (int id : {criterion, criterion_caption, percentile_caption, percentile, contrast, contrast_caption})
        EXPECT_EQ(lines.texts.at(id), "") << id;
    EXPECT_TRUE(lines.axis_labels_shown);
    EXPECT_FALSE(lines.ratio_mark_shown);
}

TEST(ResultLines, TheCriterionSentenceCutsThePercentageAfterFourDecimals) {
    AnalysisSettings settings = single_settings();
    settings.criterion_enabled = true;
    settings.criterion_kind = CriterionKind::greater_than;
    settings.criterion_threshold = 2000;
    RegionAnalysis single = region(1, 2, 3, 4, 5);
    single.statistics.criterion_percentage = 3.1415926f;
    ResultLines lines = result_lines(settings, single, {}, {});
    EXPECT_EQ(lines.texts.at(criterion_caption), "Criteria Result:");
    EXPECT_EQ(lines.texts.at(criterion), "3.1415% pixels are greater than 2000 cd/m²");
    settings.criterion_kind = CriterionKind::lesser_than;
    EXPECT_EQ(result_lines(settings, single, {}, {}).texts.at(criterion), "3.1415% pixels are lesser than 2000 cd/m²");
    settings.criterion_kind = CriterionKind::equal_to;
    settings.criterion_threshold = 100;
    EXPECT_EQ(result_lines(settings, single, {}, {}).texts.at(criterion), "3.1415% pixels are equal to 100 cd/m²");
    // A decimal threshold is shown as it was typed.
    settings.criterion_kind = CriterionKind::lesser_than;
    settings.criterion_threshold = 12.5f;
    EXPECT_EQ(result_lines(settings, single, {}, {}).texts.at(criterion), "3.1415% pixels are lesser than 12.5 cd/m²");
    settings.criterion_threshold = 0.1f;
    EXPECT_EQ(result_lines(settings, single, {}, {}).texts.at(criterion), "3.1415% pixels are lesser than 0.1 cd/m²");
}

TEST(ResultLines, APercentileRatioShowsWithTwoDecimals) {
    AnalysisSettings settings = single_settings();
    settings.percentile_enabled = true;
    RegionAnalysis single = region(1, 2, 3, 4, 5);
    single.statistics.percentile_ratio = 12.3456f;
    const ResultLines lines = result_lines(settings, single, {}, {});
    EXPECT_EQ(lines.texts.at(percentile_caption), "Percentile Ratio:");
    EXPECT_EQ(lines.texts.at(percentile), "12.34");
}

TEST(ResultLines, AMaximumOfAMillionShowsInFull) {
    const ResultLines lines = result_lines(single_settings(), region(1, 1234567, 3, 4, 5), {}, {});
    EXPECT_EQ(lines.texts.at(maximum), "1.23457e+06");
}

AnalysisSettings two_settings(ResultView view, bool contrast_on) {
    AnalysisSettings s;
    s.kind = AnalysisKind::multiple_regions;
    s.general_statistics = true;
    s.percentile_enabled = contrast_on;
    s.result_view = view;
    return s;
}

TEST(ResultLines, RegionBsMinimumShowsTwoDecimalsWhereRegionAsShowsThree) {
    const RegionAnalysis a = region(1.23456f, 10, 5, 5, 1), b = region(1.23456f, 20, 10, 10, 2);
    const ResultLines in_a = result_lines(two_settings(ResultView::region_a, false), {}, a, b);
    const ResultLines in_b = result_lines(two_settings(ResultView::region_b, false), {}, a, b);
    EXPECT_EQ(in_a.texts.at(minimum), "1.234");
    EXPECT_EQ(in_b.texts.at(minimum), "1.23");
    EXPECT_EQ(in_a.texts.at(axis_minimum), "1.23");
    EXPECT_EQ(in_b.texts.at(maximum), "20");
    EXPECT_TRUE(in_a.axis_labels_shown);
    EXPECT_FALSE(in_b.ratio_mark_shown);
}

TEST(ResultLines, TheRatioViewDividesAByBAndHidesTheAxis) {
    const RegionAnalysis a = region(2, 30, 50, 40, 5), b = region(4, 10, 200, 80, 2);
    const ResultLines lines = result_lines(two_settings(ResultView::ratio_ab, true), {}, a, b);
    EXPECT_EQ(lines.texts.at(minimum), "0.5");
    EXPECT_EQ(lines.texts.at(maximum), "3");
    EXPECT_EQ(lines.texts.at(mean), "0.25");
    EXPECT_EQ(lines.texts.at(median), "0.5");
    EXPECT_EQ(lines.texts.at(deviation), "2.5");
    EXPECT_FALSE(lines.axis_labels_shown);
    EXPECT_TRUE(lines.ratio_mark_shown);
    // The difference is divided by Region B's mean.
    EXPECT_EQ(lines.texts.at(contrast), "0.75");
    EXPECT_EQ(lines.texts.at(contrast_caption), "Contrast Ratio:");
    EXPECT_EQ(region_contrast(50, 200), 0.75f);
    const ResultLines without = result_lines(two_settings(ResultView::ratio_ab, false), {}, a, b);
    EXPECT_EQ(without.texts.at(contrast), "");
    EXPECT_EQ(without.texts.at(contrast_caption), "");
}

TEST(ResultLines, AZeroDenominatorShowsTheFloatingPointResult) {
    const ResultLines lines =
        result_lines(two_settings(ResultView::ratio_ab, false), {}, region(1, 1, 1, 0, 0), region(0, 0, 0, 0, 0));
    EXPECT_EQ(lines.texts.at(minimum), "inf");
    EXPECT_NE(lines.texts.at(median).find("nan"), std::string::npos);
}

TEST(HistogramPicture, BarsRiseFromTheBottomInProportionToThePeak) {
    RegionAnalysis single;
    single.histogram[0].count = 10;
    single.histogram[128].count = 5;
    single.peak = 10;
    const HistogramPicture picture = histogram_picture(ResultView::single, single, {}, {}, 512, 100);
    EXPECT_EQ(picture.colour, BarColour::black);
    ASSERT_EQ(picture.bars.size(), 2u);
    EXPECT_EQ(picture.bars[0].x, 0.0f);
    EXPECT_EQ(picture.bars[0].bottom, 100.0f);
    EXPECT_EQ(picture.bars[0].top, 0.0f);
    EXPECT_EQ(picture.bars[1].x, 256.0f);
    EXPECT_EQ(picture.bars[1].top, 50.0f);
}

TEST(HistogramPicture, EachRegionHasItsColourAndTheRatioViewNone) {
    RegionAnalysis a, b;
    a.histogram[3].count = b.histogram[4].count = 1;
    a.peak = b.peak = 1;
    EXPECT_EQ(histogram_picture(ResultView::region_a, {}, a, b, 256, 50).colour, BarColour::purple);
    EXPECT_EQ(histogram_picture(ResultView::region_a, {}, a, b, 256, 50).bars[0].x, 3.0f);
    EXPECT_EQ(histogram_picture(ResultView::region_b, {}, a, b, 256, 50).colour, BarColour::olive);
    EXPECT_EQ(histogram_picture(ResultView::region_b, {}, a, b, 256, 50).bars[0].x, 4.0f);
    EXPECT_TRUE(histogram_picture(ResultView::ratio_ab, {}, a, b, 256, 50).bars.empty());
}

TEST(HistogramPicture, APeakOfZeroDrawsNoBars) {
    RegionAnalysis empty;
    empty.histogram[5].count = 3;  // a stale count without its peak
    EXPECT_TRUE(histogram_picture(ResultView::single, empty, {}, {}, 256, 50).bars.empty());
}

}  // namespace

TEST(HistogramPicture, TheLuminanceAxisIsMarkedAtDecadesAndTheCountAxisAtThePeak) {
    RegionAnalysis single;
    // Bins centred from log10 L = -0.5 to 3.5: the decades 1, 10, 100, 1000.
    for (int i = 0; i < histogram_bins; ++i)
        single.histogram[size_t(i)] = {1.0f, -0.5f + 4.0f * float(i) / float(histogram_bins - 1)};
    single.histogram[10].count = 8;
    single.peak = 8;
    const HistogramPicture picture = histogram_picture(ResultView::single, single, {}, {}, 512, 100);
    ASSERT_EQ(picture.luminance_ticks.size(), 4u);
    EXPECT_EQ(picture.luminance_ticks[0].label, "1");
    EXPECT_EQ(picture.luminance_ticks[3].label, "1000");
    // log10 L = 0 is an eighth of the way from the first centre to the last.
    EXPECT_NEAR(picture.luminance_ticks[0].position, 1 + 0.125 * 255 * 2, 1e-3);
    EXPECT_NEAR(picture.luminance_ticks[3].position, 1 + 0.875 * 255 * 2, 1e-3);
    ASSERT_EQ(picture.count_ticks.size(), 3u);
    EXPECT_EQ(picture.count_ticks[0].label, "0");
    EXPECT_EQ(picture.count_ticks[2].label, "8");
    EXPECT_EQ(picture.count_ticks[2].position, 0.0f);
    EXPECT_EQ(picture.count_ticks[1].position, 50.0f);

    // Less than a decade: 2 and 5 times the decades mark it.
    for (int i = 0; i < histogram_bins; ++i) single.histogram[size_t(i)].centre = 1.1f + 0.6f * float(i) / 255.0f;
    std::vector<std::string> labels;
    for (const AxisTick& tick : histogram_picture(ResultView::single, single, {}, {}, 256, 50).luminance_ticks)
        labels.push_back(tick.label);
    EXPECT_EQ(labels, (std::vector<std::string>{"20", "50"}));
    EXPECT_EQ(decade_label(1e-3), "0.001");
    EXPECT_EQ(decade_label(1e6), "1e+06");
}
