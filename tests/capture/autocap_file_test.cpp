#include <gtest/gtest.h>

#include "capture/autocap_file.h"
#include "support/temp_folder.h"

namespace {

std::vector<std::pair<uint32_t, uint32_t>> codes_of(const AutocapList& list) {
    std::vector<std::pair<uint32_t, uint32_t>> codes;
    for (const AutoExposure& entry : list.entries) codes.emplace_back(entry.aperture, entry.shutter);
    return codes;
}

}  // namespace

TEST(AutocapFile, ReadsTwoLinesWithWhiteSpaceAnywhereInFileOrder) {
    TempFolder folder;
    write_file(folder / "autocap.asf", "F8, 1/125\r\nF 8,1/250\r\n");
    AutocapList list = read_autocap_file(folder / "autocap.asf");
    ASSERT_EQ(list.status, AutocapList::Status::ok);
    EXPECT_EQ(codes_of(list), (std::vector<std::pair<uint32_t, uint32_t>>{{0x38, 0x70}, {0x38, 0x78}}));
    EXPECT_EQ(list.entries[0].text, "F8,1/125");
}

TEST(AutocapFile, SkipsLinesThatHoldOnlyWhiteSpace) {
    AutocapList list = parse_autocap({"", " \t\v\f", "F5.6,0\"5", "   "});
    ASSERT_EQ(list.status, AutocapList::Status::ok);
    EXPECT_EQ(codes_of(list), (std::vector<std::pair<uint32_t, uint32_t>>{{0x30, 0x40}}));
}

TEST(AutocapFile, OfOnlyWhiteSpaceHoldsNoExposure) {
    AutocapList list = parse_autocap({" ", "\t"});
    EXPECT_EQ(list.status, AutocapList::Status::ok);
    EXPECT_TRUE(list.entries.empty());
}

TEST(AutocapFile, WithADamagedThirdLineKeepsNoEntryAtAll) {
    AutocapList list = parse_autocap({"F8,1/125", "F8,1/250", "F8 1/500"});
    EXPECT_EQ(list.status, AutocapList::Status::damaged);
    EXPECT_EQ(list.damaged_entry, 2u);
    EXPECT_TRUE(list.entries.empty());
}

TEST(AutocapFile, CountsAShutterLabelNotInTheTableAsDamage) {
    EXPECT_EQ(parse_autocap({"F8,1/7"}).status, AutocapList::Status::damaged);
    EXPECT_EQ(parse_autocap({"F8,1/125s"}).status, AutocapList::Status::damaged);
    EXPECT_EQ(parse_autocap({"F8,1/125,F8"}).status, AutocapList::Status::damaged);
}

TEST(AutocapFile, CountsAMissingOrUnknownApertureAsDamage) {
    EXPECT_EQ(parse_autocap({",1/125"}).status, AutocapList::Status::damaged);
    EXPECT_EQ(parse_autocap({"F,1/125"}).status, AutocapList::Status::damaged);
    EXPECT_EQ(parse_autocap({"8,1/125"}).status, AutocapList::Status::damaged);
    EXPECT_EQ(parse_autocap({"F7,1/125"}).status, AutocapList::Status::damaged);
}

TEST(AutocapFile, AcceptsAnyFirstCharacterBeforeTheAperture) {
    EXPECT_EQ(codes_of(parse_autocap({"x11,1/60"})), (std::vector<std::pair<uint32_t, uint32_t>>{{0x40, 0x68}}));
}

TEST(AutocapFile, KeepsEveryEntryOfALongList) {
    std::vector<std::string> lines(100, "F8,1/125");
    EXPECT_EQ(parse_autocap(lines).entries.size(), 100u);
}

TEST(AutocapFile, ThatCannotBeOpenedIsMissing) {
    TempFolder folder;
    EXPECT_EQ(read_autocap_file(folder / "autocap.asf").status, AutocapList::Status::missing);
}
