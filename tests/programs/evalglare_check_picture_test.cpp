// The check picture: header, size and order of the input, absolute grey
// values, black outside the view, the task area blue and each source in its
// colour, every pixel keeping its luminance.

#include <gtest/gtest.h>

#include "common/physics.h"
#include "glare_run.h"
#include "lib/luminance_picture.h"
#include "glare_scenes.h"
#include "lib/rgbe_color.h"
#include "test_picture.h"

namespace {

constexpr int n = 100;

double luminance_of(const RgbePixel& p) {
    const Color3 c = decode_color(p);
    return physics::luminous_efficacy * (glare_weight_red * c.r + glare_weight_green * c.g + glare_weight_blue * c.b);
}

const RgbePixel& pixel_at(const ReadPicture& p, int column, int row_from_top) {
    return p.pixels[size_t(row_from_top) * n + size_t(column)];
}

class EvalglareCheckPicture : public ::testing::Test {
protected:
    void SetUp() override {
        // Stored at exposure 2: the check picture must hold half the values.
        write_file(folder / "s.hdr", scene_file({"VIEW= -vta -vh 180 -vv 180", "EXPOSURE=2"}, n, n, 2000,
                                                {{50, 20, 4, 60000}, {20, 50, 3, 40000}}));
    }
    TempFolder folder;
};

TEST_F(EvalglareCheckPicture, HeaderNamesTheCommandAndTheViewAndNoExposure) {
    const auto g = run_glare(folder, "-c chk.hdr -x s.hdr");
    ASSERT_TRUE(g.printed);
    const auto chk = read_picture(folder / "chk.hdr");
    ASSERT_TRUE(chk.ok);
    ASSERT_EQ(chk.header.size(), 7u);
    EXPECT_EQ(chk.header[0], "#?RADIANCE");
    EXPECT_EQ(chk.header[1].substr(0, 9), "CAPDATE= ");
    EXPECT_EQ(chk.header[2].substr(0, 5), "GMT= ");
    EXPECT_EQ(chk.header[3], "evalglare -c chk.hdr -x s.hdr ");
    EXPECT_EQ(chk.header[4].substr(0, 10), "evalglare ");
    EXPECT_EQ(chk.header[5], "VIEW= -vta -vp 0 0 0 -vd 0 1 0 -vu 0 0 1 -vh 180 -vv 180 -vo 0 -va 0 -vs 0 -vl 0");
    EXPECT_EQ(chk.header[6], "FORMAT=32-bit_rle_rgbe");
    EXPECT_EQ(chk.resolution, "-Y 100 +X 100");
    ASSERT_EQ(chk.pixels.size(), size_t(n * n));
}

TEST_F(EvalglareCheckPicture, PixelsKeepTheirLuminanceInGreyBlueOrTheSourceColours) {
    ASSERT_TRUE(run_glare(folder, "-c chk.hdr -T 50 50 0.3 -b 10000 s.hdr").printed);
    const auto chk = read_picture(folder / "chk.hdr");
    ASSERT_TRUE(chk.ok);
    // Corners lie beyond the image circle.
    EXPECT_EQ(pixel_at(chk, 0, 0), RgbePixel{});
    // Background: grey, absolute.
    const RgbePixel background = pixel_at(chk, 80, 50);
    EXPECT_EQ(background.r, background.g);
    EXPECT_EQ(background.g, background.b);
    EXPECT_NEAR(luminance_of(background), stored_luminance(2000) / 2, 1);
    // Task area round the centre: blue.
    const RgbePixel task = pixel_at(chk, 50, 50);
    EXPECT_EQ(task.r, 0);
    EXPECT_EQ(task.g, 0);
    // (RGBE reads a zero mantissa as half a step: only blue carries light.)
    const double blue = physics::luminous_efficacy * glare_weight_blue * decode_color(task).b;
    EXPECT_NEAR(blue, stored_luminance(2000) / 2, 10);
    // Sources are numbered column by column from the left: the first is
    // blue violet, the second olive, as evalglare colours them.
    const RgbePixel first = pixel_at(chk, 20, 50), second = pixel_at(chk, 50, 20);
    EXPECT_GT(first.b, first.r);
    EXPECT_GT(first.r, first.g);  // equal light in red and green needs more red
    EXPECT_NEAR(luminance_of(first), stored_luminance(40000) / 2, 200);
    EXPECT_EQ(second.b, 0);
    EXPECT_GT(second.r, second.g);
    EXPECT_NEAR(luminance_of(second), stored_luminance(60000) / 2, 300);
}

TEST_F(EvalglareCheckPicture, WrittenAlsoWithoutSourcesAndInTheInputsOrder) {
    ASSERT_TRUE(run_glare(folder, "-c plain.hdr -b 100000 s.hdr").printed);
    const auto plain = read_picture(folder / "plain.hdr");
    ASSERT_TRUE(plain.ok);
    for (const auto& p : plain.pixels) ASSERT_TRUE(p.r == p.g && p.g == p.b);

    // Stored as columns (protate's order): evalglare analyses the scanlines
    // as rows, and writes them back in the input's order under a Y-first
    // line with the input's signs. Apart from the source colours that is
    // the check picture of the same rows stored the usual way.
    const auto rows = read_picture(folder / "s.hdr");
    std::vector<RgbePixel> columns;
    for (int i = 0; i < n; ++i)
        for (int row = n - 1; row >= 0; --row) columns.push_back(rows.pixels[size_t(row) * n + size_t(i)]);
    const std::vector<std::string> header = {"VIEW= -vta -vh 180 -vv 180", "EXPOSURE=2"};
    write_file(folder / "turned.hdr", picture_file(header, "+X 100 +Y 100", columns, n));
    write_file(folder / "upright.hdr", picture_file(header, "-Y 100 +X 100", columns, n));
    ASSERT_TRUE(run_glare(folder, "-c a.hdr upright.hdr").printed);
    ASSERT_TRUE(run_glare(folder, "-c b.hdr turned.hdr").printed);
    const auto a = read_picture(folder / "a.hdr"), b = read_picture(folder / "b.hdr");
    ASSERT_TRUE(a.ok && b.ok);
    EXPECT_EQ(a.resolution, "-Y 100 +X 100");
    EXPECT_EQ(b.resolution, "+Y 100 +X 100");
    ASSERT_EQ(a.pixels.size(), b.pixels.size());
    for (size_t k = 0; k < a.pixels.size(); ++k)
        ASSERT_NEAR(luminance_of(b.pixels[k]), luminance_of(a.pixels[k]), 1e-3 * luminance_of(a.pixels[k]) + 1e-6)
            << k;
}

TEST_F(EvalglareCheckPicture, GuthCutBlackensWhatTheEyeCannotSee) {
    ASSERT_TRUE(run_glare(folder, "-c cut.hdr -G 2 s.hdr").printed);
    const auto cut = read_picture(folder / "cut.hdr");
    ASSERT_TRUE(cut.ok);
    EXPECT_EQ(pixel_at(cut, 50, 3), RgbePixel{});  // 83° up
    EXPECT_EQ(pixel_at(cut, 3, 50), RgbePixel{});  // 83° to the side
    EXPECT_NE(pixel_at(cut, 50, 30), RgbePixel{}); // 36° up
}

}  // namespace
