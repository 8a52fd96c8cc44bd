// pextrem: the darkest and brightest pixel, positions from the lower left,
// stored values, and which pixel wins a tie.

#include <gtest/gtest.h>

#include "lib/rgbe_color.h"
#include "program_run.h"
#include "test_picture.h"

namespace {

TEST(Pextrem, PrintsTheDarkestAndBrightestPixelOfTiny) {
    TempFolder folder;
    write_file(folder / "tiny.hdr", tiny_picture_bytes());
    const auto run = run_in(folder, "pextrem tiny.hdr");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "2 1\t0.00e+00 0.00e+00 0.00e+00\n1 0\t1.28e+02 1.28e+02 1.28e+02\n");
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(run_in(folder, "pextrem -o tiny.hdr").out, "2 1\t0.00e+00 0.00e+00 0.00e+00\n1 0\t6.42e+01 6.42e+01 6.42e+01\n");
}

TEST(Pextrem, CountsYFromTheBottomAndKeepsTheFirstVisitedOfEqualPixels) {
    TempFolder folder;
    // Equal extremes at several places: visiting runs from the top scanline
    // and, within a scanline, from the right.
    const RgbePixel dim = encode_color(0.01f, 0.01f, 0.01f), bright = encode_color(50, 50, 50), mid = encode_color(1, 1, 1);
    std::vector<RgbePixel> pixels(20, mid);
    pixels[1 * 5 + 1] = dim;     // row 1 from the top: y = 2
    pixels[3 * 5 + 4] = dim;     // y = 0, visited later
    pixels[2 * 5 + 0] = bright;  // y = 1, left
    pixels[2 * 5 + 3] = bright;  // y = 1, right: visited first
    write_file(folder / "p.hdr", picture_file({}, "-Y 4 +X 5", pixels, 5));
    const auto run = run_in(folder, "pextrem p.hdr");
    char expected[200];
    const Color3 d = decode_color(dim), b = decode_color(bright);
    std::snprintf(expected, sizeof expected, "1 2\t%.2e %.2e %.2e\n3 1\t%.2e %.2e %.2e\n", d.r, d.g, d.b, b.r, b.g, b.b);
    EXPECT_EQ(run.out, expected);
}

TEST(Pextrem, RanksByExponentThenByIntegerBrightness) {
    TempFolder folder;
    // Same exponent: green weighs most; a smaller exponent always loses.
    const std::vector<RgbePixel> pixels = {{200, 10, 10, 130}, {10, 150, 10, 130}, {255, 255, 255, 129}, {3, 3, 3, 131}};
    write_file(folder / "p.hdr", picture_file({}, "-Y 1 +X 4", pixels, 4, false));
    const auto out = run_in(folder, "pextrem p.hdr").out;
    EXPECT_EQ(out.substr(0, 2), "2 ");
    EXPECT_EQ(out.substr(out.find('\n') + 1, 2), "3 ");
}

TEST(Pextrem, ReportsTheLowerLeftCornerAsBrightestOfABlackPicture) {
    TempFolder folder;
    write_file(folder / "black.hdr", picture_file({}, "-Y 2 +X 2", std::vector<RgbePixel>(4), 2, false));
    EXPECT_EQ(run_in(folder, "pextrem black.hdr").out, "1 1\t0.00e+00 0.00e+00 0.00e+00\n0 0\t0.00e+00 0.00e+00 0.00e+00\n");
}

TEST(Pextrem, ReportsInputsItCannotUse) {
    TempFolder folder;
    const auto missing = run_in(folder, "pextrem nosuch.hdr");
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.out, "");
    EXPECT_EQ(missing.err, "pextrem: can't open input \"nosuch.hdr\"\n");
    write_file(folder / "text.hdr", "words\n\nno size\n");
    EXPECT_EQ(run_in(folder, "pextrem text.hdr").err, "pextrem: bad picture format\n");
    write_file(folder / "cut.hdr", "#?RADIANCE\n\n-Y 2 +X 2\n\x80\x80\x80\x80");
    EXPECT_EQ(run_in(folder, "pextrem cut.hdr").err, "pextrem: read error on input\n");
}

}  // namespace
