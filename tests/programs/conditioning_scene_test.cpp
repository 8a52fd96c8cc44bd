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
    // Stored as RGBE, as pfilt hands it over: 1 reads back as 257/256.
    EXPECT_FLOAT_EQ(s.fovea.green[s.fovea.index(90, 90)], 1.00390625f);
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

TEST(ConditioningScene, VeilContinuesLinearlyToThePicturesEdge) {
    // 64 x 64 without a view: a 42 x 42 fovea, so the outer picture pixels
    // lie 0.17 of a foveal cell outside the outer foveal centres. A veil
    // rising by 1 per foveal column reaches them on its slope, as in the
    // reference, not at the edge cells' values.
    auto s = build_scene(picture(64, 64, {}, "-Y 64 +X 64"), false);
    ASSERT_EQ(s.fovea.width, 42);
    ColourGrid veil(42, 42);
    for (int r = 0; r < 42; ++r)
        for (int c = 0; c < 42; ++c) veil.red[veil.index(c, r)] = 10.0f + static_cast<float>(c);
    s.veil = veil;
    const Colour black{};
    EXPECT_NEAR(s.veiled_pixel(s.picture.index(0, 5), black).r, 10 + 0.5 / 64 * 42 - 0.5, 1e-5);
    EXPECT_NEAR(s.veiled_pixel(s.picture.index(63, 5), black).r, 10 + 63.5 / 64 * 42 - 0.5, 1e-5);
    EXPECT_NEAR(s.veiled_pixel(s.picture.index(32, 5), black).r, 10 + 32.5 / 64 * 42 - 0.5, 1e-5);
}

TEST(PixelSampling, DrawsTheUnseededDrand48SequenceOfLinux) {
    Rand48 random;
    EXPECT_DOUBLE_EQ(random.next(), 11.0 / 281474976710656.0);  // 3.90799e-14
    EXPECT_NEAR(random.next(), 0.000985395, 1e-9);
    EXPECT_NEAR(random.next(), 0.0416310, 1e-7);
}

TEST(PixelSampling, TakesEveryPixelWhenAllAreWanted) {
    Rand48 random;
    // Scanlines in order, each from its end; stored last drawn first.
    EXPECT_EQ(random_pixel_indices(3, 2, 6, random), (std::vector<size_t>{3, 4, 5, 0, 1, 2}));
}

TEST(PixelSampling, DrawsDistinctPixelsSpreadOverThePicture) {
    Rand48 random;
    const auto picked = random_pixel_indices(100, 80, 2000, random);
    ASSERT_EQ(picked.size(), 2000u);
    std::vector<int> per_quarter(4, 0);
    std::vector<bool> seen(8000, false);
    for (size_t i : picked) {
        ASSERT_LT(i, 8000u);
        EXPECT_FALSE(seen[i]) << i;
        seen[i] = true;
        ++per_quarter[i / 2000];
    }
    for (int n : per_quarter) EXPECT_NEAR(n, 500, 100);
    // The same sequence gives the same samples.
    Rand48 again;
    EXPECT_EQ(random_pixel_indices(100, 80, 2000, again), picked);
}

}  // namespace
