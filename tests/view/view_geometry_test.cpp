// Window-to-picture mapping, placement, fit and wheel zoom with the figures a
// user can check by hand.

#include <gtest/gtest.h>

#include "view/view_geometry.h"

namespace {

TEST(Placement, CentresASmallPictureOnPixelCentres) {
    const PointF pan = compute_placement({1000, 800}, {640, 480}, 1.0f, {0, 0});
    EXPECT_EQ(pan, (PointF{180.5f, 160.5f}));
}

TEST(Placement, KeepsASmallPictureCentredHorizontallyWhateverTheDrag) {
    EXPECT_EQ(compute_placement({1000, 800}, {640, 480}, 1.0f, {-300, 0}).x, 180.5f);
    EXPECT_EQ(compute_placement({1000, 800}, {640, 480}, 1.0f, {300, 0}).x, 180.5f);
}

TEST(Placement, LetsAFittingPictureMoveUpByTheStatusBarAtMost) {
    EXPECT_EQ(compute_placement({1000, 800}, {640, 480}, 1.0f, {0, -10}).y, 150.5f);
    EXPECT_EQ(compute_placement({1000, 800}, {640, 480}, 1.0f, {0, -100}).y, 160.5f - 22.0f);
}

TEST(Placement, DragsAWidePictureUntilItsRightEdgeMeetsTheWindow) {
    // 3000 wide at zoom 1 in a 1000-wide window: pan x from 0 down to -2000.
    EXPECT_EQ(compute_placement({1000, 800}, {3000, 500}, 1.0f, {-500, 0}).x, -500.0f);
    EXPECT_EQ(compute_placement({1000, 800}, {3000, 500}, 1.0f, {-2500, 0}).x, -2000.0f);
    // Dragging right past the start brings it back to its resting place.
    EXPECT_EQ(compute_placement({1000, 800}, {3000, 500}, 1.0f, {400, 0}).x, 0.0f);
}

TEST(Placement, KeepsATallPicturesBottomAboveTheStatusBar) {
    // 2000 high in 800: the bottom may rise to 800 - 4 - 22 = 774.
    const PointF pan = compute_placement({1000, 800}, {500, 2000}, 1.0f, {0, -5000});
    EXPECT_EQ(pan.y, 800.0f - 4.0f - 2000.0f - 22.0f);
}

TEST(FitZoom, CutsToOneDecimal) {
    EXPECT_FLOAT_EQ(fit_zoom({1000, 800}, {4000, 1000}), 0.2f);
    EXPECT_FLOAT_EQ(fit_zoom({1000, 800}, {3000, 2000}), 0.3f);
    EXPECT_FLOAT_EQ(fit_zoom({1000, 800}, {500, 400}), 2.0f);
}

TEST(FitZoom, NeverGoesBelowFivePercent) {
    EXPECT_FLOAT_EQ(fit_zoom({640, 458}, {100000, 100}), 0.05f);
}

TEST(WheelZoom, StepsByATenthStrictlyBetweenZeroAndFour) {
    EXPECT_FLOAT_EQ(wheel_zoom(1.0f, 120), 1.1f);
    EXPECT_FLOAT_EQ(wheel_zoom(1.0f, -120), 0.9f);
    EXPECT_FLOAT_EQ(wheel_zoom(1.0f, 0), 0.9f);  // no delta counts as down
    EXPECT_EQ(wheel_zoom(3.95f, 120), 3.95f);
    EXPECT_EQ(wheel_zoom(0.05f, -120), 0.05f);
    EXPECT_FLOAT_EQ(wheel_zoom(3.85f, 120), 3.95f);
}

TEST(WindowToPicture, UndoesPanAndZoomAndAddsHalfAPixel) {
    const PointF p = window_to_picture(2.0f, {200.5f, 100.5f}, {180.5f, 60.5f});
    EXPECT_EQ(p, (PointF{10.5f, 20.5f}));
}

TEST(InsidePicture, IncludesBothEdges) {
    EXPECT_TRUE(inside_picture({0, 0}, 640, 480));
    EXPECT_TRUE(inside_picture({640, 480}, 640, 480));
    EXPECT_FALSE(inside_picture({640.01f, 10}, 640, 480));
    EXPECT_FALSE(inside_picture({10, -0.01f}, 640, 480));
}

}  // namespace
