// pflip -c: mirrors the scan order and keeps the resolution line.

#include <gtest/gtest.h>

#include "program_run.h"
#include "test_picture.h"

namespace {

class Pflip : public ::testing::Test {
protected:
    void SetUp() override { write_file(folder / "tiny.hdr", tiny_picture_bytes()); }
    TempFolder folder;
};

TEST_F(Pflip, HorizontalReversesEveryScanlineAndRecordsTheOptions) {
    const auto run = run_in(folder, "pflip -c -h tiny.hdr fh.hdr");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out + run.err, "");
    const auto flipped = read_picture(folder / "fh.hdr");
    ASSERT_TRUE(flipped.ok);
    EXPECT_EQ(flipped.header,
              (std::vector<std::string>{"#?RADIANCE", "EXPOSURE=2", "FORMAT=32-bit_rle_rgbe", "pflip -c -h"}));
    EXPECT_EQ(flipped.resolution, "-Y 2 +X 3");
    using namespace tiny;
    EXPECT_EQ(flipped.pixels, (std::vector<RgbePixel>{C, B, A, F, E, D}));
}

TEST_F(Pflip, VerticalReversesTheScanlineOrder) {
    ASSERT_EQ(run_in(folder, "pflip -c -v tiny.hdr fv.hdr").status, 0);
    using namespace tiny;
    EXPECT_EQ(read_picture(folder / "fv.hdr").pixels, (std::vector<RgbePixel>{D, E, F, A, B, C}));
}

TEST_F(Pflip, TwoHorizontalFlipsAreTheIdentity) {
    const auto pixels = position_pixels(300, 7);
    write_file(folder / "p.hdr", picture_file({}, "-Y 7 +X 300", pixels, 300));
    ASSERT_EQ(run_in(folder, "pflip -c -h p.hdr a.hdr && pflip -c -h a.hdr b.hdr").status, 0);
    const auto once = read_picture(folder / "a.hdr");
    EXPECT_EQ(once.pixels[3 * 300 + 10], pixels[3 * 300 + 289]);
    EXPECT_EQ(read_picture(folder / "b.hdr").pixels, pixels);
}

TEST_F(Pflip, BothFlipsEqualTwoQuarterTurns) {
    const auto pixels = position_pixels(9, 5);
    write_file(folder / "p.hdr", picture_file({}, "-Y 5 +X 9", pixels, 9));
    ASSERT_EQ(run_in(folder, "pflip -c -v -h p.hdr half.hdr && protate  p.hdr r1.hdr && protate  r1.hdr r2.hdr").status, 0);
    const auto half = read_picture(folder / "half.hdr");
    EXPECT_EQ(half.header.back(), "pflip -c -v -h");
    EXPECT_EQ(half.pixels, read_picture(folder / "r2.hdr").pixels);
    EXPECT_EQ(half.pixels.front(), pixels.back());
}

TEST_F(Pflip, ReportsMissingAndDamagedInputs) {
    const auto missing = run_in(folder, "pflip -c -h nosuch.hdr o.hdr");
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.err, "nosuch.hdr: cannot open\n");
    write_file(folder / "text.hdr", "hello\n");
    EXPECT_EQ(run_in(folder, "pflip -c -h text.hdr o.hdr").err, "pflip: input not a Radiance picture\n");
    write_file(folder / "cut.hdr", "#?RADIANCE\n\n-Y 2 +X 3\n\x80\x80\x80\x80");
    EXPECT_EQ(run_in(folder, "pflip -c -h cut.hdr o.hdr").err, "pflip: read error\n");
    const auto unknown = run_in(folder, "pflip -c -x tiny.hdr o.hdr");
    EXPECT_EQ(unknown.status, 1);
    EXPECT_EQ(unknown.err.rfind("Usage: pflip", 0), 0u);
}

}  // namespace
