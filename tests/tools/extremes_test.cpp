// The extremes reader: pextrem's two lines as luminance, and pextrem run on
// a picture.

#include <gtest/gtest.h>

#include "macro/macro_recorder.h"
#include "picture/rgbe_writer.h"
#include "support/scripted_desktop.h"
#include "support/temp_folder.h"
#include "tools/extremes.h"
#include "tools/process_runner.h"

namespace {

TEST(ParseExtremes, BlackAndWhiteAtExposureOneGiveZeroAnd179) {
    const Extremes e = parse_extremes("0 0\t0.00e+00 0.00e+00 0.00e+00\n0 0\t1.00e+00 1.00e+00 1.00e+00\n", 1.0f);
    EXPECT_EQ(e.minimum, 0.0f);
    EXPECT_FLOAT_EQ(e.maximum, 179.0f);
}

TEST(ParseExtremes, LineFeedsSeparateTokensLikeBlanks) {
    // Were the line feed not a separator, "0.00e+00\n1" would be one token
    // and every later number would shift by one.
    const Extremes lf = parse_extremes("2 1\t0.00e+00 0.00e+00 0.00e+00\n1 0\t1.28e+02 1.28e+02 1.28e+02\n", 2.0f);
    EXPECT_EQ(lf.minimum, 0.0f);
    EXPECT_FLOAT_EQ(lf.maximum, 128.0f * 179.0f / 2.0f);
    const Extremes crlf =
        parse_extremes("2 1\t0.00e+00 0.00e+00 0.00e+00\r\n1 0\t1.28e+02 1.28e+02 1.28e+02\r\n", 2.0f);
    EXPECT_EQ(crlf.maximum, lf.maximum);
}

TEST(ParseExtremes, WeighsTheChannelsByTheirLuminanceShare) {
    const Extremes e = parse_extremes("0 0\t1 0 0\n5 5\t0 1 0\n", 1.0f);
    EXPECT_FLOAT_EQ(e.minimum, 0.2126f * 179.0f);
    EXPECT_FLOAT_EQ(e.maximum, 0.7152f * 179.0f);
}

TEST(ParseExtremes, MissingTokensReadAsZero) {
    EXPECT_EQ(parse_extremes("", 1.0f).maximum, 0.0f);
    const Extremes short_output = parse_extremes("1 2 3", 1.0f);
    EXPECT_FLOAT_EQ(short_output.minimum, 0.2126f * 3.0f * 179.0f);
    EXPECT_EQ(short_output.maximum, 0.0f);
}

class ReadExtremes : public ::testing::Test {
protected:
    void SetUp() override { runner.set_program_folder(CANDELUX_PROGRAMS_DIR); }
    TempFolder folder;
    ScriptedDesktop desktop;
    MacroRecorder recorder;
    ProcessRunner runner{desktop, recorder};
};

TEST_F(ReadExtremes, RunsPextremOnAPictureAndClosesTheProgressWindow) {
    EXPECT_EQ(extremes_command("/p.hdr"), "/C pextrem /p.hdr");
    RgbePictureHeader header;
    header.resolution = standard_resolution(3, 2);
    // Grey 0.5, 4, 0.25 (twice), 1 and black.
    const std::vector<RgbePixel> pixels = {{128, 128, 128, 128}, {128, 128, 128, 131}, {128, 128, 128, 127},
                                           {128, 128, 128, 127}, {128, 128, 128, 129}, {0, 0, 0, 0}};
    const std::string path = (folder / "p.hdr").string();
    ASSERT_TRUE(write_rgbe_picture(path, header, pixels));
    const Extremes e = read_extremes(runner, desktop, path, 2.0f);
    EXPECT_EQ(e.minimum, 0.0f);
    // pextrem prints the brightest pixel (4.015625 stored) as 4.02e+00.
    EXPECT_FLOAT_EQ(e.maximum, 4.02f * 179.0f / 2.0f);
    EXPECT_EQ(desktop.progress_shows, 1);
    EXPECT_FALSE(desktop.progress_shown());
}

TEST_F(ReadExtremes, AFailingPextremGivesZeroAndZero) {
    const Extremes e = read_extremes(runner, desktop, (folder / "none.hdr").string(), 1.0f);
    EXPECT_EQ(e.minimum, 0.0f);
    EXPECT_EQ(e.maximum, 0.0f);
    EXPECT_TRUE(desktop.messages.empty());
}

}  // namespace
