// The command lines of crop, rotate, flip and resize, character for
// character, and the crop box a selection rectangle gives.

#include <gtest/gtest.h>

#include "support/comma_locale.h"
#include "tools/geometry_commands.h"

namespace {

const std::string I = "/c/dtemp.hdr";
const std::string O = "/c/dtempo.hdr";

TEST(CropBox, TruncatesEveryNumberAndMeasuresTheBottomFromBelow) {
    const auto box = crop_box({10.7f, 20.2f, 110.9f, 80.8f}, 400);
    ASSERT_TRUE(box);
    EXPECT_EQ(box->width, 100);
    EXPECT_EQ(box->height, 60);
    EXPECT_EQ(box->left, 10);
    EXPECT_EQ(box->bottom, 319);
    EXPECT_EQ(crop_command(*box, I, O), "/C pcompos -x 100 -y 60 /c/dtemp.hdr -10 -319 > /c/dtempo.hdr");
}

TEST(CropBox, TakesTheCornersInAnyOrder) {
    const auto box = crop_box({110.9f, 80.8f, 10.7f, 20.2f}, 400);
    ASSERT_TRUE(box);
    EXPECT_EQ(crop_command(*box, I, O), "/C pcompos -x 100 -y 60 /c/dtemp.hdr -10 -319 > /c/dtempo.hdr");
}

TEST(CropBox, ARectangleAtTheLeftAndBottomEdgesWritesMinusZero) {
    const auto box = crop_box({0, 50, 30, 100}, 100);
    ASSERT_TRUE(box);
    EXPECT_EQ(crop_command(*box, I, O), "/C pcompos -x 30 -y 50 /c/dtemp.hdr -0 -0 > /c/dtempo.hdr");
}

TEST(CropBox, NothingForADegenerateRectangleOrOneThinnerThanAPixel) {
    EXPECT_FALSE(crop_box({10, 20, 10, 80}, 400));
    EXPECT_FALSE(crop_box({10, 20, 110, 20}, 400));
    EXPECT_FALSE(crop_box({}, 400));
    // W or H would be 0, which pcompos reads as "to the picture's edge".
    EXPECT_FALSE(crop_box({10.2f, 20, 10.9f, 80}, 400));
    EXPECT_FALSE(crop_box({10, 20.1f, 110, 20.8f}, 400));
    EXPECT_TRUE(crop_box({10, 20, 11, 21}, 400));
}

TEST(GeometryCommands, RotateAndFlipKeepTheirBlanks) {
    EXPECT_EQ(rotate_command(I, O), "/C protate  /c/dtemp.hdr /c/dtempo.hdr");
    EXPECT_EQ(flip_command(half_turn_options, I, O), "/C pflip -c -v -h /c/dtemp.hdr /c/dtempo.hdr");
    EXPECT_EQ(flip_command(flip_horizontal_options, I, O), "/C pflip -c -h /c/dtemp.hdr /c/dtempo.hdr");
    EXPECT_EQ(flip_command(flip_vertical_options, I, O), "/C pflip -c -v /c/dtemp.hdr /c/dtempo.hdr");
}

TEST(GeometryCommands, ResizeDividesBothAxesByTheirFactors) {
    EXPECT_EQ(resize_command("2", "2", I, O), "/C pfilt -1 -e 1.000 -x /2 -y /2 /c/dtemp.hdr > /c/dtempo.hdr");
    EXPECT_EQ(resize_command("3.33333", "0.5", I, O),
              "/C pfilt -1 -e 1.000 -x /3.33333 -y /0.5 /c/dtemp.hdr > /c/dtempo.hdr");
}

TEST(DefaultDoubleFormat, PrintsSixSignificantDigitsWithoutTrailingZeros) {
    EXPECT_EQ(format_default_double(2.0), "2");
    EXPECT_EQ(format_default_double(1000.0 / 300.0), "3.33333");
    EXPECT_EQ(format_default_double(0.5), "0.5");
    EXPECT_EQ(format_default_double(1e-7), "1e-07");
    EXPECT_EQ(format_default_double(1234567.0), "1.23457e+06");
}

TEST(DefaultDoubleFormat, WritesAPointUnderACommaLocale) {
    CommaLocale locale;
    SKIP_WITHOUT_COMMA_LOCALE(locale);
    EXPECT_EQ(format_default_double(2.5), "2.5");
}

}  // namespace
