// The brightness histogram and the tone curve built from it.

#include <gtest/gtest.h>

#include <cmath>
#include <numeric>

#include "lib/histogram_adjustment.h"

namespace {

std::vector<float> ones(size_t n) { return std::vector<float>(n, 1.0f); }

std::vector<double> log_spread(double lo, double hi, int n) {
    std::vector<double> values;
    for (int i = 0; i < n; ++i) values.push_back(static_cast<float>(lo * std::pow(hi / lo, (i + 0.5) / n)));
    return values;
}

TEST(BrightnessHistogram, SpansTheSamplesWithOneSpareBinBelow) {
    const std::vector<double> foveal = {1.0f, 10.0f, 100.0f};
    const auto h = brightness_histogram(foveal, ones(3), {});
    EXPECT_FALSE(h.bottom_clamped);
    EXPECT_NEAR(h.bmax, std::log(101.0), 1e-9);
    // ln 1 lands at the start of bin 1.
    EXPECT_NEAR(h.bmin + h.bin_width(), 0.0, 1e-9);
    // 1 sits on the edge of bins 0 and 1 (rounding decides which), 10 in the
    // middle, 100 in the last bin.
    EXPECT_DOUBLE_EQ(h.bins[0] + h.bins[1], 1.0);
    EXPECT_DOUBLE_EQ(h.bins[50], 1.0);
    EXPECT_DOUBLE_EQ(h.bins[99], 1.0);
    EXPECT_DOUBLE_EQ(h.total, 3.0);
    EXPECT_NEAR(h.mean_log, std::log(10.0), 1e-6);
}

TEST(BrightnessHistogram, BlackClampsTheBottomAndIsLeftOut) {
    const std::vector<double> foveal = {0.0f, 1.0f, 1000.0f};
    const auto h = brightness_histogram(foveal, ones(3), {});
    EXPECT_TRUE(h.bottom_clamped);
    EXPECT_NEAR(h.bmin, std::log(1e-7), 1e-9);
    EXPECT_DOUBLE_EQ(h.total, 2.0);
}

TEST(BrightnessHistogram, LeavesOutSamplesWithinAMillionthOfACandelaOfTheBottom) {
    // With black in the scene the range starts at 1e-7 cd/m², and samples
    // below 1.1e-6 cd/m² stay out: the margin is one of luminance.
    const std::vector<double> dim = {0.0, 5e-7, 8e-7, 1e-3, 1e-2};
    auto h = brightness_histogram(dim, ones(5), {});
    ASSERT_TRUE(h.bottom_clamped);
    EXPECT_DOUBLE_EQ(h.total, 2.0);
    EXPECT_NEAR(h.mean_log, (std::log(1e-3) + std::log(1e-2)) / 2, 1e-6);
    // Without black the range starts one bin below the darkest sample, and
    // the same margin above that leaves out the two dimmest samples here;
    // the bottom bins are then not spread, the range starting within 1e-6
    // cd/m² of 1e-7.
    const std::vector<double> faint = {2e-7, 5e-7, 1e-2};
    h = brightness_histogram(faint, ones(3), {});
    ASSERT_FALSE(h.bottom_clamped);
    EXPECT_DOUBLE_EQ(h.total, 1.0);
    EXPECT_DOUBLE_EQ(h.bins[99], 1.0);
    // Brighter scenes keep their darkest samples, in bins 0 and 1 by halves.
    const std::vector<double> bright = {1.0, 1.0, 100.0};
    h = brightness_histogram(bright, ones(3), {});
    EXPECT_DOUBLE_EQ(h.total, 3.0);
    EXPECT_DOUBLE_EQ(h.bins[0] + h.bins[1], 2.0);
}

TEST(BrightnessHistogram, PointSamplesShareTheFovealTotal) {
    const std::vector<double> foveal = {1.0f, 100.0f};
    const std::vector<float> weights = {0.5f, 1.0f};
    const std::vector<float> points = {10.0f, 10.0f, 10.0f, 10.0f};
    const auto h = brightness_histogram(foveal, weights, points);
    EXPECT_DOUBLE_EQ(h.total, 3.0);
    EXPECT_NEAR(h.mean_log, (0.5 * 0 + 1.0 * std::log(100.0) + 1.5 * std::log(10.0)) / 3, 1e-6);
}

TEST(BrightnessHistogram, PictureWithoutLightIsEmpty) {
    const std::vector<double> black = {0.0, 0.0};
    const std::vector<float> black_points = {0.0f, 0.0f};
    EXPECT_TRUE(brightness_histogram(black, ones(2), black_points).empty());
}

TEST(BrightnessHistogram, PercentileIsTheBinWhereTheShareIsReached) {
    const auto values = log_spread(0.01, 1e4, 1000);
    const auto h = brightness_histogram(values, ones(values.size()), {});
    const double fifth = histogram_percentile(h, 0.05);
    EXPECT_GT(fifth, 0.01 * std::pow(1e6, 0.04));
    EXPECT_LT(fifth, 0.01 * std::pow(1e6, 0.07));
}

TEST(ToneCurve, EvenlySpreadSceneGetsAStraightCurveInLogSpace) {
    // Eight decades evenly filled: every bin is above its ceiling by the same
    // factor, so all are cut alike and the curve stays linear in ln L.
    const auto values = log_spread(1e-3, 1e5, 20000);
    const auto h = brightness_histogram(values, ones(values.size()), {});
    const auto curve = ToneCurve::from_histogram(h, {}, false);
    ASSERT_TRUE(curve.adjusted());
    const double step = curve.display_brightness(1e-1) - curve.display_brightness(1e-2);
    EXPECT_NEAR(step, std::log(100.0) * std::log(10.0) / std::log(1e8), 0.01);
    for (double lw : {1e-1, 1.0, 1e1, 1e2, 1e3, 1e4})
        EXPECT_NEAR(curve.display_brightness(lw * 10) - curve.display_brightness(lw), step, 0.01) << lw;
}

TEST(ToneCurve, IsMonotoneAndEndsAtTheDisplayLimits) {
    std::vector<double> values = log_spread(0.1, 10, 5000);
    const auto bright = log_spread(1e3, 1e5, 2000);
    values.insert(values.end(), bright.begin(), bright.end());
    const auto h = brightness_histogram(values, ones(values.size()), {});
    for (bool sensitivity : {false, true}) {
        const auto curve = ToneCurve::from_histogram(h, {}, sensitivity);
        ASSERT_TRUE(curve.adjusted()) << sensitivity;
        EXPECT_EQ(curve.display_luminance(1e-8), 1.0);
        EXPECT_NEAR(curve.display_luminance(2e5), 100.0, 1e-9);
        double previous = 0;
        for (double l = -2; l <= 5.5; l += 0.01) {
            const double d = curve.display_luminance(std::pow(10.0, l));
            EXPECT_GE(d, previous);
            previous = d;
        }
        EXPECT_DOUBLE_EQ(curve.cumulative(0), 0.0);
        EXPECT_DOUBLE_EQ(curve.cumulative(100), 1.0);
    }
}

TEST(ToneCurve, NeverExaggeratesContrastBeyondLinearScaling) {
    // A spike of many equal pixels would take most of the display range
    // without the ceiling (a slope of about 30 times the linear one); with
    // it the slope stays at the linear one, plus what the last round of
    // cutting may leave (the trimming tolerance of the total, in one bin).
    std::vector<double> values = log_spread(0.01, 1e4, 3000);
    values.insert(values.end(), 50000, 5.0f);
    const auto h = brightness_histogram(values, ones(values.size()), {});
    const auto curve = ToneCurve::from_histogram(h, {}, false);
    ASSERT_TRUE(curve.adjusted());
    const double step = h.bin_width(), span = std::log(100.0);
    for (int i = 0; i < histogram_bins; ++i) {
        const double slope = (curve.cumulative(i + 1) - curve.cumulative(i)) * span / step;
        EXPECT_LE(slope, 1.0 + trimming_tolerance * span / step) << i;
    }
}

TEST(ToneCurve, SceneWithTooFewOccupiedBinsCannotBeAdjusted) {
    // Two values far apart: cutting to the ceiling removes nearly everything.
    std::vector<double> values(1000, 0.01);
    values.insert(values.end(), 1000, 1e4f);
    const auto h = brightness_histogram(values, ones(values.size()), {});
    EXPECT_FALSE(ToneCurve::from_histogram(h, {}, false).adjusted());
}

}  // namespace
