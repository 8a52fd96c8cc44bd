// Sequence files: the three fields of a line, the numbers with their base
// prefixes, line ends, and the name a recording is saved under.

#include <gtest/gtest.h>

#include "macro/sequence_file.h"

TEST(SequenceFile, SplitsEachLineAtItsFirstTwoHashes) {
    const auto entries = parse_sequence("40013#/C protate  /c/dtemp.hdr /c/dtempo.hdr#NULL\r\n");
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].number, 40013u);
    EXPECT_EQ(entries[0].command, "/C protate  /c/dtemp.hdr /c/dtempo.hdr");
    EXPECT_EQ(entries[0].value, "NULL");
    EXPECT_EQ(entries[0].line, "40013#/C protate  /c/dtemp.hdr /c/dtempo.hdr#NULL");
}

TEST(SequenceFile, AFinalLineEndLeavesOneEmptyEntry) {
    const auto entries = parse_sequence("1#a#NULL\r\n2#b#NULL\r\n");
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[2].line, "");
    EXPECT_FALSE(entries[2].number.has_value());
    EXPECT_EQ(parse_sequence("1#a#NULL").size(), 1u);
    EXPECT_EQ(parse_sequence("1#a#NULL\n2#b#NULL").size(), 2u) << "bare line feeds work too";
}

TEST(SequenceFile, ALineWithoutHashIsAllCommandAndHasNoNumber) {
    const auto entries = parse_sequence("/C pflip -c -h a b");
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_FALSE(entries[0].number.has_value());
    EXPECT_EQ(entries[0].command, "/C pflip -c -h a b");
    EXPECT_EQ(entries[0].value, "");
}

TEST(SequenceFile, ALineWithOneHashRunsToItsEnd) {
    const auto entries = parse_sequence("40015#/C pflip -c -h a b");
    EXPECT_EQ(entries[0].number, 40015u);
    EXPECT_EQ(entries[0].command, "/C pflip -c -h a b");
    EXPECT_EQ(entries[0].value, "/C pflip -c -h a b") << "the value is what follows the last hash";
}

TEST(SequenceFile, TheValueIsWhatFollowsTheLastHash) {
    const auto entries = parse_sequence("40018#/C pfilt#x#2.5");
    EXPECT_EQ(entries[0].command, "/C pfilt");
    EXPECT_EQ(entries[0].value, "2.5");
}

TEST(SequenceFile, CommandNumbersTakeTheirBaseFromTheirPrefix) {
    EXPECT_EQ(parse_command_number("40018"), 40018u);
    EXPECT_EQ(parse_command_number("0x9C52"), 40018u);
    EXPECT_EQ(parse_command_number("0116122"), 40018u);
    EXPECT_EQ(parse_command_number("  +12abc"), 12u);
    EXPECT_EQ(parse_command_number("089"), 0u) << "8 is no octal digit";
    EXPECT_EQ(parse_command_number("0x"), 0u);
    EXPECT_EQ(parse_command_number("abc"), 0u);
    EXPECT_EQ(parse_command_number(""), 0u);
}

TEST(SequenceFile, FormatsTheThreeFieldsWithHashes) {
    EXPECT_EQ(format_sequence_line(40018, "/C pfilt -1 -e 4 a > b", "2"), "40018#/C pfilt -1 -e 4 a > b#2");
    EXPECT_EQ(format_sequence_line(40013, "/C protate  a b", "NULL"), "40013#/C protate  a b#NULL");
}

TEST(SequenceFile, AppendsSeqUnlessTheNameEndsInIt) {
    EXPECT_EQ(with_sequence_extension("/home/u/rotate"), "/home/u/rotate.seq");
    EXPECT_EQ(with_sequence_extension("/home/u/rotate.txt"), "/home/u/rotate.txt.seq");
    EXPECT_EQ(with_sequence_extension("/home/u/rotate.seq"), "/home/u/rotate.seq");
    EXPECT_EQ(with_sequence_extension("/home/u/rotate.SEQ"), "/home/u/rotate.SEQ.seq") << "the rule is as written";
    EXPECT_EQ(with_sequence_extension("/home/u/seqence"), "/home/u/seqence.seq");
    EXPECT_EQ(with_sequence_extension("/home/u/a.seqx"), "/home/u/a.seqx.seq");
    EXPECT_EQ(with_sequence_extension("/home/u.seq/rotate"), "/home/u.seq/rotate.seq") << "only the file name counts";
}

TEST(SequenceFile, AByteOrderMarkAtTheStartIsNoPartOfTheFirstLine) {
    const auto entries = parse_sequence("\xEF\xBB\xBF" "40018#/C pfilt -1 -e 2 a > b#4\r\n");
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].number, 40018u);
    EXPECT_EQ(entries[0].line, "40018#/C pfilt -1 -e 2 a > b#4");
    EXPECT_EQ(parse_sequence("x\xEF\xBB\xBF")[0].line, "x\xEF\xBB\xBF") << "only at the start";
}
