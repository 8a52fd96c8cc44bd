// What a run of candelux-cli leaves when it is told to end (Ctrl-C, a
// scheduler's SIGTERM, a closed terminal's SIGHUP) while a picture program
// is at work, and what a second batch on the same folder is told. The
// programs are slow stand-ins that write part of their output and wait.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <signal.h>

#include <cerrno>
#include <filesystem>

#include "app/application.h"
#include "app/commands.h"
#include "cli/cli_process.h"
#include "macro/batch_form.h"
#include "macro/folder_lock.h"
#include "macro/macro_pictures.h"
#include "support/scripted_desktop.h"

namespace fs = std::filesystem;
using ::testing::HasSubstr;

namespace {

// Writes a little of its output (its last argument), notes its process
// number, and waits far longer than any test.
constexpr const char* slow_flip =
    "for last; do :; done\n"
    "printf partial > \"$last\"\n"
    "echo $$ > \"$(dirname \"$last\")/../slow.pid\"\n"
    "exec sleep 120";

class CliBatchRun : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directory(root / "pictures");
        write_macro_picture(pictures() / "p.hdr", 6, 4);
        write_sequence(root / "flip.seq", {"40015#/C pflip -c -h /nowhere/dtemp.hdr /nowhere/dtempo.hdr#NULL"});
        write_program_folder(programs.path(), "pflip", slow_flip);
        before = folder_listing(pictures());
    }
    fs::path pictures() const { return root / "pictures"; }
    std::vector<std::string> batch_words() const {
        return {"batch", (root / "flip.seq").string(), pictures().string(), "--cache-folder", "/nowhere", "--jobs", "1"};
    }
    BackgroundCli start_batch() {
        return start_candelux_cli(batch_words(), config.str(), cache_home.str(), programs.str(), root / "err.txt");
    }
    // Tools > Batch Process... of a window whose cache folder is `cache`, on
    // the pictures: the message it ends with.
    std::string window_batch(const std::string& cache, const std::string& program_folder, const fs::path& sequence) {
        TempFolder app_config;
        ScriptedDesktop desktop;
        Application app{desktop, PlatformFolders{app_config.str(), cache}, program_folder};
        EXPECT_TRUE(app.on_create());
        desktop.file_answers.push_back({1, sequence.string()});
        desktop.folder_answers.push_back(pictures().string());
        desktop.batch_dialog = [](BatchForm& form) {
            form.on_browse();
            form.on_set_path();
            return form.on_ok() ? 1 : 0;
        };
        app.on_command(command::batch_process);
        return desktop.messages.empty() ? std::string() : desktop.messages.back().text;
    }
    // The slow program's process number, once it has started.
    pid_t slow_program() const { return static_cast<pid_t>(std::stol(read_file(root / "slow.pid"))); }

    TempFolder root, config, cache_home, programs;
    std::string before;
};

class CliStop : public CliBatchRun, public ::testing::WithParamInterface<int> {};

bool gone(pid_t pid) { return ::kill(pid, 0) != 0 && errno == ESRCH; }

}  // namespace

TEST_P(CliStop, ASignalDuringAStepStopsTheProgramAndRemovesItsStepFile) {
    const int signal = GetParam();
    const BackgroundCli batch = start_batch();
    ASSERT_GT(batch.pid, 0);
    ASSERT_TRUE(eventually([&] { return fs::exists(pictures() / "1-p.hdr") && fs::exists(root / "slow.pid"); }));
    ASSERT_TRUE(eventually([&] { return !read_file(root / "slow.pid").empty(); }));
    const pid_t program = slow_program();
    EXPECT_TRUE(fs::exists(pictures() / folder_lock_name)) << "held while the batch runs";

    ::kill(batch.pid, signal);
    EXPECT_EQ(batch.wait(), 128 + signal);
    EXPECT_THAT(batch.err(), HasSubstr("candelux-cli: stopped by SIG"));
    EXPECT_FALSE(fs::exists(pictures() / "1-p.hdr")) << "the partial step file is removed";
    EXPECT_FALSE(fs::exists(pictures() / folder_lock_name));
    EXPECT_TRUE(eventually([&] { return gone(program); })) << "the program is stopped, not left running";
    EXPECT_EQ(folder_listing(pictures()), before);
}

INSTANTIATE_TEST_SUITE_P(EachSignal, CliStop, ::testing::Values(SIGTERM, SIGINT, SIGHUP),
                         [](const auto& info) { return std::string(sigabbrev_np(info.param)); });

TEST_F(CliBatchRun, ASecondBatchOnTheFolderIsRefusedAndNamesTheFirst) {
    const BackgroundCli first = start_batch();
    ASSERT_GT(first.pid, 0);
    ASSERT_TRUE(eventually([&] { return fs::exists(pictures() / "1-p.hdr"); }));

    std::string words;
    for (const std::string& word : batch_words()) words += word + " ";
    const CliRun second = run_candelux_cli(words, config.str(), cache_home.str());
    EXPECT_EQ(second.status, 2);
    EXPECT_THAT(second.err, HasSubstr("is in use by another batch (pid " + std::to_string(first.pid) +
                                      ", candelux-cli batch " + (root / "flip.seq").string()));
    EXPECT_THAT(second.err, HasSubstr(" UTC)"));
    EXPECT_TRUE(fs::exists(pictures() / folder_lock_name)) << "the refused run leaves the first one's lock";

    // One picture's job, as --emit-jobs prints them, is refused as well.
    const CliRun job = run_candelux_cli(words + "--picture p.hdr", config.str(), cache_home.str());
    EXPECT_EQ(job.status, 2);
    EXPECT_THAT(job.err, HasSubstr("in use by another batch"));

    // And so is the window's Batch Process.
    TempFolder app_cache;
    EXPECT_THAT(window_batch(app_cache.str(), CANDELUX_PROGRAMS_DIR, root / "flip.seq"),
                HasSubstr("in use by another batch (pid " + std::to_string(first.pid)));

    ::kill(first.pid, SIGTERM);
    EXPECT_EQ(first.wait(), 128 + SIGTERM);
}

TEST_F(CliBatchRun, TheWindowsBatchRefusesTheCommandLine) {
    const FolderLock window(pictures().string(), "the Batch Process of the candelux window");
    ASSERT_TRUE(window.held());
    std::string words;
    for (const std::string& word : batch_words()) words += word + " ";
    const CliRun refused = run_candelux_cli(words, config.str(), cache_home.str());
    EXPECT_EQ(refused.status, 2);
    EXPECT_THAT(refused.err, HasSubstr("(pid " + std::to_string(::getpid()) +
                                       ", the Batch Process of the candelux window, started "));
    EXPECT_FALSE(fs::exists(pictures() / "1-p.hdr"));
}

TEST_F(CliBatchRun, TheWindowHoldsTheFolderForItsWholeBatch) {
    // The window's flip program first tries a command-line batch on the same
    // folder, then flips.
    TempFolder app_cache, window_programs;
    const std::string cache = app_cache.str();
    write_sequence(root / "window.seq",
                   {"40015#/C pflip -c -h " + cache + "/dtemp.hdr " + cache + "/dtempo.hdr#NULL"});
    write_program_folder(window_programs.path(), "pflip",
                         "XDG_CONFIG_HOME=" + config.str() + " XDG_CACHE_HOME=" + cache_home.str() + " " +
                             CANDELUX_CLI + " batch " + (root / "window.seq").string() + " " + pictures().string() +
                             " --cache-folder " + cache + " 2> " + (root / "second.err").string() + " >/dev/null\n" +
                             "echo $? > " + (root / "second.status").string() + "\nexec " + CANDELUX_PROGRAMS_DIR +
                             "/pflip \"$@\"");
    EXPECT_THAT(window_batch(cache, window_programs.str(), root / "window.seq"), HasSubstr("1 of 1 pictures processed"));
    EXPECT_EQ(read_file(root / "second.status"), "2\n");
    EXPECT_THAT(read_file(root / "second.err"),
                HasSubstr("in use by another batch (pid " + std::to_string(::getpid()) +
                          ", the Batch Process of the candelux window, started "));
    EXPECT_TRUE(fs::exists(pictures() / "1-p.hdr"));
    EXPECT_FALSE(fs::exists(pictures() / folder_lock_name)) << "removed when the window's batch ends";
}

namespace {

class CliStatsStop : public ::testing::TestWithParam<int> {};

}  // namespace

TEST_P(CliStatsStop, ASignalDuringTheStatisticsLeavesNoWorkingFolder) {
    const int signal = GetParam();
    TempFolder dir, config, cache_home, programs;
    write_macro_picture(dir / "p.hdr", 30, 20);
    write_macro_picture(dir / "m.hdr", 30, 20);
    const std::string started = (dir / "started").string();
    write_program_folder(programs.path(), "rcalc", "touch " + started + "\nexec sleep 120");
    const BackgroundCli stats =
        start_candelux_cli({"stats", (dir / "p.hdr").string(), "--mask", (dir / "m.hdr").string()}, config.str(),
                           cache_home.str(), programs.str(), dir / "err.txt");
    ASSERT_GT(stats.pid, 0);
    ASSERT_TRUE(eventually([&] { return fs::exists(started); }));
    const fs::path cache = cache_home / "candelux";
    ASSERT_FALSE(folder_listing(cache).empty()) << "the run's folder, with its copy of the picture";

    ::kill(stats.pid, signal);
    EXPECT_EQ(stats.wait(), 128 + signal);
    EXPECT_EQ(folder_listing(cache), "");
}

INSTANTIATE_TEST_SUITE_P(EachSignal, CliStatsStop, ::testing::Values(SIGTERM, SIGINT),
                         [](const auto& info) { return std::string(sigabbrev_np(info.param)); });
