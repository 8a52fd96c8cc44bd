// The view pcond assumes, the directions of image points, and the colour
// grids it reduces, samples and halves.

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "lib/colour_grid.h"
#include "lib/foveal_view.h"

namespace {

PictureHeader header(std::vector<std::string> lines) { return PictureHeader{std::move(lines)}; }

double angle_between(const Direction& a, const Direction& b) {
    return std::acos(std::clamp(a[0] * b[0] + a[1] * b[1] + a[2] * b[2], -1.0, 1.0)) * 180 / std::numbers::pi;
}

TEST(FovealView, TakesTheHeadersViewAndLaterLinesOverride) {
    const View v = conditioning_view(header({"VIEW= -vta -vh 180 -vv 170", "VIEW= -vv 180"}), 100, 100);
    EXPECT_EQ(v.type, 'a');
    EXPECT_EQ(v.horizontal, 180);
    EXPECT_EQ(v.vertical, 180);
}

TEST(FovealView, AssumesFortyDegreesAcrossWithoutAUsableView) {
    for (const auto& lines : {std::vector<std::string>{}, {"VIEW= -vtl -vh 10 -vv 10"}, {"VIEW= -vtv -vh 4 -vv 40"},
                              {"\tVIEW= -vta -vh 180 -vv 180"}}) {
        const View wide = conditioning_view(header(lines), 400, 200);
        EXPECT_EQ(wide.type, 'v');
        EXPECT_DOUBLE_EQ(wide.horizontal, 40);
        EXPECT_NEAR(std::tan(wide.vertical / 2 * std::numbers::pi / 180), 0.3639702 / 2, 1e-7);
        const View tall = conditioning_view(header(lines), 200, 400);
        EXPECT_DOUBLE_EQ(tall.vertical, 40);
        EXPECT_NEAR(tall.horizontal, wide.vertical, 1e-12);
    }
}

TEST(FovealView, ImagePlaneExtentsGiveOneFovealPixelPerDegreeForFisheyes) {
    View v;
    v.type = 'a';
    v.horizontal = v.vertical = 180;
    EXPECT_NEAR(image_plane_extent(v, false) / fovea_angle, 180, 0.01);
    v.type = 'v';
    v.horizontal = v.vertical = 40;
    EXPECT_NEAR(image_plane_extent(v, false) / fovea_angle, 41.7, 0.1);
    v.type = 'h';
    v.horizontal = v.vertical = 180;
    EXPECT_NEAR(image_plane_extent(v, true), 2.0, 1e-12);
    v.type = 's';
    EXPECT_NEAR(image_plane_extent(v, true), 2.0, 1e-12);
    v.type = 'c';
    v.horizontal = 360;
    v.vertical = 90;
    EXPECT_NEAR(image_plane_extent(v, false), 2 * std::numbers::pi, 1e-12);
    EXPECT_NEAR(image_plane_extent(v, true), 2.0, 1e-12);
}

TEST(FovealView, DirectionsMatchEachProjectionsAngleFromTheAxis) {
    View v;
    v.horizontal = v.vertical = 180;
    Direction d, axis = {0, 0, 1};
    // A point a quarter across from the centre, for each 180-degree fisheye.
    v.type = 'a';
    ASSERT_TRUE(image_direction(v, 0.25, 0, d));
    EXPECT_NEAR(angle_between(d, axis), 45, 1e-9);
    v.type = 'h';
    ASSERT_TRUE(image_direction(v, 0.25, 0, d));
    EXPECT_NEAR(angle_between(d, axis), 30, 1e-9);  // sin = 2 r
    v.type = 's';
    ASSERT_TRUE(image_direction(v, 0.25, 0, d));
    EXPECT_NEAR(angle_between(d, axis), 2 * std::atan(0.5) * 180 / std::numbers::pi, 1e-9);
    // Outside the circle a hemispherical view sees nothing; an angular one
    // up to 180 degrees from its axis.
    v.type = 'h';
    EXPECT_FALSE(image_direction(v, 0.45, 0.45, d));
    v.type = 'a';
    v.horizontal = v.vertical = 360;
    EXPECT_FALSE(image_direction(v, 0.45, 0.45, d));
    v.type = 'v';
    v.horizontal = v.vertical = 90;
    ASSERT_TRUE(image_direction(v, 0.5, 0, d));
    EXPECT_NEAR(angle_between(d, axis), 45, 1e-9);
    EXPECT_GT(d[0], 0);
    ASSERT_TRUE(image_direction(v, 0, 0.5, d));
    EXPECT_GT(d[1], 0);
}

ColourGrid numbered(int width, int height) {
    ColourGrid grid(width, height);
    for (int r = 0; r < height; ++r)
        for (int c = 0; c < width; ++c) {
            grid.red[grid.index(c, r)] = static_cast<float>(c + 10 * r);
            grid.green[grid.index(c, r)] = 1;
        }
    return grid;
}

TEST(ColourGrid, BoxResizeAveragesTheDocumentedGroups) {
    // Ten columns into four: {0,1,2} {3,4} {5,6,7} {8,9}.
    const auto reduced = box_resize(numbered(10, 1), 4, 1);
    EXPECT_FLOAT_EQ(reduced.red[0], 1.0f);
    EXPECT_FLOAT_EQ(reduced.red[1], 3.5f);
    EXPECT_FLOAT_EQ(reduced.red[2], 6.0f);
    EXPECT_FLOAT_EQ(reduced.red[3], 8.5f);
    // Enlarging takes the nearest cell.
    const auto enlarged = box_resize(numbered(2, 2), 4, 4);
    EXPECT_FLOAT_EQ(enlarged.red[enlarged.index(1, 1)], 0.0f);
    EXPECT_FLOAT_EQ(enlarged.red[enlarged.index(2, 3)], 11.0f);
}

TEST(ColourGrid, BoxResizeFollowsPfiltsWindowsAndArithmetic) {
    // Enlarging 7 to 10 takes cell trunc((c + 0.5) * 0.7) only: cell 2 is
    // input 1, though the interval [1.4, 2.1) it covers holds input 2.
    const auto enlarged = box_resize(numbered(7, 1), 10, 1);
    const std::vector<float> nearest = {0, 1, 1, 2, 3, 3, 4, 5, 5, 6};
    for (int c = 0; c < 10; ++c) EXPECT_FLOAT_EQ(enlarged.red[static_cast<size_t>(c)], nearest[static_cast<size_t>(c)]) << c;
    // Reducing 44 to 30: input 22 lies exactly on the border of cells 14
    // and 15 (22 * 30 / 44 = 15), and 30.0 / 44 * 22 comes out just below
    // 15 in double precision, so pfilt averages it into cell 14.
    const auto reduced = box_resize(numbered(44, 1), 30, 1);
    EXPECT_FLOAT_EQ(reduced.red[14], 21.5f);
    EXPECT_FLOAT_EQ(reduced.red[15], 23.0f);
}

TEST(ColourGrid, HalvingAveragesBlocksAndDropsAnOddEdge) {
    const auto half = halve(numbered(5, 3));
    ASSERT_EQ(half.width, 2);
    ASSERT_EQ(half.height, 1);
    EXPECT_FLOAT_EQ(half.red[half.index(0, 0)], (0 + 1 + 10 + 11) / 4.0f);
    EXPECT_FLOAT_EQ(half.red[half.index(1, 0)], (2 + 3 + 12 + 13) / 4.0f);
    EXPECT_FLOAT_EQ(half.green[half.index(1, 0)], 1.0f);
}

TEST(ColourGrid, BilinearSamplingInterpolatesAndContinuesPastTheEdges) {
    const auto grid = numbered(4, 3);  // red = 10 * row + column
    EXPECT_FLOAT_EQ(sample_bilinear(grid, 1.5, 0.5).r, 6.5f);
    EXPECT_FLOAT_EQ(sample_bilinear(grid, 2, 1).r, 12.0f);
    EXPECT_FLOAT_EQ(sample_bilinear(grid, 3, 0.25).r, 5.5f);
    // Half a cell outside: the ramp goes on rather than stopping at the
    // edge value, so a gradient's border pixels stay on the gradient.
    EXPECT_FLOAT_EQ(sample_bilinear(grid, -0.5, -0.5).r, -5.5f);
    EXPECT_FLOAT_EQ(sample_bilinear(grid, 3.5, 2.5).r, 28.5f);
}

}  // namespace
