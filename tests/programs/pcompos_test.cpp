// pcompos as the crop uses it: a window with the lower-left origin, the
// input header nested without its exposure, one top-level EXPOSURE line.

#include <gtest/gtest.h>

#include "picture/rgbe_reader.h"
#include "program_run.h"
#include "test_picture.h"

namespace {

class Pcompos : public ::testing::Test {
protected:
    void SetUp() override { write_file(folder / "tiny.hdr", tiny_picture_bytes()); }
    TempFolder folder;
};

TEST_F(Pcompos, CropsTinyAndWritesTheExposureOnceAtTopLevel) {
    const auto run = run_in(folder, "pcompos -x 2 -y 1 tiny.hdr -1 -1 > c.hdr");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out + run.err, "");
    const auto crop = read_picture(folder / "c.hdr");
    ASSERT_TRUE(crop.ok);
    ASSERT_EQ(crop.header.size(), 7u);
    EXPECT_EQ(crop.header[0], "#?RADIANCE");
    EXPECT_EQ(crop.header[1].rfind("CAPDATE= ", 0), 0u);
    EXPECT_EQ(crop.header[2].rfind("GMT= ", 0), 0u);
    EXPECT_EQ(std::vector<std::string>(crop.header.begin() + 3, crop.header.end()),
              (std::vector<std::string>{"tiny.hdr:", "pcompos -x 2 -y 1 tiny.hdr -1 -1", "EXPOSURE=2.000000e+00",
                                        "FORMAT=32-bit_rle_rgbe"}));
    EXPECT_EQ(crop.resolution, "-Y 1 +X 2");
    EXPECT_EQ(crop.pixels, (std::vector<RgbePixel>{tiny::B, tiny::C}));
}

TEST_F(Pcompos, CropEqualsTheSubArrayCountedFromTheLowerLeft) {
    const int width = 40, height = 30;
    const auto pixels = position_pixels(width, height);
    write_file(folder / "p.hdr", picture_file({"VIEW= -vta"}, "-Y 30 +X 40", pixels, width));
    // 12 x 9 window whose lower-left corner is input pixel (5, 7) from the
    // bottom, i.e. rows 30 - 7 - 9 = 14 .. 22 from the top.
    ASSERT_EQ(run_in(folder, "pcompos -x 12 -y 9 p.hdr -5 -7 > c.hdr").status, 0);
    const auto crop = read_picture(folder / "c.hdr");
    ASSERT_TRUE(crop.ok);
    EXPECT_EQ(crop.resolution, "-Y 9 +X 12");
    EXPECT_TRUE(has_line(crop, "EXPOSURE=1.000000e+00"));
    EXPECT_TRUE(has_line(crop, "\tVIEW= -vta"));
    ASSERT_EQ(crop.pixels.size(), 108u);
    for (int r = 0; r < 9; ++r)
        for (int x = 0; x < 12; ++x)
            EXPECT_EQ(crop.pixels[static_cast<size_t>(r * 12 + x)], pixels[static_cast<size_t>((14 + r) * width + 5 + x)]);
}

TEST_F(Pcompos, ZeroSizeReachesTheEdgeAndUncoveredCanvasIsBlack) {
    ASSERT_EQ(run_in(folder, "pcompos -x 0 -y 0 tiny.hdr -1 -0 > edge.hdr").status, 0);
    const auto edge = read_picture(folder / "edge.hdr");
    EXPECT_EQ(edge.resolution, "-Y 2 +X 2");
    using namespace tiny;
    EXPECT_EQ(edge.pixels, (std::vector<RgbePixel>{B, C, E, F}));

    ASSERT_EQ(run_in(folder, "pcompos -x 4 -y 3 tiny.hdr 1 0 > wide.hdr").status, 0);
    EXPECT_EQ(read_picture(folder / "wide.hdr").pixels,
              (std::vector<RgbePixel>{{}, {}, {}, {}, {}, A, B, C, {}, D, E, F}));
}

TEST_F(Pcompos, CroppedPictureReadsBackWithTheOriginalLuminance) {
    // The input carries its exposure twice over; the crop's header must
    // leave a reader that multiplies every EXPOSURE= with the same product.
    write_file(folder / "two.hdr", picture_file({"EXPOSURE=2", "EXPOSURE=1.5"}, "-Y 2 +X 3",
                                                {tiny::A, tiny::B, tiny::C, tiny::D, tiny::E, tiny::F}, 3, false));
    ASSERT_EQ(run_in(folder, "pcompos -x 2 -y 2 two.hdr -1 -0 > c.hdr").status, 0);
    const auto before = load_luminance_map((folder / "two.hdr").string());
    const auto after = load_luminance_map((folder / "c.hdr").string());
    ASSERT_TRUE(before.ok() && after.ok());
    EXPECT_FLOAT_EQ(after.value().exposure, 3.0f);
    for (int r = 0; r < 2; ++r)
        for (int x = 0; x < 2; ++x) EXPECT_FLOAT_EQ(after.value().at(x, r), before.value().at(x + 1, r));
}

TEST_F(Pcompos, ReportsMissingAndDamagedInputsByName) {
    const auto missing = run_in(folder, "pcompos -x 2 -y 1 nosuch.hdr -0 -0 > c.hdr");
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.err, "nosuch.hdr: No such file or directory\n");
    write_file(folder / "text.hdr", "hello\n\nthere\n");
    EXPECT_EQ(run_in(folder, "pcompos -x 2 -y 1 text.hdr -0 -0 > c.hdr").err, "text.hdr: bad picture size\n");
    write_file(folder / "cut.hdr", "#?RADIANCE\n\n-Y 2 +X 3\n");
    EXPECT_EQ(run_in(folder, "pcompos -x 3 -y 2 cut.hdr -0 -0 > c.hdr").err, "cut.hdr: read error (y==1)\n");
    EXPECT_EQ(run_in(folder, "pcompos -x 2 -q 1 tiny.hdr -0 -0 > c.hdr").err.rfind("Usage: pcompos", 0), 0u);
}

}  // namespace
