// Planning a replay: which lines run, how steps are numbered when lines do
// not run, the files each step reads and writes, the command lines built
// anew, and every line an attacker might hand over refused with its reason.

#include <gtest/gtest.h>

#include "macro/macro_pictures.h"
#include "macro/replay_plan.h"

namespace {

using Kind = PlannedLine::Kind;

class ReplayPlan : public ::testing::Test {
protected:
    void SetUp() override {
        write_file(outside / "mask.hdr", "a picture");
        write_file(outside / "mask.bmp", "a BMP");
        write_file(outside / "v.hdr", "a correction");
        std::filesystem::create_directory(outside / "folder");
    }

    SequencePlan plan_of(const std::string& text) const { return plan_sequence(parse_sequence(text), texts); }
    std::string file(const std::string& name) const { return (outside / name).string(); }

    std::vector<std::string> commands_of(const SequencePlan& sequence, const std::string& folder = "/p",
                                         const std::string& name = "a.hdr") const {
        std::vector<std::string> commands;
        const PicturePlan picture = plan_picture(sequence, folder, name);
        for (const PlannedStep& step : planned_steps(sequence, picture)) {
            if (!conversion_command(step).empty()) commands.push_back(conversion_command(step));
            commands.push_back(step_command(step));
        }
        return commands;
    }

    static std::vector<Kind> kinds_of(const SequencePlan& plan) {
        std::vector<Kind> kinds;
        for (const auto& line : plan.lines) kinds.push_back(line.kind);
        return kinds;
    }

    TempFolder outside;
    const ReplayTexts texts = replay_texts("/c");
};

}  // namespace

TEST_F(ReplayPlan, NamesTheWorkingFilesOfTheCacheFolder) {
    EXPECT_EQ(texts.working_copy, "/c/dtemp.hdr");
    EXPECT_EQ(texts.output, "/c/dtempo.hdr");
    EXPECT_EQ(texts.mask, "/c/dmask.hdr");
    EXPECT_EQ(texts.header, "/c/header");
}

TEST_F(ReplayPlan, NumbersStepFilesFromOneNextToThePicture) {
    const auto sequence = plan_of("40013#/C protate  /c/dtemp.hdr /c/dtempo.hdr#NULL\r\n"
                                  "40015#/C pflip -c -h /c/dtemp.hdr /c/dtempo.hdr#NULL\r\n");
    EXPECT_EQ(kinds_of(sequence), (std::vector<Kind>{Kind::step, Kind::step, Kind::empty}));
    EXPECT_EQ(sequence.step_count(), 2);
    EXPECT_EQ(sequence.lines_left_out(), 0);
    const auto picture = plan_picture(sequence, "/p", "a.hdr");
    EXPECT_TRUE(picture.refusal.empty());
    EXPECT_EQ(picture.source, "/p/a.hdr");
    const auto steps = planned_steps(sequence, picture);
    ASSERT_EQ(steps.size(), 2u);
    EXPECT_EQ(step_command(steps[0]), "/C protate /p/a.hdr /p/1-a.hdr");
    EXPECT_EQ(step_command(steps[1]), "/C pflip -c -h /p/1-a.hdr /p/2-a.hdr");
    EXPECT_EQ(steps[1].files.input, "/p/1-a.hdr");
    EXPECT_EQ(steps[1].files.output, "/p/2-a.hdr");
    EXPECT_EQ(steps[1].files.mask_scratch, "/p/2-a.hdr.mask");
    EXPECT_EQ(steps[1].files.header_scratch, "/p/2-a.hdr.header");
    EXPECT_EQ(steps[1].line_number, 2);
}

TEST_F(ReplayPlan, BuildsEveryOperationTheEditMenuRecordsAnew) {
    const std::string mask = file("mask.hdr"), correction = file("v.hdr");
    const auto sequence = plan_of(
        "40004#/C pcompos -x 100 -y 60 /c/dtemp.hdr -10 -319 > /c/dtempo.hdr#NULL\n"
        "40013#/C protate  /c/dtemp.hdr /c/dtempo.hdr#NULL\n"
        "40014#/C pflip -c -v -h /c/dtemp.hdr /c/dtempo.hdr#NULL\n"
        "40012#/C pfilt -1 -e 1.000 -x /2 -y /1.5 /c/dtemp.hdr > /c/dtempo.hdr#NULL\n"
        "40018#/C pfilt -1 -e 4 /c/dtemp.hdr > /c/dtempo.hdr#2\n"
        "40029#/C pcomb -e \"ro=if(ri(1)-0.5,ri(2),0);go=if(gi(1)-0.5,gi(2),0);bo=if(bi(1)-0.5,bi(2),0)\" " + mask +
        " /c/dtemp.hdr > /c/dtempo.hdr#NULL\n"
        "40030#/C pcomb  -e  \"ro=ri(1) / ri(2);go=gi(1) / gi(2);bo=bi(1) / bi(2)\" /c/dtemp.hdr " + correction +
        " > /c/dtempo.hdr#NULL\n"
        "40035#/C pcomb  -e  \"ro=ri(1)-ri(2);go=gi(1) -gi(2);bo=bi(1)-bi(2)\" /c/dtemp.hdr " + correction +
        " > /c/dtempo.hdr#NULL\n"
        "40036#/C getinfo - < /c/dtemp.hdr>> /c/header#NULL\n"
        "40036#/C pinterp  -vf /c/header -vth  -x 800 -y 600 -ff /c/header 1 > /c/dtempo.hdr#NULL\n"
        "40060#/C pcomb  -e  \"ro=ri(1)/2.5;go=gi(1)/2.5;bo=bi(1)/2.5\" /c/dtemp.hdr > /c/dtempo.hdr#NULL");
    EXPECT_EQ(sequence.lines_left_out(), 0) << sequence.lines[0].reason;
    EXPECT_EQ(sequence.lines[8].kind, Kind::part);
    EXPECT_EQ(sequence.lines[8].reason, "copies the picture for the projection of line 10");
    const std::vector<std::string> expected = {
        "/C pcompos -x 100 -y 60 /p/a.hdr -10 -319 > /p/1-a.hdr",
        "/C protate /p/1-a.hdr /p/2-a.hdr",
        "/C pflip -c -v -h /p/2-a.hdr /p/3-a.hdr",
        "/C pfilt -1 -e 1.000 -x /2 -y /1.5 /p/3-a.hdr > /p/4-a.hdr",
        "/C pfilt -1 -e 4 /p/4-a.hdr > /p/5-a.hdr",
        "/C pcomb -e \"ro=if(ri(1)-0.5,ri(2),0);go=if(gi(1)-0.5,gi(2),0);bo=if(bi(1)-0.5,bi(2),0)\" " + mask +
            " /p/5-a.hdr > /p/6-a.hdr",
        "/C pcomb -e \"ro=ri(1) / ri(2);go=gi(1) / gi(2);bo=bi(1) / bi(2)\" /p/6-a.hdr " + correction + " > /p/7-a.hdr",
        "/C pcomb -e \"ro=ri(1)-ri(2);go=gi(1) -gi(2);bo=bi(1)-bi(2)\" /p/7-a.hdr " + correction + " > /p/8-a.hdr",
        "/C pinterp -vf /p/9-a.hdr.header -vth -x 800 -y 600 -ff /p/9-a.hdr.header 1 > /p/9-a.hdr",
        "/C pcomb -e \"ro=ri(1)/2.5;go=gi(1)/2.5;bo=bi(1)/2.5\" /p/9-a.hdr > /p/10-a.hdr",
    };
    const auto commands = commands_of(sequence);
    ASSERT_EQ(commands.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) EXPECT_EQ(commands[i], expected[i]) << i;
}

TEST_F(ReplayPlan, AcceptsExposureNormalisedOperandsByStructure) {
    const std::string mask = file("mask.hdr");
    const auto sequence = plan_of(
        "40029#/C pcomb -e \"ro=if(ri(1)-0.5,ri(2),0);go=if(gi(1)-0.5,gi(2),0);bo=if(bi(1)-0.5,bi(2),0)\" -o " + mask +
        " /c/dtemp.hdr > /c/dtempo.hdr#NULL\n"
        "40030#/C pcomb -e \"ro=ri(1)/(ri(2)/le(2));go=gi(1)/(gi(2)/le(2));bo=bi(1)/(bi(2)/le(2))\" /c/dtemp.hdr " +
        mask + " > /c/dtempo.hdr#NULL\n"
        "40035#/C pcomb -e \"ro=ri(1)+ri(2)\" -e \"go=gi(1)+gi(2)\" -e \"bo=bi(1)+bi(2)\" /c/dtemp.hdr -s 0.25 " + mask +
        " > /c/dtempo.hdr#NULL");
    EXPECT_EQ(kinds_of(sequence), (std::vector<Kind>{Kind::step, Kind::step, Kind::step}))
        << sequence.lines[0].reason << sequence.lines[1].reason << sequence.lines[2].reason;
    EXPECT_EQ(commands_of(sequence)[2], "/C pcomb -e \"ro=ri(1)+ri(2)\" -e \"go=gi(1)+gi(2)\" -e \"bo=bi(1)+bi(2)\" /p/2-a.hdr "
                                        "-s 0.25 " + mask + " > /p/3-a.hdr");
}

// A BMP or TIFF mask is recorded as its conversion into the cache's
// dmask.hdr and the mask line reading it; replay converts the recorded file
// afresh into a scratch file of each step.
TEST_F(ReplayPlan, AConvertedMaskIsConvertedAgainIntoAFileOfTheStep) {
    const std::string bmp = file("mask.bmp");
    const auto sequence = plan_of(
        "40013#/C protate  /c/dtemp.hdr /c/dtempo.hdr#NULL\n"
        "40029#/C ra_bmp -r " + bmp + " /c/dmask.hdr#NULL\n"
        "40029#/C pcomb -e \"ro=if(ri(1)-0.5,ri(2),0);go=if(gi(1)-0.5,gi(2),0);bo=if(bi(1)-0.5,bi(2),0)\" "
        "/c/dmask.hdr /c/dtemp.hdr > /c/dtempo.hdr#NULL\n");
    EXPECT_EQ(kinds_of(sequence), (std::vector<Kind>{Kind::step, Kind::part, Kind::step, Kind::empty}));
    EXPECT_EQ(sequence.lines[1].reason, "converts the mask of line 3");
    EXPECT_EQ(commands_of(sequence),
              (std::vector<std::string>{
                  "/C protate /p/a.hdr /p/1-a.hdr", "/C ra_bmp -r " + bmp + " /p/2-a.hdr.mask",
                  "/C pcomb -e \"ro=if(ri(1)-0.5,ri(2),0);go=if(gi(1)-0.5,gi(2),0);bo=if(bi(1)-0.5,bi(2),0)\" "
                  "/p/2-a.hdr.mask /p/1-a.hdr > /p/2-a.hdr"}));
    EXPECT_EQ(commands_of(sequence, "/p", "b.hdr")[1], "/C ra_bmp -r " + bmp + " /p/2-b.hdr.mask")
        << "each picture converts into a file of its own";

    // Without its conversion the mask line would read whatever dmask.hdr holds.
    const auto alone = plan_of("40029#/C pcomb -e \"ro=ri(2)\" /c/dmask.hdr /c/dtemp.hdr > /c/dtempo.hdr#NULL");
    EXPECT_EQ(alone.lines[0].kind, Kind::refused);
    const auto unused = plan_of("40029#/C ra_tiff -r " + bmp + " /c/dmask.hdr#NULL");
    EXPECT_EQ(unused.lines[0].kind, Kind::skipped);
}

TEST_F(ReplayPlan, SkippedAndRefusedLinesTakeNoStepNumber) {
    const auto sequence = plan_of("40013#/C protate  /c/dtemp.hdr /c/dtempo.hdr#NULL\r\n"
                                  "40019#/C getinfo - < /c/dtemp.hdr>> /c/dtemp.txt#NULL\r\n"
                                  "40003#/C rm -f /c/dtemp.hdr#NULL\r\n"
                                  "40035#/C pcomb -e \"ro=ri(1)+ri(2)\" " + file("v.hdr") + " " + file("mask.hdr") +
                                  " > /c/dtempo.hdr#NULL\r\n"
                                  "40015#/C pflip -c -h /c/dtemp.hdr /c/dtempo.hdr#NULL\r\n");
    EXPECT_EQ(kinds_of(sequence),
              (std::vector<Kind>{Kind::step, Kind::refused, Kind::refused, Kind::skipped, Kind::step, Kind::empty}));
    EXPECT_EQ(sequence.lines_left_out(), 3);
    EXPECT_EQ(sequence.lines[1].reason,
              "it belongs to a header edit, which replay cannot repeat: the edited header is not recorded");
    EXPECT_EQ(sequence.lines[2].reason,
              "\"rm\" runs in no operation replay repeats (crop, rotation, flip, resize, exposure, mask, vignetting "
              "correction, image operation, projection)");
    EXPECT_EQ(sequence.lines[3].reason,
              "it combines other pictures and does not read the working copy, so every picture would become the same");
    const auto commands = commands_of(sequence);
    ASSERT_EQ(commands.size(), 2u);
    EXPECT_EQ(commands[1], "/C pflip -c -h /p/1-a.hdr /p/2-a.hdr") << "the step after a skipped line reads the last step file";
}

TEST_F(ReplayPlan, ALineWithoutNumberIsReadAsTheOperationItIs) {
    const auto sequence = plan_of("/C pflip -c -h /c/dtemp.hdr /c/dtempo.hdr\n/C pfilt -1 -e 3 /c/dtemp.hdr > /c/dtempo.hdr");
    EXPECT_EQ(sequence.step_count(), 2);
    EXPECT_FALSE(sequence.lines[1].exposure_value) << "only a line numbered 40018 gets a new factor";
    EXPECT_EQ(commands_of(sequence), (std::vector<std::string>{"/C pflip -c -h /p/a.hdr /p/1-a.hdr",
                                                               "/C pfilt -1 -e 3 /p/1-a.hdr > /p/2-a.hdr"}));
}

TEST_F(ReplayPlan, AFinalLineEndRunsNothingAndABomIsNoPartOfTheFirstLine) {
    const auto sequence = plan_of("\xEF\xBB\xBF" "40018#/C pfilt -1 -e 4 /c/dtemp.hdr > /c/dtempo.hdr#2\r\n");
    ASSERT_EQ(sequence.lines.size(), 2u);
    EXPECT_EQ(sequence.lines[0].command_number, 40018u);
    EXPECT_EQ(sequence.lines[0].exposure_value, 2.0f) << "the exposure is worked out again for each picture";
    EXPECT_EQ(sequence.lines[1].kind, Kind::empty);
    EXPECT_EQ(sequence.step_count(), 1);
}

TEST_F(ReplayPlan, AnExposureLineCarriesItsOwnValueAndGetsTheFactorOfEachPicture) {
    const auto sequence = plan_of("40018#/C pfilt -1 -e 4 /c/dtemp.hdr > /c/dtempo.hdr#2\r\n"
                                  "40018#/C pfilt -1 -e 2 /c/dtemp.hdr > /c/dtempo.hdr#4\r\n"
                                  "0x9C52#/C pfilt -1 -e 3 /c/dtemp.hdr > /c/dtempo.hdr#0.5\r\n"
                                  "40011#/C pfilt -1 -e 3 /c/dtemp.hdr > /c/dtempo.hdr#NULL\r\n");
    EXPECT_EQ(sequence.lines[0].exposure_value, 2.0f);
    EXPECT_EQ(sequence.lines[1].exposure_value, 4.0f);
    EXPECT_EQ(sequence.lines[2].exposure_value, 0.5f) << "a hexadecimal 40018 is the exposure command too";
    EXPECT_FALSE(sequence.lines[3].exposure_value) << "another command keeps its factor";
    const auto steps = planned_steps(sequence, plan_picture(sequence, "/p", "a.hdr"));
    EXPECT_EQ(step_command(steps[0], "0.333333"), "/C pfilt -1 -e 0.333333 /p/a.hdr > /p/1-a.hdr");
    EXPECT_EQ(step_command(steps[3], "7"), "/C pfilt -1 -e 3 /p/3-a.hdr > /p/4-a.hdr");
}

TEST_F(ReplayPlan, RefusesExposureLinesItCannotRewrite) {
    const auto sequence = plan_of("40018#/C pfilt -1 -e 4 /c/dtemp.hdr > /c/dtempo.hdr#NULL\r\n"
                                  "40018#/C pfilt -1 -e 4 /c/dtemp.hdr > /c/dtempo.hdr#-2\r\n"
                                  "40018#/C pfilt -e 4 /c/dtemp.hdr > /c/dtempo.hdr#2\r\n"
                                  "40018#/C pfilt -1 -e  /c/dtemp.hdr > /c/dtempo.hdr#2\r\n"
                                  "40018#/C pfilt -1 -e \"4 ;touch x;\" /c/dtemp.hdr > /c/dtempo.hdr#2");
    EXPECT_EQ(kinds_of(sequence),
              (std::vector<Kind>{Kind::refused, Kind::refused, Kind::refused, Kind::refused, Kind::refused}));
    EXPECT_EQ(sequence.lines[0].reason, "its exposure value \"NULL\" is not a positive number");
    EXPECT_EQ(sequence.lines[4].reason, "pfilt needs a positive factor after \"-e\"");
}

// The lines a review tried as an attacker would: programs that write to files
// named as arguments, programs that read files named as arguments, pipes
// that chain them, options slipped in as operands, and cache files.
TEST_F(ReplayPlan, RefusesEveryLineThatWouldReadOrWriteOutsideItsStep) {
    const std::string mask = file("mask.hdr");
    struct Attack {
        std::string line;
        std::string reason;
    };
    const std::vector<Attack> attacks = {
        {"/C pflip -c -h /c/dtemp.hdr ~/.bashrc | protate /c/dtemp.hdr /c/dtempo.hdr", "it holds \"~\""},
        {"/C pflip -c -h /c/dtemp.hdr /home/u/.bashrc | protate /c/dtemp.hdr /c/dtempo.hdr", "chains programs"},
        {"/C pflip -c -h /c/dtemp.hdr /home/u/.bashrc", "must be the step output, not \"/home/u/.bashrc\""},
        {"/C pflip -c -h /home/u/.bashrc /c/dtempo.hdr", "must be the working copy"},
        {"/C protate /c/dtemp.hdr /home/u/.bashrc", "must be the step output"},
        {"/C protate /c/dtemp.hdr /c/dtempo.hdr /home/u/.bashrc", "is not given"},
        {"/C pcond -h /c/dtemp.hdr /home/u/.bashrc", "\"pcond\" exports or tone-maps a picture"},
        {"/C pcond /c/dtemp.hdr > /c/dtempo.hdr", "\"pcond\" exports or tone-maps a picture"},
        {"/C ra_bmp /c/dtemp.hdr /home/u/.bashrc", "ra_bmp needs \"-r\""},
        {"/C ra_bmp -r " + mask + " /home/u/.bashrc", "must be the converted mask"},
        {"/C ra_tiff -r " + mask + " /c/dtempo.hdr", "must be the converted mask"},
        {"/C ra_gif /c/dtemp.hdr /home/u/.bashrc", "\"ra_gif\" exports or tone-maps"},
        {"/C tm_linear -i /c/dtemp.hdr -o /home/u/.bashrc", "\"tm_linear\" exports or tone-maps"},
        {"/C ReinhardTM -i /c/dtemp.hdr -o /home/u/.bashrc", "\"ReinhardTM\" exports or tone-maps"},
        {"/C evalglare -c /home/u/.bashrc -x /c/dtemp.hdr", "\"evalglare\" belongs to a glare analysis"},
        {"/C getinfo /etc/passwd /c/dtemp.hdr > /c/dtempo.hdr", "getinfo needs \"-\""},
        {"/C getinfo - < /etc/passwd >> /c/header", "its standard input must be the working copy"},
        {"/C getinfo - < /c/dtemp.hdr > /c/header", "appended"},
        {"/C pcompos -x 10 -y 10 /etc/passwd -0 -0 > /c/dtempo.hdr", "must be the working copy"},
        {"/C pfilt -1 -e 2 /c/dtemp.hdr > /c/dtempo.hdr > /home/u/.profile", "redirects the same stream twice"},
        {"/C pfilt -1 -e 2 /c/dtemp.hdr >> /c/dtempo.hdr", "written with \">\""},
        {"/C pfilt -1 -e 2 < /etc/passwd > /c/dtempo.hdr", "pfilt needs the picture it filters"},
        {"/C pfilt -1 -e 2 /c/dtemp.hdr < /etc/passwd > /c/dtempo.hdr", "reads no standard input"},
        {"/C pfilt -1 -e 2 /c/dtemp.hdr /etc/passwd > /c/dtempo.hdr", "is not given \"/etc/passwd\""},
        {"/C pflip -c -h /c/dtemp.hdr /c/dmask.hdr", "must be the step output"},
        {"/C pcomb -e \"ro=ri(1)\" /c/pvalues > /c/dtempo.hdr", "/c/pvalues lies in the cache folder"},
        {"/C pcomb -e \"ro=ri(1)\" /etc > /c/dtempo.hdr", "/etc is not a regular file"},
        {"/C pcomb -e \"ro=ri(1)\" /nowhere/x.hdr /c/dtemp.hdr > /c/dtempo.hdr", "/nowhere/x.hdr does not exist"},
        {"/C pcomb -e \"ro=ri(1)\" /c/dtemp.hdr > /home/u/.bashrc", "must be the step output"},
        // Option injection: every word in an operand's place is a full path.
        {"/C pcomb -e \"ro=ri(1)\" -x 5 /c/dtemp.hdr > /c/dtempo.hdr", "pcomb is not given \"-x\""},
        {"/C pcomb -e \"ro=ri(1)\" /c/dtemp.hdr -h > /c/dtempo.hdr", "pcomb is not given \"-h\""},
        {"/C pcomb -e \"ro=ri(2)\" mask.hdr /c/dtemp.hdr > /c/dtempo.hdr", "\"mask.hdr\" is not a full path"},
        {"/C pcomb -e \"ro=ri(1)\" -f -o /c/dtemp.hdr > /c/dtempo.hdr", "\"-o\" is not a full path"},
        {"/C pcomb -e -o /c/dtemp.hdr > /c/dtempo.hdr", "an expression"},
        {"/C pcomb -e \"ro=ri(1);x='\" /c/dtemp.hdr > /c/dtempo.hdr", "an expression"},
        {"/C pcomb -e \"ro=ri(1)>2\" /c/dtemp.hdr > /c/dtempo.hdr", "an expression"},
        {"/C pflip -c -h -o /c/dtemp.hdr /c/dtempo.hdr", "must be the working copy"},
        {"/C pflip -c -h -h /c/dtemp.hdr /c/dtempo.hdr", "twice"},
        {"/C pfilt -1 -e -2 /c/dtemp.hdr > /c/dtempo.hdr", "positive factor"},
        {"/C pfilt -1 -e 1 -x /2 -y -o/x /c/dtemp.hdr > /c/dtempo.hdr", "a divisor"},
        {"/C pcompos -x 10 -y 10 /c/dtemp.hdr -o /x > /c/dtempo.hdr", "an offset"},
        {"/C pcompos -x -1 -y 10 /c/dtemp.hdr -0 -0 > /c/dtempo.hdr", "a width"},
        {"/C pcompos -x 999999999 -y 999999999 /c/dtemp.hdr -0 -0 > /c/dtempo.hdr", "999999999 x 999999999 pixels is more than the application makes (at most 268435456 pixels in all)"},
        {"/C pinterp -vf /c/header -vth -x 99999 -y 99999 -ff /c/header 1 > /c/dtempo.hdr", "at most 268435456"},
        {"/C pinterp -vf /c/header -vth -x 8 -y 8 -ff /etc/passwd 1 > /c/dtempo.hdr", "projection's header file"},
        {"/C pinterp -vf /c/header -vth -x 8 -y 8 -ff /c/header 1 -t 0 > /c/dtempo.hdr", "is not given \"-t\""},
        {"/C rm -f /home/u/.bashrc", "\"rm\" runs in no operation"},
        {"/C sh -c x", "\"sh\" runs in no operation"},
        {"/C /bin/pflip -c -h /c/dtemp.hdr /c/dtempo.hdr", "\"/bin/pflip\" runs in no operation"},
    };
    for (const Attack& attack : attacks) {
        SCOPED_TRACE(attack.line);
        const auto sequence = plan_of("40015#" + attack.line + "#NULL");
        ASSERT_EQ(sequence.lines[0].kind, Kind::refused);
        EXPECT_NE(sequence.lines[0].reason.find(attack.reason), std::string::npos) << sequence.lines[0].reason;
        EXPECT_EQ(sequence.step_count(), 0);
    }
}

TEST_F(ReplayPlan, RecognisesASequenceRecordedWithAnotherCacheFolder) {
    const auto sequence = plan_of("40013#/C protate  /old/cache/dtemp.hdr /old/cache/dtempo.hdr#NULL\r\n"
                                  "40018#/C pfilt -1 -e 4 /old/cache/dtemp.hdr > /old/cache/dtempo.hdr#2\r\n");
    EXPECT_EQ(sequence.foreign_cache, "/old/cache");
    EXPECT_EQ(sequence.step_count(), 0);
    EXPECT_TRUE(plan_of("40013#/C protate  /c/dtemp.hdr /c/dtempo.hdr#NULL").foreign_cache.empty());
}

TEST_F(ReplayPlan, RefusesPicturesWhoseNamesTheShellWouldMisreadAndGuardsAFolderLikeAnOption) {
    const auto sequence = plan_of("40015#/C pflip -c -h /c/dtemp.hdr /c/dtempo.hdr#NULL");
    for (const char* name : {"scene (2).hdr", "a;b.hdr", "a b.hdr", "$x.hdr", "a`b.hdr", "~a.hdr"}) {
        const auto picture = plan_picture(sequence, "/p", name);
        EXPECT_FALSE(picture.refusal.empty()) << name;
    }
    EXPECT_FALSE(plan_picture(sequence, "/my pictures", "a.hdr").refusal.empty());
    EXPECT_TRUE(plan_picture(sequence, "/p", "IMG_0001.HDR").refusal.empty());
    EXPECT_EQ(commands_of(sequence, "/p", "-x.hdr"), std::vector<std::string>{"/C pflip -c -h /p/-x.hdr /p/1--x.hdr"});
    EXPECT_EQ(commands_of(sequence, "-pics", "a.hdr"),
              std::vector<std::string>{"/C pflip -c -h ./-pics/a.hdr ./-pics/1-a.hdr"});
}

TEST_F(ReplayPlan, JoinsARootFolderWithOneSlash) {
    const auto sequence = plan_of("40015#/C pflip -c -h /c/dtemp.hdr /c/dtempo.hdr#NULL");
    EXPECT_EQ(commands_of(sequence, "/", "a.hdr")[0], "/C pflip -c -h /a.hdr /1-a.hdr");
    EXPECT_EQ(step_file_path("/p", 12, "a.hdr"), "/p/12-a.hdr");
}
