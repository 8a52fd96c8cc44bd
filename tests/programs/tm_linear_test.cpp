// tm_linear: a display-referred picture shown as ra_bmp shows it, in a JPEG;
// every failure says "Unknown".

#include <gtest/gtest.h>

#include <cmath>

#include "jpeg_test_files.h"
#include "lib/display_gamma.h"
#include "lib/rgbe_color.h"
#include "program_run.h"
#include "test_picture.h"

namespace {

// Three 16 x 16 squares side by side, stored (from the left) as the
// mantissa-128 half, 3.0 (beyond display white) and black.
std::vector<RgbePixel> three_squares() {
    std::vector<RgbePixel> pixels;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 48; ++x)
            pixels.push_back(x < 16 ? RgbePixel{128, 128, 128, 128} : x < 32 ? encode_color(3, 3, 3) : RgbePixel{});
    return pixels;
}

// Hue across, brightness down over several stops, smooth enough for JPEG.
std::vector<RgbePixel> colour_field(int width, int height) {
    std::vector<RgbePixel> pixels;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const float hue = 6.2832f * x / width, level = std::pow(2.0f, 1.0f - 6.0f * y / height);
            pixels.push_back(encode_color(level * (1 + std::cos(hue)) / 2, level * (1 + std::cos(hue - 2.1f)) / 2,
                                          level * (1 + std::cos(hue + 2.1f)) / 2));
        }
    return pixels;
}

TEST(TmLinear, WritesABaselineJfifJpegOfThePictureSizeAndPrintsNothing) {
    TempFolder folder;
    write_file(folder / "p.hdr", picture_file({"FORMAT=32-bit_rle_rgbe"}, "-Y 20 +X 50", position_pixels(50, 20), 50));
    const auto run = run_in(folder, "tm_linear -i p.hdr -o p.jpg");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out + run.err, "");
    const auto jpeg = decode_jpeg(folder / "p.jpg");
    ASSERT_TRUE(jpeg.ok);
    EXPECT_EQ(jpeg.width, 50);
    EXPECT_EQ(jpeg.height, 20);
    EXPECT_EQ(jpeg.components, 3);
    EXPECT_TRUE(jpeg.jfif);
    EXPECT_FALSE(jpeg.progressive);
}

TEST(TmLinear, ShowsStoredValuesWithTheDisplayGammaAndClipsAtWhite) {
    TempFolder folder;
    // The exposure only records how the values were scaled: it is ignored.
    write_file(folder / "s.hdr", picture_file({"EXPOSURE=4"}, "-Y 16 +X 48", three_squares(), 48));
    ASSERT_EQ(run_in(folder, "tm_linear -o s.jpg -i s.hdr").status, 0);
    const auto jpeg = decode_jpeg(folder / "s.jpg");
    ASSERT_TRUE(jpeg.ok);
    // trunc(256 (128.5 / 256)^(1 / 2.2)) as ra_bmp's table has it.
    ASSERT_EQ(display_byte(128, 128), 187);
    for (int c = 0; c < 3; ++c) {
        EXPECT_NEAR(jpeg.mean(c, 4, 4, 12, 12), 187, 1.0) << c;
        EXPECT_NEAR(jpeg.mean(c, 20, 4, 28, 12), 255, 1.0) << c;
        EXPECT_NEAR(jpeg.mean(c, 36, 4, 44, 12), 0, 1.0) << c;
    }
}

TEST(TmLinear, MatchesTheDisplayCopyOfAColourfulPicture) {
    TempFolder folder;
    const int width = 96, height = 64;
    const auto pixels = colour_field(width, height);
    write_file(folder / "c.hdr", picture_file({}, "-Y 64 +X 96", pixels, width));
    ASSERT_EQ(run_in(folder, "tm_linear -i c.hdr -o c.jpg").status, 0);
    const auto jpeg = decode_jpeg(folder / "c.jpg");
    ASSERT_EQ(jpeg.width, width);
    ASSERT_EQ(jpeg.height, height);
    double difference = 0;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const RgbePixel& p = pixels[static_cast<size_t>(y * width + x)];
            const uint8_t* got = jpeg.at(x, y);
            difference += std::abs(got[0] - display_byte(p.r, p.e)) + std::abs(got[1] - display_byte(p.g, p.e)) +
                          std::abs(got[2] - display_byte(p.b, p.e));
        }
    EXPECT_LE(difference / (3.0 * width * height), 2.0);
}

TEST(TmLinear, TreatsScanlinesAsRowsWhateverTheOrientation) {
    TempFolder folder;
    // 32 scanlines of 16 pixels running up the picture.
    write_file(folder / "t.hdr", picture_file({}, "+X 32 +Y 16", position_pixels(16, 32), 16));
    ASSERT_EQ(run_in(folder, "tm_linear -i t.hdr -o t.jpg").status, 0);
    const auto jpeg = decode_jpeg(folder / "t.jpg");
    EXPECT_EQ(jpeg.width, 16);
    EXPECT_EQ(jpeg.height, 32);
}

TEST(TmLinear, OverwritesAnExistingOutput) {
    TempFolder folder;
    write_file(folder / "s.hdr", picture_file({}, "-Y 16 +X 48", three_squares(), 48));
    write_file(folder / "s.jpg", std::string(100000, 'x'));
    const auto run = run_in(folder, "tm_linear -i s.hdr -o s.jpg");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out + run.err, "");
    EXPECT_TRUE(decode_jpeg(folder / "s.jpg").ok);
    EXPECT_LT(read_file(folder / "s.jpg").size(), 100000u);
}

struct Refusal {
    const char* command;
    const char* message;
};

class TmLinearRefusal : public ::testing::TestWithParam<Refusal> {};

TEST_P(TmLinearRefusal, SaysUnknownExitsOneAndLeavesNoOutput) {
    TempFolder folder;
    write_file(folder / "s.hdr", picture_file({}, "-Y 16 +X 48", three_squares(), 48));
    write_file(folder / "text.hdr", "just some words\n\nand more\n");
    write_file(folder / "other.hdr", "#?RADIANCE\nFORMAT=32-bit_rle_xyze\n\n-Y 1 +X 1\nabcd");
    write_file(folder / "short.hdr", picture_file({}, "-Y 16 +X 48", three_squares(), 48).substr(0, 300));
    const auto run = run_in(folder, GetParam().command);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, std::string("tm_linear: ") + GetParam().message + "\n");
    EXPECT_FALSE(std::filesystem::exists(folder / "o.jpg"));
}

INSTANTIATE_TEST_SUITE_P(
    Failures, TmLinearRefusal,
    ::testing::Values(Refusal{"tm_linear -i s.hdr -o o.jpg -q", "Unknown option: -q"},
                      Refusal{"tm_linear -i s.hdr", "Unknown usage: -i and -o are required"},
                      Refusal{"tm_linear -o o.jpg -i", "Unknown value for -i: missing"},
                      Refusal{"tm_linear -i none.hdr -o o.jpg", "Unknown input: cannot open none.hdr"},
                      Refusal{"tm_linear -i text.hdr -o o.jpg", "Unknown input format: text.hdr has no picture size"},
                      Refusal{"tm_linear -i other.hdr -o o.jpg",
                              "Unknown input format: other.hdr is not a Radiance picture"},
                      Refusal{"tm_linear -i short.hdr -o o.jpg", "Unknown input: error reading short.hdr"},
                      Refusal{"tm_linear -i s.hdr -o missing/o.jpg", "Unknown output: cannot write missing/o.jpg"}));

TEST(TmLinear, ExportsPcondOutputOfARealPhotographWithoutClippingItsLuminance) {
    const std::string photo = shared_picture("fisheye_photo_544.hdr");
    if (photo.empty()) GTEST_SKIP() << "shared pictures are not on this machine";
    TempFolder folder;
    ASSERT_EQ(run_in(folder, "pcond " + photo + " > c.hdr && tm_linear -i c.hdr -o c.jpg").status, 0);
    const auto conditioned = read_picture(folder / "c.hdr");
    const auto jpeg = decode_jpeg(folder / "c.jpg");
    ASSERT_EQ(jpeg.width, 544);
    ASSERT_EQ(jpeg.height, 544);
    double expected = 0;
    for (const auto& p : conditioned.pixels) expected += display_byte(p.g, p.e);
    expected /= double(conditioned.pixels.size());
    EXPECT_NEAR(jpeg.mean(1), expected, 1.0);
}

}  // namespace
