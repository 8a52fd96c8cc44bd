// A recorded command line read as words: one program, its words and its
// redirections, and nothing the shell would expand or chain.

#include <gtest/gtest.h>

#include "macro/replay_command.h"

TEST(ReplayCommand, ReadsTheProgramItsWordsAndItsRedirections) {
    const auto crop = read_recorded_command("/C pcompos -x 100 -y 60 /c/dtemp.hdr -10 -319 > /c/dtempo.hdr");
    ASSERT_TRUE(crop.ok());
    EXPECT_EQ(crop.value().program, "pcompos");
    ASSERT_EQ(crop.value().words.size(), 7u);
    EXPECT_EQ(crop.value().words[4].text, "/c/dtemp.hdr");
    EXPECT_EQ(crop.value().output, "/c/dtempo.hdr");
    EXPECT_FALSE(crop.value().appends);
    EXPECT_FALSE(crop.value().input);

    const auto copy = read_recorded_command("/C getinfo - < /c/dtemp.hdr>> /c/header");
    ASSERT_TRUE(copy.ok());
    EXPECT_EQ(copy.value().input, "/c/dtemp.hdr");
    EXPECT_EQ(copy.value().output, "/c/header");
    EXPECT_TRUE(copy.value().appends);

    const auto mask = read_recorded_command(
        "/C pcomb  -e  \"ro=ri(1) / ri(2);go=gi(1) / gi(2);bo=bi(1) / bi(2)\" /c/dtemp.hdr /m/v.hdr > /c/dtempo.hdr");
    ASSERT_TRUE(mask.ok());
    ASSERT_EQ(mask.value().words.size(), 4u);
    EXPECT_EQ(mask.value().words[1].text, "ro=ri(1) / ri(2);go=gi(1) / gi(2);bo=bi(1) / bi(2)");
    EXPECT_TRUE(mask.value().words[1].quoted);
    EXPECT_FALSE(mask.value().words[0].quoted);
}

TEST(ReplayCommand, RefusesPipesAndEveryCharacterTheShellWouldActOn) {
    for (const char* line : {"/C rm -rf ~", "/C pfilt -1 -e 2 a > b ; touch x", "/C pfilt -1 -e 2 a > b && touch x",
                             "/C pfilt -1 -e 2 a > b & touch x", "/C pfilt -1 -e $(touch x) a > b",
                             "/C pfilt -1 -e `touch x` a > b", "/C pfilt a > b\ntouch x", "/C pfilt a\t> b",
                             "/C pfilt a* > b", "/C pfilt a? > b", "/C pfilt [a] > b", "/C pfilt (a) > b",
                             "/C pfilt 'a' > b", "/C pfilt a\\ b > c", "/C pfilt a > b 2>&1", "/C pfilt {a,b} > c",
                             "/C pfilt !a > b", "/C pcomb -e \"ro=`touch x`\" a > b",
                             "/C pcomb -e \"ro=\\\"\" a > b", "/C pcomb -e \"ro=!1\" a > b",
                             "/C pcomb -e \"ro=ri(1) a > b", "/C pfilt a > b #c",
                             "/C pflip -c -h a b | protate b c", "/C pfilt a > b > c", "/C pfilt < a < b",
                             "/C \"pfilt\" a > b", "/C ", "/C > a", "pfilt -1 -e 2 a > b"}) {
        EXPECT_FALSE(read_recorded_command(line).ok()) << line;
    }
    EXPECT_EQ(read_recorded_command("/C pfilt -1 -e 2 a > b ; touch x").failure().message, "it holds \";\"");
    EXPECT_EQ(read_recorded_command("/C pflip -c -h a b | protate b c").failure().message,
              "a \"|\" chains programs, which no recorded operation does");
    EXPECT_EQ(read_recorded_command("pfilt -1 -e 2 a > b").failure().message, "it does not begin with \"/C \"");
}

TEST(ReplayCommand, ShowsControlCharactersEscaped) {
    EXPECT_EQ(escaped_for_display("a\x1b[2Jb\tc\r\n\x7f"), "a\\x1b[2Jb\\tc\\r\\n\\x7f");
    EXPECT_EQ(escaped_for_display("caf\xc3\xa9 \xc2\x9b" "31m"), "caf\xc3\xa9 \\xc2\\x9b31m") << "C1 controls too";
    EXPECT_EQ(escaped_for_display("/pics/room.hdr"), "/pics/room.hdr");
}
