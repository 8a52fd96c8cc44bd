// Planning a replay: which lines run, how steps are numbered when lines do
// not run, the files each step reads and writes, and the exposure rewrite.

#include <gtest/gtest.h>

#include "macro/replay_plan.h"

namespace {

const ReplayTexts texts = replay_texts("/c");

SequencePlan plan_of(const std::string& text) { return plan_sequence(parse_sequence(text), texts); }

std::vector<PlannedLine::Kind> kinds_of(const SequencePlan& plan) {
    std::vector<PlannedLine::Kind> kinds;
    for (const auto& line : plan.lines) kinds.push_back(line.kind);
    return kinds;
}

using Kind = PlannedLine::Kind;

}  // namespace

TEST(ReplayPlan, NamesTheWorkingFilesOfTheCacheFolder) {
    EXPECT_EQ(texts.working_copy, "/c/dtemp.hdr");
    EXPECT_EQ(texts.output, "/c/dtempo.hdr");
}

TEST(ReplayPlan, NumbersStepFilesFromOneNextToThePicture) {
    const auto sequence = plan_of("40013#/C protate  /c/dtemp.hdr /c/dtempo.hdr#NULL\r\n"
                                  "40015#/C pflip -c -h /c/dtemp.hdr /c/dtempo.hdr#NULL\r\n");
    EXPECT_EQ(kinds_of(sequence), (std::vector<Kind>{Kind::step, Kind::step, Kind::empty}));
    EXPECT_EQ(sequence.step_count(), 2);
    const auto picture = plan_picture(sequence, texts, "/p", "a.hdr");
    EXPECT_TRUE(picture.refusal.empty());
    EXPECT_EQ(picture.source, "/p/a.hdr");
    ASSERT_EQ(picture.steps.size(), 2u);
    EXPECT_EQ(picture.steps[0].command, "/C protate  /p/a.hdr /p/1-a.hdr");
    EXPECT_EQ(picture.steps[1].command, "/C pflip -c -h /p/1-a.hdr /p/2-a.hdr");
    EXPECT_EQ(picture.steps[1].input, "/p/1-a.hdr");
    EXPECT_EQ(picture.steps[1].output, "/p/2-a.hdr");
    EXPECT_EQ(picture.steps[1].line_number, 2);
}

TEST(ReplayPlan, SkippedAndRefusedLinesTakeNoStepNumber) {
    const auto sequence = plan_of("40013#/C protate  /c/dtemp.hdr /c/dtempo.hdr#NULL\r\n"
                                  "40019#/C getinfo - < /c/dtemp.hdr>> /c/dtemp.txt#NULL\r\n"
                                  "40003#/C rm -f /c/dtemp.hdr#NULL\r\n"
                                  "40011#/C pextrem /c/other.hdr#NULL\r\n"
                                  "40015#/C pflip -c -h /c/dtemp.hdr /c/dtempo.hdr#NULL\r\n");
    EXPECT_EQ(kinds_of(sequence),
              (std::vector<Kind>{Kind::step, Kind::skipped, Kind::refused, Kind::skipped, Kind::step, Kind::empty}));
    EXPECT_EQ(sequence.lines[1].reason, "it does not write the step output");
    EXPECT_EQ(sequence.lines[3].reason, "it does not read the working copy");
    EXPECT_EQ(sequence.lines[2].reason, "\"rm\" is not one of the picture programs");
    const auto picture = plan_picture(sequence, texts, "/p", "a.hdr");
    ASSERT_EQ(picture.steps.size(), 2u);
    EXPECT_EQ(picture.steps[1].command, "/C pflip -c -h /p/1-a.hdr /p/2-a.hdr")
        << "the step after a skipped line reads the last step file written";
    EXPECT_EQ(picture.steps[1].line_number, 5);
}

TEST(ReplayPlan, ASequenceOfEditingLinesKeepsTheNumberingOfItsLines) {
    const auto sequence = plan_of("40013#/C protate  /c/dtemp.hdr /c/dtempo.hdr#NULL\n"
                                  "40014#/C pflip -c -v -h /c/dtemp.hdr /c/dtempo.hdr#NULL\n"
                                  "40016#/C pflip -c -v /c/dtemp.hdr /c/dtempo.hdr#NULL");
    const auto picture = plan_picture(sequence, texts, "/p", "a.hdr");
    ASSERT_EQ(picture.steps.size(), 3u);
    for (int k = 0; k < 3; ++k) EXPECT_EQ(picture.steps[k].output, "/p/" + std::to_string(k + 1) + "-a.hdr");
}

TEST(ReplayPlan, ReplacesEveryOccurrenceOfBothFiles) {
    const auto sequence =
        plan_of("40036#/C pinterp  -vf /c/dtemp.hdr -vth  -x 800 -y 800 -ff /c/dtemp.hdr 1 > /c/dtempo.hdr#NULL");
    const auto picture = plan_picture(sequence, texts, "/p", "fish.hdr");
    ASSERT_EQ(picture.steps.size(), 1u);
    EXPECT_EQ(picture.steps[0].command, "/C pinterp  -vf /p/fish.hdr -vth  -x 800 -y 800 -ff /p/fish.hdr 1 > /p/1-fish.hdr");
}

TEST(ReplayPlan, KeepsOtherFilesAndTheQuotedExpression) {
    const auto sequence = plan_of(
        "40029#/C pcomb -e \"ro=if(ri(1)-0.5,ri(2),0);go=if(gi(1)-0.5,gi(2),0);bo=if(bi(1)-0.5,bi(2),0)\" "
        "/m/mask.hdr /c/dtemp.hdr > /c/dtempo.hdr#NULL");
    const auto picture = plan_picture(sequence, texts, "/p", "a.hdr");
    ASSERT_EQ(picture.steps.size(), 1u);
    EXPECT_EQ(picture.steps[0].command,
              "/C pcomb -e \"ro=if(ri(1)-0.5,ri(2),0);go=if(gi(1)-0.5,gi(2),0);bo=if(bi(1)-0.5,bi(2),0)\" "
              "/m/mask.hdr /p/a.hdr > /p/1-a.hdr");
}

TEST(ReplayPlan, RunsALineWithoutNumberAsItStands) {
    const auto sequence = plan_of("/C pflip -c -h /c/dtemp.hdr /c/dtempo.hdr");
    ASSERT_EQ(sequence.step_count(), 1);
    EXPECT_EQ(plan_picture(sequence, texts, "/p", "a.hdr").steps[0].command, "/C pflip -c -h /p/a.hdr /p/1-a.hdr");
}

TEST(ReplayPlan, AFinalLineEndRunsNothing) {
    const auto sequence = plan_of("40015#/C pflip -c -h /c/dtemp.hdr /c/dtempo.hdr#NULL\r\n");
    EXPECT_EQ(sequence.lines.size(), 2u);
    EXPECT_EQ(sequence.lines[1].kind, Kind::empty);
    EXPECT_EQ(sequence.step_count(), 1);
}

TEST(ReplayPlan, HasNoLimitOnTheNumberOfLines) {
    std::string text;
    for (int i = 0; i < 300; ++i) text += "40015#/C pflip -c -h /c/dtemp.hdr /c/dtempo.hdr#NULL\r\n";
    const auto sequence = plan_of(text);
    EXPECT_EQ(sequence.step_count(), 300);
    EXPECT_EQ(plan_picture(sequence, texts, "/p", "a.hdr").steps.back().output, "/p/300-a.hdr");
}

TEST(ReplayPlan, AnExposureLineCarriesItsOwnValue) {
    const auto sequence = plan_of("40018#/C pfilt -1 -e 4 /c/dtemp.hdr > /c/dtempo.hdr#2\r\n"
                                  "40018#/C pfilt -1 -e 2 /c/dtemp.hdr > /c/dtempo.hdr#4\r\n"
                                  "0x9C52#/C pfilt -1 -e 3 /c/dtemp.hdr > /c/dtempo.hdr#0.5\r\n");
    const auto picture = plan_picture(sequence, texts, "/p", "a.hdr");
    ASSERT_EQ(picture.steps.size(), 3u);
    EXPECT_EQ(picture.steps[0].exposure_value, 2.0f);
    EXPECT_EQ(picture.steps[1].exposure_value, 4.0f);
    EXPECT_EQ(picture.steps[2].exposure_value, 0.5f) << "a hexadecimal 40018 is the exposure command too";
    EXPECT_EQ(picture.steps[0].command, "/C pfilt -1 -e 4 /p/a.hdr > /p/1-a.hdr");
}

TEST(ReplayPlan, RefusesExposureLinesItCannotRewrite) {
    const auto sequence = plan_of("40018#/C pfilt -1 -e 4 /c/dtemp.hdr > /c/dtempo.hdr#NULL\r\n"
                                  "40018#/C pfilt -1 -e 4 /c/dtemp.hdr > /c/dtempo.hdr#-2\r\n"
                                  "40018#/C pfilt -e 4 /c/dtemp.hdr > /c/dtempo.hdr#2\r\n"
                                  "40018#/C pfilt -1 -e  /c/dtemp.hdr > /c/dtempo.hdr#2\r\n"
                                  "40018#/C pfilt -1 -e \"4 ;touch x;\" /c/dtemp.hdr > /c/dtempo.hdr#2");
    EXPECT_EQ(kinds_of(sequence),
              (std::vector<Kind>{Kind::refused, Kind::refused, Kind::refused, Kind::refused, Kind::refused}));
    EXPECT_EQ(sequence.lines[4].reason, "an exposure line must begin with \"/C pfilt -1 -e \" and a number")
        << "replacing a quoted factor would unbalance the quotes";
    EXPECT_EQ(sequence.lines[0].reason, "its exposure value \"NULL\" is not a positive number");
}

TEST(ReplayPlan, RefusesALineThatWritesAnyOtherFile) {
    const auto sequence = plan_of("40018#/C pfilt -1 -e 4 /c/dtemp.hdr > /c/dtempo.hdr > /home/u/.profile#2");
    EXPECT_EQ(sequence.lines[0].kind, Kind::refused);
    EXPECT_EQ(sequence.lines[0].reason, "it writes to /home/u/.profile");
}

// The shell drops quotes, so /c/dt""empo.hdr is the cache's step output; a
// replacement of the texts as written would leave it, and the step would
// read or write the cache's file instead of the picture's.
TEST(ReplayPlan, RefusesALineThatSpellsAWorkingFileAcrossQuotes) {
    const auto sequence = plan_of("40013#/C protate  /c/dtemp.hdr > /c/dtempo.hdr > /c/dt\"\"empo.hdr#NULL\r\n"
                                  "40013#/C protate  /c/dtemp.hdr /c/d\"temp\".hdr > /c/dtempo.hdr#NULL\r\n"
                                  "40013#/C protate  \"/c/dtemp.hdr\" > /c/dtempo.hdr#NULL\r\n");
    EXPECT_EQ(kinds_of(sequence), (std::vector<Kind>{Kind::refused, Kind::refused, Kind::step, Kind::empty}));
    EXPECT_EQ(sequence.lines[0].reason, "it names the working copy or the step output across quotes");
    const auto picture = plan_picture(sequence, texts, "/p", "a.hdr");
    ASSERT_EQ(picture.steps.size(), 1u);
    EXPECT_EQ(picture.steps[0].command, "/C protate  \"/p/a.hdr\" > /p/1-a.hdr");
}

TEST(ReplayPlan, RecognisesASequenceRecordedWithAnotherCacheFolder) {
    const auto sequence = plan_of("40013#/C protate  /old/cache/dtemp.hdr /old/cache/dtempo.hdr#NULL\r\n"
                                  "40018#/C pfilt -1 -e 4 /old/cache/dtemp.hdr > /old/cache/dtempo.hdr#2\r\n");
    EXPECT_EQ(sequence.foreign_cache, "/old/cache");
    EXPECT_EQ(sequence.step_count(), 0);
    EXPECT_TRUE(plan_of("40013#/C protate  /c/dtemp.hdr /c/dtempo.hdr#NULL").foreign_cache.empty());
    EXPECT_TRUE(plan_of("40003#/C pextrem /x/a.hdr#NULL").foreign_cache.empty()) << "no working copy named at all";
}

TEST(ReplayPlan, RefusesPicturesWhoseNamesTheShellWouldMisread) {
    const auto sequence = plan_of("40015#/C pflip -c -h /c/dtemp.hdr /c/dtempo.hdr#NULL");
    for (const char* name : {"scene (2).hdr", "a;b.hdr", "a b.hdr", "$x.hdr", "a`b.hdr", "~a.hdr"}) {
        const auto picture = plan_picture(sequence, texts, "/p", name);
        EXPECT_FALSE(picture.refusal.empty()) << name;
    }
    EXPECT_FALSE(plan_picture(sequence, texts, "/my pictures", "a.hdr").refusal.empty());
    EXPECT_TRUE(plan_picture(sequence, texts, "/p", "IMG_0001.HDR").refusal.empty());
}

TEST(ReplayPlan, JoinsARootFolderWithOneSlash) {
    const auto sequence = plan_of("40015#/C pflip -c -h /c/dtemp.hdr /c/dtempo.hdr#NULL");
    const auto picture = plan_picture(sequence, texts, "/", "a.hdr");
    EXPECT_EQ(picture.steps[0].command, "/C pflip -c -h /a.hdr /1-a.hdr");
    EXPECT_EQ(step_file_path("/p", 12, "a.hdr"), "/p/12-a.hdr");
}

TEST(ExposureFactor, ReplacesTheRecordedFactorOnly) {
    EXPECT_EQ(with_exposure_factor("/C pfilt -1 -e 0.25 /p/a.hdr > /p/1-a.hdr", 4.0f),
              "/C pfilt -1 -e 4 /p/a.hdr > /p/1-a.hdr");
    // Every digit the factor needs, so the picture reaches the value asked for.
    EXPECT_EQ(with_exposure_factor("/C pfilt -1 -e 4 /p/a.hdr > /p/1-a.hdr", 1.0f / 3.0f),
              "/C pfilt -1 -e 0.33333334 /p/a.hdr > /p/1-a.hdr");
    EXPECT_EQ(with_exposure_factor("/C pfilt -1 -e 4 /p/a.hdr > /p/1-a.hdr", 2e-7f),
              "/C pfilt -1 -e 2e-07 /p/a.hdr > /p/1-a.hdr");
    EXPECT_EQ(with_exposure_factor("/C protate  a b", 2.0f), "/C protate  a b");
}
