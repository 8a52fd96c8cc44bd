// Which recorded command lines replay hands to the shell: every line the
// editing operations record, and nothing the shell would expand or chain.

#include <gtest/gtest.h>

#include "macro/replay_command.h"

namespace {

const char* const recorded_lines[] = {
    "/C pcompos -x 100 -y 60 /c/dtemp.hdr -10 -319 > /c/dtempo.hdr",
    "/C protate  /c/dtemp.hdr /c/dtempo.hdr",
    "/C pflip -c -v -h /c/dtemp.hdr /c/dtempo.hdr",
    "/C pfilt -1 -e 1.000 -x /2 -y /2 /c/dtemp.hdr > /c/dtempo.hdr",
    "/C pfilt -1 -e 4 /c/dtemp.hdr > /c/dtempo.hdr",
    "/C pfilt -1 -e 1e-07 /c/dtemp.hdr > /c/dtempo.hdr",
    "/C pcomb -e \"ro=if(ri(1)-0.5,ri(2),0);go=if(gi(1)-0.5,gi(2),0);bo=if(bi(1)-0.5,bi(2),0)\" /m/mask.hdr "
    "/c/dtemp.hdr > /c/dtempo.hdr",
    "/C pcomb  -e  \"ro=ri(1) / ri(2);go=gi(1) / gi(2);bo=bi(1) / bi(2)\" /c/dtemp.hdr /m/v.hdr > /c/dtempo.hdr",
    "/C pcomb  -e  \"ro=ri(1)*ri(2);go=gi(1) *gi(2);bo=bi(1)*bi(2)\" /c/dtemp.hdr /m/b.hdr > /c/dtempo.hdr",
    "/C pcomb  -e  \"ro=ri(1)/2.5;go=gi(1)/2.5;bo=bi(1)/2.5\" /c/dtemp.hdr > /c/dtempo.hdr",
    "/C pinterp  -vf /c/dtemp.hdr -vth  -x 800 -y 800 -ff /c/dtemp.hdr 1 > /c/dtempo.hdr",
    "/C getinfo - < /c/dtemp.hdr>> /c/dtemp.txt",
    "/C ra_tiff -r /m/mask.tif /c/dmask.hdr",
    "/C pfilt -x /2 -y /2 /c/dtemp.hdr > /c/dtempo.hdr",
};

}  // namespace

TEST(ReplayCommand, AcceptsEveryLineTheEditingOperationsRecord) {
    for (const char* line : recorded_lines) {
        const auto read = read_replayable_line(line);
        EXPECT_TRUE(read.ok()) << line << ": " << (read.ok() ? "" : read.failure().message);
    }
}

TEST(ReplayCommand, NamesTheProgramsAndTheOutputFiles) {
    const auto crop = read_replayable_line(recorded_lines[0]);
    ASSERT_TRUE(crop.ok());
    EXPECT_EQ(crop.value().programs, std::vector<std::string>{"pcompos"});
    EXPECT_EQ(crop.value().output_targets, std::vector<std::string>{"/c/dtempo.hdr"});

    const auto header = read_replayable_line("/C getinfo - < /c/dtemp.hdr>> /c/dtemp.txt");
    ASSERT_TRUE(header.ok());
    EXPECT_EQ(header.value().output_targets, std::vector<std::string>{"/c/dtemp.txt"});

    const auto piped = read_replayable_line("/C rcalc -e \"$1=1\" < /c/pvalues | histo 0 1 2");
    EXPECT_FALSE(piped.ok()) << "a dollar inside quotes is expanded by the shell";
    const auto pipe = read_replayable_line("/C pfilt -1 -e 2 /c/dtemp.hdr | pflip -c -h - > /c/dtempo.hdr");
    ASSERT_TRUE(pipe.ok());
    EXPECT_EQ(pipe.value().programs, (std::vector<std::string>{"pfilt", "pflip"}));
}

TEST(ReplayCommand, RefusesProgramsThatAreNotPicturePrograms) {
    for (const char* line : {"/C rm -rf /home/u", "/C sh -c x", "/C pfilt -1 -e 2 a | sh", "/C /bin/pfilt a > b",
                             "/C \"pfilt\" a > b", "/C PFILT a > b", "/C X=1 pfilt a > b", "/C ", "/C > a",
                             "/C pfilt a |", "/C | pfilt a"}) {
        EXPECT_FALSE(read_replayable_line(line).ok()) << line;
    }
    const auto rm = read_replayable_line("/C rm -f /c/dtemp.hdr");
    ASSERT_FALSE(rm.ok());
    EXPECT_EQ(rm.failure().message, "\"rm\" is not one of the picture programs");
}

TEST(ReplayCommand, RefusesEveryCharacterTheShellWouldActOn) {
    for (const char* line : {"/C rm -rf ~", "/C pfilt -1 -e 2 a > b ; touch x", "/C pfilt -1 -e 2 a > b && touch x",
                             "/C pfilt -1 -e 2 a > b & touch x", "/C pfilt -1 -e $(touch x) a > b",
                             "/C pfilt -1 -e `touch x` a > b", "/C pfilt a > b\ntouch x", "/C pfilt a\t> b",
                             "/C pfilt a* > b", "/C pfilt a? > b", "/C pfilt [a] > b", "/C pfilt (a) > b",
                             "/C pfilt 'a' > b", "/C pfilt a\\ b > c", "/C pfilt a > b 2>&1", "/C pfilt {a,b} > c",
                             "/C pfilt !a > b", "/C pcomb -e \"ro=`touch x`\" a > b",
                             "/C pcomb -e \"ro=\\\"\" a > b", "/C pcomb -e \"ro=!1\" a > b",
                             "/C pcomb -e \"ro=ri(1) a > b", "/C pfilt a > b #c"}) {
        EXPECT_FALSE(read_replayable_line(line).ok()) << line;
    }
    const auto chained = read_replayable_line("/C pfilt -1 -e 2 a > b ; touch x");
    EXPECT_EQ(chained.failure().message, "it holds \";\"");
}

TEST(ReplayCommand, RefusesALineWithoutTheInterpreterPrefix) {
    const auto bare = read_replayable_line("pfilt -1 -e 2 a > b");
    ASSERT_FALSE(bare.ok());
    EXPECT_EQ(bare.failure().message, "it does not begin with \"/C \"");
}

TEST(ReplayCommand, KnowsThePicturePrograms) {
    for (const char* name : {"getinfo", "pfilt", "pcompos", "protate", "pflip", "pcomb", "pinterp", "pextrem", "pcond",
                             "rcalc", "histo", "ra_bmp", "ra_gif", "ra_tiff", "evalglare", "ReinhardTM", "tm_linear"})
        EXPECT_TRUE(is_picture_program(name)) << name;
    for (const char* name : {"rm", "sh", "cp", "", "pfilt2", "Pfilt"}) EXPECT_FALSE(is_picture_program(name)) << name;
}
