// Number formatting and reading: the forms files and command lines need, and
// the same forms whatever locale the user runs under.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>

#include "common/text_format.h"
#include "support/comma_locale.h"

namespace {

TEST(TextFormat, FormatsLikeADefaultStreamAndLikePercentF) {
    EXPECT_EQ(format_default(0.5f), "0.5");
    EXPECT_EQ(format_default(3.2987e-5f), "3.2987e-05");
    EXPECT_EQ(format_default(1234567.0f), "1.23457e+06");
    EXPECT_EQ(format_fixed6(2000.5), "2000.500000");
}

TEST(TextFormat, WritesCommandLinesAndReportFiguresInTheCFormUnderACommaLocale) {
    CommaLocale german;
    SKIP_WITHOUT_COMMA_LOCALE(german);
    char raw[32];
    std::snprintf(raw, sizeof raw, "%f", 0.5);
    ASSERT_STREQ(raw, "0,500000") << "the locale is not in effect, so this test would prove nothing";

    EXPECT_EQ(strprintf("/C pfilt -1 -e %f %s > %s", 0.5, "a.hdr", "b.hdr"), "/C pfilt -1 -e 0.500000 a.hdr > b.hdr");
    EXPECT_EQ(format_fixed6(2000.5), "2000.500000");
    EXPECT_EQ(format_default(2.5f), "2.5");
    EXPECT_EQ(parse_decimal_float("2.5"), 2.5f);
}

TEST(ParseDecimalFloat, ReadsTheLeadingDecimalAsStrtofWouldInTheCLocale) {
    EXPECT_EQ(parse_decimal_float("  +2.5e1 rest"), 25.0f);
    EXPECT_EQ(parse_decimal_float("-0.25"), -0.25f);
    EXPECT_EQ(parse_decimal_float("0x10"), 0.0f);
    EXPECT_EQ(parse_decimal_float("abc"), 0.0f);
    EXPECT_EQ(parse_decimal_float(""), 0.0f);
    EXPECT_TRUE(std::isinf(parse_decimal_float("1e99")));
    EXPECT_EQ(parse_decimal_float("1e-99"), 0.0f);
}

}  // namespace
