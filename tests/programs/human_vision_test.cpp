// The fitted models of human vision that pcond uses.

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "lib/human_vision.h"

namespace {

TEST(HumanVision, ThresholdContrastFollowsTheFourBranchesOfItsFit) {
    EXPECT_DOUBLE_EQ(threshold_contrast(1e-5), 1.38e-3);
    EXPECT_NEAR(threshold_contrast(0.01), std::pow(10.0, std::pow(0.405 * -2 + 1.6, 2.18) - 2.86), 1e-12);
    EXPECT_NEAR(threshold_contrast(0.5), 0.5 * std::pow(10.0, -0.395), 1e-12);
    EXPECT_NEAR(threshold_contrast(10), 1.0720, 1e-4);
    EXPECT_NEAR(threshold_contrast(179.699), 179.699 * std::pow(10.0, -1.255), 1e-9);
}

TEST(HumanVision, ThresholdContrastRisesAlongEachBranchAndBarelyStepsAtTheJoins) {
    // The published fit's pieces do not meet exactly: at most a 3 % step.
    double previous = threshold_contrast(1e-5);
    int steps_down = 0;
    for (double l = -5; l <= 5; l += 0.001) {
        const double t = threshold_contrast(std::pow(10.0, l));
        EXPECT_GE(t, previous * 0.97) << l;
        EXPECT_LE(t, previous * 1.03) << l;
        if (t < previous) ++steps_down;
        previous = t;
    }
    EXPECT_LE(steps_down, 2);
}

TEST(HumanVision, AcuityRisesWithLuminanceAndTurnsNegativeForBlack) {
    EXPECT_NEAR(visual_acuity(1), 17.25 * std::atan(0.35) + 25.72, 1e-12);
    EXPECT_GT(visual_acuity(1e-7), 0);
    EXPECT_NEAR(visual_acuity(0), 25.72 - 17.25 * std::numbers::pi / 2, 1e-9);
    EXPECT_LT(visual_acuity(0.001), visual_acuity(0.1));
    EXPECT_GT(visual_acuity(1e4), 45);
    EXPECT_LT(visual_acuity(1e9), 17.25 * std::numbers::pi / 2 + 25.72);
}

TEST(HumanVision, ColourFadesLinearlyThroughTheMesopicRange) {
    EXPECT_EQ(colour_sensitivity(10), 1.0);
    EXPECT_EQ(colour_sensitivity(5.62), 1.0);
    EXPECT_EQ(colour_sensitivity(5.62e-3), 0.0);
    EXPECT_EQ(colour_sensitivity(0), 0.0);
    EXPECT_NEAR(colour_sensitivity((5.62 + 5.62e-3) / 2), 0.5, 1e-12);
}

TEST(HumanVision, ScotopicBrightnessFavoursBlue) {
    EXPECT_NEAR(scotopic_brightness(1, 1, 1), 1.0, 1e-12);
    EXPECT_GT(scotopic_brightness(0, 0, 1), scotopic_brightness(1, 0, 0));
}

}  // namespace
