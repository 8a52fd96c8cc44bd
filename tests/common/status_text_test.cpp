// The status bar texts.

#include <gtest/gtest.h>

#include "common/status_text.h"

TEST(StatusText, ShowsZoomAsRoundedPercent) {
    EXPECT_EQ(status_zoom_text(0.3f), "\t30%");
    EXPECT_EQ(status_zoom_text(0.05f), "\t5%");
    EXPECT_EQ(status_zoom_text(1.0f), "\t100%");
    EXPECT_EQ(status_zoom_text(3.95f), "\t395%");
}

TEST(StatusText, ShowsTheLuminanceRightAlignedWithOneDecimal) {
    EXPECT_EQ(status_luminance_text(13567.48f), "          13567.5 cd/m\u00b2");
    EXPECT_EQ(status_luminance_text(0.0f), "              0.0 cd/m\u00b2");
}

TEST(StatusText, KeepsLuminanceAndExposureWithin31Characters) {
    const std::string huge = status_luminance_text(1e30f);
    EXPECT_EQ(huge.substr(0, 5), "     ");
    EXPECT_EQ(huge, truncate_characters(huge, 31));
    size_t characters = 0;
    for (unsigned char c : huge) characters += (c & 0xC0) != 0x80;
    EXPECT_EQ(characters, 31u);
    EXPECT_EQ(status_exposure_text(1.0f), "\tExposure = 1.000000");
    EXPECT_EQ(status_exposure_text(1e20f).size(), 31u);
}

TEST(StatusText, CutsCoordinatesTowardZero) {
    EXPECT_EQ(status_rectangle_text(10.7f, 20.2f, 100.9f, 50.5f), "\t10,20 \u2192 100,50");
    EXPECT_EQ(status_position_text(639.99f, 0.5f), "\t639,0");
    EXPECT_EQ(status_resolution_text(640, 480), "\t640x480");
}

TEST(StatusText, TruncatesByCharactersNotBytes) {
    EXPECT_EQ(truncate_characters("ab\u00b2cd", 3), "ab\u00b2");
    EXPECT_EQ(truncate_characters("abc", 10), "abc");
}
