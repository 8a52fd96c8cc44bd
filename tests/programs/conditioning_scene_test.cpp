// What pcond gathers before mapping: foveal image sizes from the view, centre
// weights, and the point samples.

#include <gtest/gtest.h>

#include "lib/conditioning_scene.h"

namespace {

FloatPicture picture(int width, int height, std::vector<std::string> lines, const char* resolution) {
    FloatPicture p;
    p.resize(width, height);
    std::fill(p.green.begin(), p.green.end(), 1.0f);
    p.header.lines = std::move(lines);
    p.resolution = *parse_resolution_line(resolution);
    return p;
}

TEST(ConditioningScene, FovealImageHasOnePixelPerDegreeOfTheView) {
    auto s = build_scene(picture(360, 360, {"VIEW= -vta -vh 180 -vv 180"}, "-Y 360 +X 360"), false);
    EXPECT_EQ(s.fovea.width, 180);
    EXPECT_EQ(s.fovea.height, 180);
    EXPECT_FLOAT_EQ(s.fovea.green[s.fovea.index(90, 90)], 1.0f);
    // No view: 40 degrees perspective across the wider side.
    s = build_scene(picture(300, 150, {}, "-Y 150 +X 300"), false);
    EXPECT_EQ(s.fovea.width, 42);
    EXPECT_EQ(s.fovea.height, 21);
    // Scanlines running up the picture: the scan grid is the picture turned.
    s = build_scene(picture(150, 300, {"VIEW= -vtv -vh 60 -vv 20"}, "+X 300 +Y 150"), false);
    EXPECT_EQ(s.fovea.width, 20);
    EXPECT_EQ(s.fovea.height, 66);
}

TEST(ConditioningScene, CentreWeightsFallToZeroNinetyDegreesOut) {
    const auto s = build_scene(picture(362, 362, {"VIEW= -vta -vh 181 -vv 181"}, "-Y 362 +X 362"), true);
    ASSERT_EQ(s.fovea.width, 181);
    EXPECT_FLOAT_EQ(s.foveal_weights[s.fovea.index(90, 90)], 1.0f);
    EXPECT_NEAR(s.foveal_weights[s.fovea.index(135, 90)], 1 - 0.25, 1e-6);
    EXPECT_EQ(s.foveal_weights[s.fovea.index(180, 90)], 0.0f);
    EXPECT_EQ(s.foveal_weights[s.fovea.index(0, 0)], 0.0f);
}

TEST(ConditioningScene, DirectionsOfTheFovealPixelsFollowTheView) {
    const auto s = build_scene(picture(360, 360, {"VIEW= -vta -vh 180 -vv 180"}, "-Y 360 +X 360"), false);
    // Pixel centres half a degree either side of the axis.
    const Direction& d = s.directions[s.fovea.index(90, 89)];
    EXPECT_NEAR(d[2], std::cos(std::sqrt(0.5) * 3.14159265 / 180), 1e-6);
    EXPECT_GT(d[0], 0);
    EXPECT_GT(d[1], 0);  // rows count down from the top
}

TEST(ConditioningScene, PointSamplesAreEveryPixelOrOnePerStretch) {
    EXPECT_EQ(point_sample_indices(5, 5), (std::vector<size_t>{0, 1, 2, 3, 4}));
    const auto picked = point_sample_indices(1000, 300);
    ASSERT_EQ(picked.size(), 300u);
    for (size_t k = 0; k < picked.size(); ++k) {
        EXPECT_GE(double(picked[k]), k * 1000.0 / 300 - 1) << k;
        EXPECT_LT(double(picked[k]), (k + 1) * 1000.0 / 300) << k;
    }
    EXPECT_EQ(point_sample_indices(1000, 300), picked);
}

}  // namespace
