// The jobs --emit-jobs prints, run as a cluster runs them: through GNU
// parallel, which hands each line to the user's shell (bash here), several
// at a time. A folder whose name holds characters a shell treats specially
// in some positions, and a picture named like an option, must give the step
// files batch gives. A folder that bash would brace-expand is refused by
// both, since the programs' command lines would split its paths.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "cli/cli_process.h"
#include "macro/macro_pictures.h"
#include "tools/process_runner.h"

namespace fs = std::filesystem;
using ::testing::HasSubstr;

namespace {

// The step files of `folder` by name, removed after reading.
std::map<std::string, std::string> take_step_files(const fs::path& folder) {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::directory_iterator(folder)) {
        const std::string name = entry.path().filename().string();
        if (name[0] < '1' || name[0] > '9') continue;
        files[name] = read_file(entry.path());
        fs::remove(entry.path());
    }
    return files;
}

bool installed(const std::string& program) {
    return run_shell_command("/C command -v " + program, "", nullptr, nullptr).exit_status == 0;
}

}  // namespace

TEST(CliEmitJobs, GnuParallelRunsTheJobsToTheStepFilesOfBatch) {
    if (!installed("parallel") || !installed("bash")) GTEST_SKIP() << "GNU parallel and bash (scripts/setup installs them)";
    TempFolder root, config, cache_home;
    const fs::path folder = root / "a,b=c%d!e^f";
    fs::create_directory(folder);
    for (const char* name : {"-x.hdr", "y.hdr", "z*.hdr"}) write_macro_picture(folder / name, 9, 5, {"EXPOSURE=2"});
    const std::string sequence =
        write_sequence(root / "m.seq", {"40015#/C pflip -c -h /nowhere/dtemp.hdr /nowhere/dtempo.hdr#NULL",
                                        "40018#/C pfilt -1 -e 2 /nowhere/dtemp.hdr > /nowhere/dtempo.hdr#3"});
    const std::string words = "batch " + sequence + " '" + folder.string() + "' --cache-folder /nowhere";

    const CliRun batch = run_candelux_cli(words, config.str(), cache_home.str());
    const auto expected = take_step_files(folder);
    EXPECT_EQ(expected.size(), 4u) << batch.out << batch.err;
    EXPECT_TRUE(expected.count("2--x.hdr"));
    EXPECT_THAT(batch.out, HasSubstr("Pictures left out:\nz*.hdr")) << "the shell would glob its name";

    const CliRun jobs = run_candelux_cli(words + " --emit-jobs", config.str(), cache_home.str());
    EXPECT_EQ(jobs.status, 1) << "z*.hdr is left out";
    EXPECT_THAT(jobs.err, HasSubstr("z*.hdr left out"));
    int lines = 0;
    for (char c : jobs.out) lines += c == '\n';
    EXPECT_EQ(lines, 2);
    write_file(root / "jobs", jobs.out);

    // GNU parallel runs each job in the shell it was started from; a person
    // starts it from an interactive bash, which PARALLEL_SHELL stands for.
    const ProcessOutput parallel = run_shell_command(
        "/C cd " + root.str() + " && env -u CANDELUX_PROGRAMS SHELL=/bin/bash PARALLEL_SHELL=/bin/bash XDG_CONFIG_HOME=" + config.str() +
            " XDG_CACHE_HOME=" + cache_home.str() + " parallel --will-cite --jobs 2 < jobs",
        "", nullptr, nullptr);
    EXPECT_EQ(parallel.exit_status, 0) << parallel.text;
    EXPECT_EQ(take_step_files(folder), expected);
    EXPECT_FALSE(fs::exists(folder / ".candelux-batch.lock"));
}

TEST(CliEmitJobs, AFolderBashWouldBraceExpandIsRefusedByBatchAndJobsAlike) {
    TempFolder root, config, cache_home;
    const fs::path folder = root / "{a,b}";
    fs::create_directory(folder);
    write_macro_picture(folder / "y.hdr", 9, 5, {"EXPOSURE=2"});
    const std::string sequence =
        write_sequence(root / "m.seq", {"40015#/C pflip -c -h /nowhere/dtemp.hdr /nowhere/dtempo.hdr#NULL"});
    const std::string words = "batch " + sequence + " '" + folder.string() + "' --cache-folder /nowhere";
    for (const std::string& how : {std::string(), std::string(" --emit-jobs")}) {
        SCOPED_TRACE(how);
        const CliRun run = run_candelux_cli(words + how, config.str(), cache_home.str());
        EXPECT_EQ(run.status, 2) << run.err;
        EXPECT_THAT(run.err, HasSubstr("{a,b}"));
        EXPECT_TRUE(run.out.empty()) << run.out;
    }
    EXPECT_FALSE(fs::exists(folder / "1-y.hdr"));
    EXPECT_FALSE(fs::exists(root / "a"));
}
