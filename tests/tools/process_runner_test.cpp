// Running picture programs: captured text, progress window, long output,
// programs that cannot be started, and the editing step's copy-back rule.

#include <gtest/gtest.h>

#include "common/parallel_bands.h"
#include "desktop/desktop.h"
#include "macro/macro_recorder.h"
#include "support/scripted_desktop.h"
#include "support/temp_folder.h"
#include "tools/editing_step.h"
#include "tools/process_runner.h"
#include "tools/working_files.h"

namespace {

class ProcessRunnerTest : public ::testing::Test {
protected:
    ScriptedDesktop desktop;
    MacroRecorder recorder;
    ProcessRunner runner{desktop, recorder};
    TempFolder cache;
};

TEST_F(ProcessRunnerTest, ASilentProgramYieldsEmptyText) {
    const ProcessOutput out = runner.run("/C true", false);
    EXPECT_TRUE(out.started);
    EXPECT_EQ(out.text, "");
    EXPECT_EQ(desktop.progress_shows, 0);
    EXPECT_FALSE(desktop.progress_shown());
}

TEST_F(ProcessRunnerTest, CapturesStandardOutputAndErrorInTheOrderWritten) {
    const ProcessOutput out = runner.run("/C echo one; echo two >&2; echo three", false);
    EXPECT_EQ(out.text, "one\ntwo\nthree\n");
}

TEST_F(ProcessRunnerTest, ShowsTheProgressWindowAndLeavesItForTheCaller) {
    runner.run("/C true", true);
    EXPECT_EQ(desktop.progress_shows, 1);
    EXPECT_TRUE(desktop.progress_shown());
    EXPECT_EQ(desktop.progress_closes, 0);
}

TEST_F(ProcessRunnerTest, DrainsLongOutputWithoutStalling) {
    // About 6 MB, far more than a pipe holds.
    const ProcessOutput out = runner.run("/C head -c 6000000 /dev/zero | tr '\\0' x", false);
    ASSERT_TRUE(out.started);
    EXPECT_EQ(out.text.size(), 6000000u);
    EXPECT_EQ(out.text.find_first_not_of('x'), std::string::npos);
}

TEST_F(ProcessRunnerTest, KeepsTheWindowsPaintingWhileWaiting) {
    runner.run("/C sleep 0.2", false);
    EXPECT_GT(desktop.pumps, 3);
}

TEST_F(ProcessRunnerTest, ReportsTheExitStatusOfASilentFailure) {
    const ProcessOutput out = runner.run("/C exit 3", false);
    EXPECT_TRUE(out.started);
    EXPECT_EQ(out.text, "");
    EXPECT_EQ(out.exit_status, 3);
    EXPECT_FALSE(out.clean());
    EXPECT_EQ(runner.run("/C kill -9 $$", false).exit_status, 128 + 9);
    EXPECT_TRUE(runner.run("/C true", false).clean());
}

TEST_F(ProcessRunnerTest, AMissingProgramPrintsTheShellsMessage) {
    const ProcessOutput out = runner.run("/C no_such_program_xyz", false);
    EXPECT_TRUE(out.started);
    EXPECT_NE(out.text.find("not found"), std::string::npos);
}

TEST_F(ProcessRunnerTest, PutsTheProgramFolderFirstOnThePath) {
    const std::string folder = cache.str();
    write_file(cache / "whoami_candelux", "#!/bin/sh\necho ours\n");
    std::filesystem::permissions(cache / "whoami_candelux", std::filesystem::perms::owner_all);
    runner.set_program_folder(folder);
    EXPECT_EQ(runner.run("/C whoami_candelux", false).text, "ours\n");
    EXPECT_EQ(runner.run("/C echo $PATH", false).text.substr(0, folder.size() + 1), folder + ":");
}

TEST_F(ProcessRunnerTest, GivesTheChildAnEmptyStandardInput) {
    EXPECT_EQ(runner.run("/C cat", false).text, "");
}

// Programs run side by side get a share of the cores; one run alone gets
// the machine (and a share set by whoever started us is passed on as is).
TEST_F(ProcessRunnerTest, ProgramsRunSideBySideAreToldTheirShareOfTheCores) {
    const std::string show = "/C echo \"[${CANDELUX_THREADS:-all}]\"";
    EXPECT_EQ(runner.run(show, false).text, "[all]\n");
    {
        const ChildThreadShare share(static_cast<int>(band_workers()) * 4);
        EXPECT_EQ(runner.run(show, false).text, "[1]\n");
    }
    EXPECT_EQ(runner.run(show, false).text, "[all]\n");
    const ChildThreadShare alone(1);
    EXPECT_EQ(runner.run(show, false).text, "[all]\n");
}

TEST(ShellText, DropsTheInterpreterPrefix) {
    EXPECT_EQ(shell_text_of("/C ra_bmp a b"), "ra_bmp a b");
    EXPECT_EQ(shell_text_of("ra_bmp a b"), "ra_bmp a b");
    EXPECT_EQ(program_of("/C pfilt -1 -e 2 a > b"), "pfilt");
    EXPECT_EQ(program_of("/C protate>x"), "protate");
    EXPECT_EQ(program_of("/C "), "");
}

class EditingStepTest : public ProcessRunnerTest {
protected:
    void SetUp() override {
        write_file(cache / "dtemp.hdr", "original");
        dir = cache.str();
    }
    std::string dir;
};

TEST_F(EditingStepTest, CopiesASilentResultBackAndRemovesIt) {
    const int result = run_editing_step(runner, desktop, dir, "/C echo -n edited > " + dir + "/dtempo.hdr");
    EXPECT_EQ(result, 0);
    EXPECT_EQ(read_file(cache / "dtemp.hdr"), "edited");
    EXPECT_FALSE(std::filesystem::exists(cache / "dtempo.hdr"));
    EXPECT_TRUE(desktop.messages.empty());
}

// The result takes the working copy's place without the old one being
// renamed over (the old file is moved aside, then removed); when the move
// fails the old copy is back under its name and nothing is left aside.
TEST_F(EditingStepTest, TheResultReplacesTheWorkingCopyAndAFailedMovePutsTheOldOneBack) {
    write_file(cache / "dtempo.hdr", "edited");
    std::error_code error;
    replace_working_file(dir + "/dtempo.hdr", dir + "/dtemp.hdr", error);
    EXPECT_FALSE(error);
    EXPECT_EQ(read_file(cache / "dtemp.hdr"), "edited");
    EXPECT_FALSE(std::filesystem::exists(cache / "dtempo.hdr"));
    EXPECT_FALSE(std::filesystem::exists(cache / "dtemp.hdr.replaced"));

    replace_working_file(dir + "/missing.hdr", dir + "/dtemp.hdr", error);
    EXPECT_TRUE(error);
    EXPECT_EQ(read_file(cache / "dtemp.hdr"), "edited");
    EXPECT_FALSE(std::filesystem::exists(cache / "dtemp.hdr.replaced"));
}

TEST_F(EditingStepTest, TreatsAWarningAsFailureAndKeepsTheWorkingCopy) {
    const int result = run_editing_step(
        runner, desktop, dir, "/C echo -n edited > " + dir + "/dtempo.hdr; echo 'pfilt: warning: odd' >&2");
    EXPECT_EQ(result, -1);
    EXPECT_EQ(read_file(cache / "dtemp.hdr"), "original");
    ASSERT_EQ(desktop.messages.size(), 1u);
    EXPECT_EQ(desktop.messages[0].text, "pfilt: warning: odd\n");
    EXPECT_EQ(desktop.messages[0].caption, "Radiance Process Error!");
    EXPECT_EQ(desktop.messages[0].icon, MessageIcon::warning);
    EXPECT_EQ(desktop.messages[0].owner, Owner::none);
    EXPECT_FALSE(desktop.progress_shown());
}

TEST_F(EditingStepTest, ASilentProgramThatWroteNothingFailsAndLeavesTheCopyAsItWas) {
    EXPECT_EQ(run_editing_step(runner, desktop, dir, "/C true"), -1);
    EXPECT_EQ(read_file(cache / "dtemp.hdr"), "original");
    ASSERT_EQ(desktop.messages.size(), 1u);
    EXPECT_EQ(desktop.messages[0].text, "true wrote no picture; the picture was not changed");
    EXPECT_EQ(desktop.messages[0].caption, "Radiance Process Error!");
}

TEST_F(EditingStepTest, NeverTakesAStaleOutputLeftByAnEarlierStep) {
    write_file(cache / "dtempo.hdr", "stale");
    EXPECT_EQ(run_editing_step(runner, desktop, dir, "/C true"), -1);
    EXPECT_EQ(read_file(cache / "dtemp.hdr"), "original");
    EXPECT_FALSE(std::filesystem::exists(cache / "dtempo.hdr"));
}

TEST_F(EditingStepTest, ASilentNonZeroExitOrACrashLeavesTheWorkingCopyByteIdentical) {
    for (const std::string tail : {"; exit 1", "; kill -SEGV $$"}) {
        desktop.messages.clear();
        const int result =
            run_editing_step(runner, desktop, dir, "/C printf partial > " + dir + "/dtempo.hdr" + tail);
        EXPECT_EQ(result, -1) << tail;
        EXPECT_EQ(read_file(cache / "dtemp.hdr"), "original") << tail;
        EXPECT_FALSE(std::filesystem::exists(cache / "dtempo.hdr")) << tail;
        ASSERT_EQ(desktop.messages.size(), 1u);
        EXPECT_EQ(desktop.messages[0].caption, "Radiance Process Error!");
        EXPECT_NE(desktop.messages[0].text.find("printf"), std::string::npos) << desktop.messages[0].text;
    }
    EXPECT_NE(desktop.messages[0].text.find("signal 11"), std::string::npos) << desktop.messages[0].text;
}

TEST_F(EditingStepTest, AnEmptyOutputIsNotAPicture) {
    EXPECT_EQ(run_editing_step(runner, desktop, dir, "/C : > " + dir + "/dtempo.hdr"), -1);
    EXPECT_EQ(read_file(cache / "dtemp.hdr"), "original");
}

TEST_F(ProcessRunnerTest, ReportsAShellThatCannotBeStartedAsAFailure) {
    runner.set_shell((cache / "no-such-shell").string());
    const ProcessOutput out = runner.run("/C true", false);
    EXPECT_FALSE(out.started);
    EXPECT_EQ(out.text, "");
    EXPECT_EQ(out.error, "Could not start " + (cache / "no-such-shell").string() + ": No such file or directory");
}

TEST_F(EditingStepTest, ShowsAnUnstartableProgramAndKeepsTheWorkingCopy) {
    runner.set_shell((cache / "no-such-shell").string());
    EXPECT_EQ(run_editing_step(runner, desktop, dir, "/C true"), -1);
    EXPECT_EQ(read_file(cache / "dtemp.hdr"), "original");
    ASSERT_EQ(desktop.messages.size(), 1u);
    EXPECT_EQ(desktop.messages[0].caption, "Radiance Process Error!");
    EXPECT_NE(desktop.messages[0].text.find("Could not start"), std::string::npos);
}

TEST(CleanupCommands, RemoveTheWorkingCopiesButNotTheSamplesHeaderOrMask) {
    TempFolder cache;
    for (const char* name : {"dtemp.hdr", "dtempo.hdr", "dtemp.txt", "dtemps.hdr", "pcondtemp.hdr", "dtemp.bmp",
                             "dtemp.gif", "dfalse.bmp", "header", "dmask.hdr", "pvalues"})
        write_file(cache / name, "x");
    ScriptedDesktop desktop;
    MacroRecorder recorder;
    ProcessRunner runner(desktop, recorder);
    EXPECT_EQ(runner.run(cleanup_working_copies_command(cache.str()), true).text, "");
    EXPECT_EQ(runner.run(cleanup_falsecolor_command(cache.str()), true).text, "");
    std::vector<std::string> left;
    for (const auto& entry : std::filesystem::directory_iterator(cache.path()))
        left.push_back(entry.path().filename().string());
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left, (std::vector<std::string>{"dmask.hdr", "header", "pvalues"}));
}

}  // namespace
