// Header text: getinfo's command lines, its output cut into lines, the
// header dialog's text both ways, and the header a projection's input gets.

#include <gtest/gtest.h>

#include "common/text_format.h"
#include "tools/header_text.h"

namespace {

TEST(HeaderCommands, KeepTheirBlanksCharacterForCharacter) {
    EXPECT_EQ(header_read_for_editing_command("/c/dtemp.hdr", "/c/dtemp.txt"),
              "/C getinfo /c/dtemp.hdr  > /c/dtemp.txt");
    EXPECT_EQ(header_put_back_command("/c/dtemp.hdr", "/c/dtemp.txt"), "/C getinfo - < /c/dtemp.hdr>> /c/dtemp.txt");
    EXPECT_EQ(header_read_command("/c/dtemp.hdr"), "/C getinfo /c/dtemp.hdr");
}

TEST(HeaderLines, CutsGetinfoOutputAtLineFeedAndTabWithOrWithoutCarriageReturn) {
    const std::vector<std::string> expected = {"#?RADIANCE", "FORMAT=32-bit_rle_rgbe", "EXPOSURE=2"};
    EXPECT_EQ(header_lines_of("tiny.hdr:\n\t#?RADIANCE\n\tFORMAT=32-bit_rle_rgbe\n\tEXPOSURE=2\n\t\n"), expected);
    EXPECT_EQ(header_lines_of("tiny.hdr:\r\n\t#?RADIANCE\r\n\tFORMAT=32-bit_rle_rgbe\r\n\tEXPOSURE=2\r\n\t\r\n"),
              expected);
}

TEST(HeaderLines, KeepANestedLinesOwnTabAndALastLineWithoutItsEnding) {
    EXPECT_EQ(header_lines_of("p:\n\tin.hdr:\n\t\tEXPOSURE=2\n\tEXPOSURE=2\n"),
              (std::vector<std::string>{"in.hdr:", "\tEXPOSURE=2", "EXPOSURE=2"}));
}

TEST(HeaderLines, NoneInAnErrorLine) {
    EXPECT_TRUE(header_lines_of("nosuch.hdr: cannot open\n").empty());
    EXPECT_TRUE(header_lines_of("").empty());
}

TEST(HeaderEditText, LeavesOutTheNameLineAndTheTabs) {
    EXPECT_EQ(header_edit_text("/c/dtemp.hdr:\n\t#?RADIANCE\n\tin.hdr:\n\t\tEXPOSURE=2\n\tFORMAT=32-bit_rle_rgbe\n\t\n"),
              "#?RADIANCE\nin.hdr:\nEXPOSURE=2\nFORMAT=32-bit_rle_rgbe\n\n");
    EXPECT_EQ(header_edit_text("p:\r\n\tA=1\r\n\t\r\n"), "A=1\n\n");
    EXPECT_EQ(header_edit_text("no line end"), "");
}

TEST(HeaderEditText, BytesThatAreNotUtf8ReadAsReplacementCharacters) {
    EXPECT_EQ(readable_edit_text("OWNER= caf\xe9\n"), "OWNER= caf\xEF\xBF\xBD\n");
    EXPECT_EQ(readable_edit_text("caf\xc3\xa9 \xe2\x82\xac \xf0\x9f\x98\x80"), "caf\xc3\xa9 \xe2\x82\xac \xf0\x9f\x98\x80");
    // Overlong, surrogate, cut short, past U+10FFFF, NUL: one mark per byte.
    EXPECT_EQ(readable_edit_text(std::string("\xc0\xaf", 2)), "\xEF\xBF\xBD\xEF\xBF\xBD");
    EXPECT_EQ(readable_edit_text("\xed\xa0\x80"), "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD");
    EXPECT_EQ(readable_edit_text("a\xe2\x82"), "a\xEF\xBF\xBD\xEF\xBF\xBD");
    EXPECT_EQ(readable_edit_text("\xf4\x90\x80\x80").size(), 12u);
    EXPECT_EQ(readable_edit_text(std::string("a\0b", 3)), "a\xEF\xBF\xBD" "b");
}

TEST(HeaderEditText, UneditedLinesGetTheirOwnBytesBack) {
    const std::string original = "#?RADIANCE\nOWNER= caf\xe9\nNOTE= \xff one\nNOTE= \xff one\n";
    const std::string shown = readable_edit_text(original);
    EXPECT_EQ(with_unedited_bytes(shown, original), original);
    // Another line added, one of the odd lines edited: the others keep their bytes.
    std::string edited = shown;
    edited.replace(edited.find("one\n"), 3, "two");
    edited += "SOFTWARE= typed\n";
    EXPECT_EQ(with_unedited_bytes(edited, original),
              "#?RADIANCE\nOWNER= caf\xe9\nNOTE= \xEF\xBF\xBD two\nNOTE= \xff one\nSOFTWARE= typed\n");
    EXPECT_EQ(with_unedited_bytes("A\nB", "A\nB"), "A\nB");
}

TEST(HeaderFileText, DropsEmptyAndOneCharacterLinesAndEndsWithTheEmptyLine) {
    EXPECT_EQ(header_file_text("#?RADIANCE\n \nEXPOSURE=2\r\nx\n\nSOFTWARE= me"),
              "#?RADIANCE\nEXPOSURE=2\nSOFTWARE= me\n\n");
    EXPECT_EQ(header_file_text(""), "\n");
}

TEST(ProjectionHeader, KeepsOnlyThePicturesOwnLinesAndAddsExposureAndView) {
    const std::vector<std::string> lines = {"#?RADIANCE",
                                            "CAPDATE= 2024:01:01 10:00:00",
                                            "pfilt -1 -e 2",
                                            "EXPOSURE=2",
                                            "VIEW= -vtv -vh 40 -vv 30",
                                            "in.hdr:",
                                            "\tEXPOSURE=4",
                                            "SOFTWARE= camera 1.0",
                                            "FORMAT=32-bit_rle_rgbe",
                                            "PRIMARIES= 0.64 0.33 0.3 0.6 0.15 0.06 0.3127 0.329",
                                            "CAMERA= Canon"};
    EXPECT_EQ(projection_header(lines, 8.0f),
              "#?RADIANCE\n"
              "EXPOSURE=8\n"
              "VIEW= -vta -vh 180 -vv 180\n"
              "SOFTWARE= camera 1.0\n"
              "FORMAT=32-bit_rle_rgbe\n"
              "PRIMARIES= 0.64 0.33 0.3 0.6 0.15 0.06 0.3127 0.329\n"
              "CAMERA= Canon\n"
              "\n");
}

TEST(ProjectionHeader, AlwaysWritesOneExposureAndOneViewLine) {
    EXPECT_EQ(projection_header({"#?RADIANCE", "FORMAT=32-bit_rle_rgbe"}, 1.0f),
              "#?RADIANCE\nFORMAT=32-bit_rle_rgbe\nEXPOSURE=1\nVIEW= -vta -vh 180 -vv 180\n\n");
    // An exposure line that is the header's last line counts like any other.
    EXPECT_EQ(projection_header({"#?RADIANCE", "EXPOSURE=3"}, 3.0f),
              "#?RADIANCE\nEXPOSURE=3\nVIEW= -vta -vh 180 -vv 180\n\n");
    EXPECT_EQ(projection_header({}, 1.0f), "EXPOSURE=1\nVIEW= -vta -vh 180 -vv 180\n\n");
}

TEST(ExposureLine, ReadsBackAsExactlyTheSameFloat) {
    for (float exposure : {1.0f, 0.1f, 1.2345678f, 3.0e-7f, 123456.79f, 1.0f / 3.0f}) {
        const std::string line = exposure_line(exposure);
        ASSERT_EQ(line.rfind("EXPOSURE=", 0), 0u);
        EXPECT_EQ(parse_decimal_float(line.substr(9)), exposure) << line;
    }
    EXPECT_EQ(exposure_line(3.0e-7f), "EXPOSURE=3e-07");
}

}  // namespace
