// pfilt: exposure scaling with its header line, box-filter reduction, the
// two-pass normalisation, and the refusals.

#include <gtest/gtest.h>

#include "lib/rgbe_color.h"
#include "picture/rgbe_reader.h"
#include "program_run.h"
#include "test_picture.h"

namespace {

class Pfilt : public ::testing::Test {
protected:
    void SetUp() override { write_file(folder / "tiny.hdr", tiny_picture_bytes()); }
    TempFolder folder;
};

TEST_F(Pfilt, ExposureTwoDoublesEveryValueAndRecordsTheFactor) {
    const auto run = run_in(folder, "pfilt -1 -e 2 tiny.hdr > e.hdr");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out + run.err, "");
    const auto doubled = read_picture(folder / "e.hdr");
    ASSERT_TRUE(doubled.ok);
    EXPECT_EQ(doubled.header, (std::vector<std::string>{"#?RADIANCE", "FORMAT=32-bit_rle_rgbe", "EXPOSURE=2",
                                                        "pfilt -1 -e 2", "EXPOSURE=2.000000e+00"}));
    EXPECT_EQ(doubled.resolution, "-Y 2 +X 3");
    // F was not normalised (largest mantissa 30) and is encoded afresh.
    EXPECT_EQ(doubled.pixels, (std::vector<RgbePixel>{{128, 64, 32, 130}, {200, 100, 50, 131}, {0, 0, 0, 0},
                                                      {255, 255, 255, 129}, {128, 128, 128, 137}, {84, 164, 244, 118}}));
}

TEST_F(Pfilt, DoublesEveryValueOfALargerPicture) {
    const auto pixels = position_pixels(50, 20);
    write_file(folder / "p.hdr", picture_file({}, "-Y 20 +X 50", pixels, 50));
    ASSERT_EQ(run_in(folder, "pfilt -1 -e +1 p.hdr > e.hdr").status, 0);
    const auto doubled = read_picture(folder / "e.hdr");
    ASSERT_EQ(doubled.pixels.size(), pixels.size());
    for (size_t i = 0; i < pixels.size(); ++i) {
        const Color3 a = decode_color(pixels[i]);
        EXPECT_EQ(doubled.pixels[i], encode_color(2 * a.r, 2 * a.g, 2 * a.b)) << i;
    }
}

TEST_F(Pfilt, ExposureChangeLeavesTheLuminanceReadBackUnchanged) {
    ASSERT_EQ(run_in(folder, "pfilt -1 -e 1.015 tiny.hdr > e.hdr").status, 0);
    const auto e = read_picture(folder / "e.hdr");
    // Recorded although the change is below 2 %.
    EXPECT_TRUE(has_line(e, "EXPOSURE=1.015000e+00"));
    const auto before = load_luminance_map((folder / "tiny.hdr").string());
    const auto after = load_luminance_map((folder / "e.hdr").string());
    ASSERT_TRUE(before.ok() && after.ok());
    EXPECT_NEAR(after.value().at(1, 1), before.value().at(1, 1), before.value().at(1, 1) * 0.01);
    EXPECT_NEAR(after.value().at(0, 0), before.value().at(0, 0), before.value().at(0, 0) * 0.01);
}

TEST_F(Pfilt, UnitExposureWritesNoExposureLine) {
    ASSERT_EQ(run_in(folder, "pfilt -1 -e 1.000 -x /1 -y /1 tiny.hdr > same.hdr").status, 0);
    const auto same = read_picture(folder / "same.hdr");
    EXPECT_EQ(same.header.back(), "pfilt -1 -e 1.000 -x /1 -y /1");
    EXPECT_EQ(same.pixels[1], tiny::B);
}

TEST_F(Pfilt, ReducesTinyByItsDocumentedExamples) {
    ASSERT_EQ(run_in(folder, "pfilt -1 -e 1.000 -x /1.5 -y /1 tiny.hdr > a.hdr").status, 0);
    const auto a = read_picture(folder / "a.hdr");
    EXPECT_TRUE(has_line(a, "PIXASPECT=0.666667"));
    EXPECT_EQ(a.resolution, "-Y 2 +X 2");
    EXPECT_EQ(a.pixels, (std::vector<RgbePixel>{{132, 66, 33, 130}, {0, 0, 0, 0}, {129, 129, 129, 135}, {84, 164, 244, 117}}));

    ASSERT_EQ(run_in(folder, "pfilt -1 -e 1.000 -x /3 -y /2 tiny.hdr > b.hdr").status, 0);
    const auto b = read_picture(folder / "b.hdr");
    EXPECT_EQ(b.resolution, "-Y 1 +X 1");
    EXPECT_EQ(b.pixels, (std::vector<RgbePixel>{{178, 175, 174, 133}}));
}

TEST_F(Pfilt, ReductionByTwoAveragesTwoByTwoBlocks) {
    const int width = 8, height = 6;
    const auto pixels = position_pixels(width, height);
    write_file(folder / "p.hdr", picture_file({}, "-Y 6 +X 8", pixels, width));
    ASSERT_EQ(run_in(folder, "pfilt -1 -e 1.000 -x /2 -y /2 p.hdr > h.hdr").status, 0);
    const auto half = read_picture(folder / "h.hdr");
    EXPECT_EQ(half.resolution, "-Y 3 +X 4");
    EXPECT_FALSE(has_line(half, "PIXASPECT=1.000000"));
    ASSERT_EQ(half.pixels.size(), 12u);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x) {
            Color3 sum;
            for (int dy = 0; dy < 2; ++dy)
                for (int dx = 0; dx < 2; ++dx) {
                    const Color3 c = decode_color(pixels[static_cast<size_t>((2 * y + dy) * width + 2 * x + dx)]);
                    sum = {sum.r + c.r, sum.g + c.g, sum.b + c.b};
                }
            EXPECT_EQ(half.pixels[static_cast<size_t>(y * 4 + x)], encode_color(sum.r / 4, sum.g / 4, sum.b / 4));
        }
}

TEST_F(Pfilt, UnevenReductionGroupsTheDocumentedIndices) {
    // Ten columns by /2.5 give four: {0,1,2} {3,4} {5,6,7} {8,9}.
    std::vector<RgbePixel> row;
    for (int x = 0; x < 10; ++x) row.push_back(encode_color(float(1 << x), 0, 0));
    write_file(folder / "row.hdr", picture_file({}, "-Y 1 +X 10", row, 10));
    ASSERT_EQ(run_in(folder, "pfilt -1 -x /2.5 row.hdr > r.hdr").status, 0);
    const auto reduced = read_picture(folder / "r.hdr");
    EXPECT_EQ(reduced.resolution, "-Y 1 +X 4");
    const float expected[4] = {7.0f / 3, 24.0f / 2, 224.0f / 3, 768.0f / 2};
    for (int i = 0; i < 4; ++i) EXPECT_EQ(reduced.pixels[static_cast<size_t>(i)], encode_color(expected[i], 0, 0));
}

TEST_F(Pfilt, ActsAlongTheScanlinesOfATurnedPicture) {
    write_file(folder / "turned.hdr", picture_file({}, "+X 4 +Y 2", position_pixels(2, 4), 2));
    ASSERT_EQ(run_in(folder, "pfilt -1 -e 1.000 -x /2 -y /1 turned.hdr > t.hdr").status, 0);
    const auto t = read_picture(folder / "t.hdr");
    EXPECT_EQ(t.resolution, "+X 4 +Y 1");
    EXPECT_TRUE(has_line(t, "PIXASPECT=2.000000"));
}

TEST_F(Pfilt, TwoPassBringsTheMeanBrightnessToOneHalf) {
    std::vector<RgbePixel> greys;
    for (int i = 0; i < 16; ++i) greys.push_back(encode_color(0.25f * (1 + i % 2), 0.25f * (1 + i % 2), 0.25f * (1 + i % 2)));
    write_file(folder / "g.hdr", picture_file({}, "-Y 4 +X 4", greys, 4));
    ASSERT_EQ(run_in(folder, "pfilt -x /2 -y /2 g.hdr > n.hdr").status, 0);
    const auto normal = read_picture(folder / "n.hdr");
    EXPECT_EQ(normal.header.back().rfind("EXPOSURE=", 0), 0u);
    for (const auto& p : normal.pixels) EXPECT_NEAR(decode_color(p).g, 0.5f, 0.01f);
}

TEST_F(Pfilt, RefusesWhatItCannotDo) {
    EXPECT_EQ(run_in(folder, "pfilt -1 -x /7 tiny.hdr > o.hdr").err, "pfilt: illegal output resolution\n");
    EXPECT_EQ(run_in(folder, "pfilt -1 -e 1e+21 tiny.hdr > o.hdr").err, "pfilt: exposure out of range\n");
    EXPECT_EQ(run_in(folder, "pfilt -q tiny.hdr > o.hdr").err, "pfilt: unknown option: -q\n");
    EXPECT_EQ(run_in(folder, "pfilt -1 tiny.hdr tiny.hdr > o.hdr").err, "pfilt: bad # file arguments\n");
    EXPECT_EQ(run_in(folder, "pfilt -1 nosuch.hdr > o.hdr").err, "pfilt: can't open file \"nosuch.hdr\"\n");
    write_file(folder / "text.hdr", "just text\n\n");
    EXPECT_EQ(run_in(folder, "pfilt -1 text.hdr > o.hdr").err, "pfilt: bad picture size\n");
    write_file(folder / "cut.hdr", "#?RADIANCE\n\n-Y 2 +X 3\n\x80\x80\x80\x80");
    const auto cut = run_in(folder, "pfilt -1 -e 2 cut.hdr > o.hdr");
    EXPECT_EQ(cut.status, 1);
    EXPECT_EQ(cut.err, "pfilt: truncated input (y=1)\n");
    std::vector<RgbePixel> black(4);
    write_file(folder / "black.hdr", picture_file({}, "-Y 2 +X 2", black, 2));
    EXPECT_EQ(run_in(folder, "pfilt black.hdr > o.hdr").err, "pfilt: picture too dark or too bright\n");
}

}  // namespace
