#include <gtest/gtest.h>

#include <map>

#include "capture/exposure_tables.h"

namespace {

// Labels that occur more than once, in table order.
std::vector<std::string> repeated_labels(std::span<const ExposureRow> rows) {
    std::map<std::string, int> seen;
    std::vector<std::string> repeated;
    for (const ExposureRow& row : rows)
        if (++seen[row.label] == 2) repeated.push_back(row.label);
    return repeated;
}

}  // namespace

TEST(ExposureTables, HoldFiftySevenShutterSpeedsFromTwoSecondsToOneEightThousandth) {
    auto table = shutter_speed_table();
    ASSERT_EQ(table.size(), 57u);
    EXPECT_STREQ(table.front().label, "2\"");
    EXPECT_EQ(table.front().code, 0x30u);
    EXPECT_STREQ(table.back().label, "1/8000");
    EXPECT_EQ(table.back().code, 0xA0u);
}

TEST(ExposureTables, HoldFiftyThreeAperturesFromF1ToF91) {
    auto table = aperture_table();
    ASSERT_EQ(table.size(), 53u);
    EXPECT_STREQ(table.front().label, "1");
    EXPECT_EQ(table.front().code, 0x08u);
    EXPECT_STREQ(table.back().label, "91");
    EXPECT_EQ(table.back().code, 0x70u);
}

TEST(ExposureTables, KeepTheirRepeatedLabels) {
    EXPECT_EQ(repeated_labels(shutter_speed_table()), (std::vector<std::string>{"0\"3", "1/6", "1/10", "1/20"}));
    EXPECT_EQ(repeated_labels(aperture_table()),
              (std::vector<std::string>{"1.2", "1.8", "2.5", "3.5", "4.5", "13"}));
}

TEST(ShutterCode, OfOneSixthIsTheFirstOfItsTwoCodes) { EXPECT_EQ(shutter_code("1/6"), 0x4Cu); }

TEST(ShutterCode, ComparesTheLabelExactly) {
    EXPECT_EQ(shutter_code("0\"5"), 0x40u);
    EXPECT_EQ(shutter_code("1/125"), 0x70u);
    EXPECT_EQ(shutter_code("1/125s"), 0u);
    EXPECT_EQ(shutter_code("1/7"), 0u);
    EXPECT_EQ(shutter_code(""), 0u);
}

TEST(ShutterLabel, GivesTheTextOfACodeAndNothingForAnUnknownOne) {
    EXPECT_EQ(shutter_label(0x4D), "1/6");
    EXPECT_EQ(shutter_label(0x35), "1\"3");
    EXPECT_EQ(shutter_label(0x10), "");
}

TEST(ApertureCode, OfF18IsTheFirstOfItsTwoCodes) { EXPECT_EQ(aperture_code("F1.8"), 0x14u); }

TEST(ApertureCode, IgnoresWhateverTheFirstCharacterIs) {
    EXPECT_EQ(aperture_code("X5.6"), 0x30u);
    EXPECT_EQ(aperture_code("f8"), 0x38u);
}

TEST(ApertureCode, DropsTheFirstDigitOfATextWithoutPrefix) { EXPECT_EQ(aperture_code("5.6"), 0u); }

TEST(ApertureCode, DropsAMultiByteFirstCharacterWhole) { EXPECT_EQ(aperture_code("\xC6\x92" "5.6"), 0x30u); }

TEST(ApertureCode, OfAnEmptyTextOrAPrefixAloneIsZero) {
    EXPECT_EQ(aperture_code(""), 0u);
    EXPECT_EQ(aperture_code("F"), 0u);
}

TEST(ApertureLabel, PutsAnFBeforeTheLabelOrStandsAloneForAnUnknownCode) {
    EXPECT_EQ(aperture_label(0x30), "F5.6");
    EXPECT_EQ(aperture_label(0x25), "F3.5");
    EXPECT_EQ(aperture_label(0x01), "F");
}
