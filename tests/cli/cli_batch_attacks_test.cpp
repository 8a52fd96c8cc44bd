// candelux-cli batch with sequence files an attacker wrote: refused lines are
// listed, nothing outside the picture folder changes, and the run exits 1
// ("work incomplete"); the operations themselves run with whichever programs
// CANDELUX_PROGRAMS names.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "cli/cli_process.h"
#include "macro/macro_pictures.h"
#include "tools/process_runner.h"

namespace fs = std::filesystem;
using ::testing::HasSubstr;

namespace {

class CliBatchAttacks : public ::testing::Test {
protected:
    void SetUp() override {
        write_file(home / ".bashrc", "echo welcome\n");
        write_file(home / "secret.txt", "password=hunter2\n");
        write_macro_picture(pictures / "a.hdr", 8, 6);
        write_macro_picture(pictures / "b.hdr", 8, 6);
    }
    std::string sequence(const std::vector<std::string>& lines) {
        std::vector<std::string> placed;
        for (const std::string& line : lines)
            placed.push_back(replaced_all(replaced_all(line, "{cache}", cache.str()), "{home}", home.str()));
        return write_sequence(seq / "attack.seq", placed);
    }
    CliRun batch(const std::string& sequence_file, const std::string& more = "") {
        return run_candelux_cli("batch " + sequence_file + " " + pictures.str() + " --cache-folder " + cache.str() + more,
                                config.str(), cache_home.str());
    }

    TempFolder config, cache_home, cache, pictures, seq, home;
    const std::string flip = "40015#/C pflip -c -h {cache}/dtemp.hdr {cache}/dtempo.hdr#NULL";
};

}  // namespace

TEST_F(CliBatchAttacks, ALineAimedOutsideIsRefusedAndTheRunExitsOne) {
    const std::string before = folder_listing(home.path());
    const std::vector<std::string> attacks = {
        "40015#/C pflip -c -h {cache}/dtemp.hdr ~/.bashrc | protate {cache}/dtemp.hdr {cache}/dtempo.hdr#NULL",
        "40015#/C pflip -c -h {cache}/dtemp.hdr {home}/.bashrc#NULL",
        "40015#/C getinfo {home}/secret.txt {cache}/dtemp.hdr > {cache}/dtempo.hdr#NULL",
        "40003#/C tm_linear -i {cache}/dtemp.hdr -o {home}/.bashrc#NULL",
        "40033#/C evalglare -c {home}/.bashrc -x {cache}/dtemp.hdr#NULL",
        "40035#/C pcomb -e \"ro=ri(1)\" -h {cache}/dtemp.hdr > {cache}/dtempo.hdr#NULL",
    };
    for (const std::string& attack : attacks) {
        SCOPED_TRACE(attack);
        const CliRun run = batch(sequence({attack, flip}), " --overwrite --jobs 2");
        EXPECT_EQ(run.status, 1) << run.err;
        EXPECT_THAT(run.err, HasSubstr("Line 1 refused"));
        EXPECT_THAT(run.err, HasSubstr("candelux-cli batch: work incomplete\n"));
        EXPECT_EQ(run.out.rfind("Work incomplete: 1 lines of the sequence were not replayed.\n"
                                "2 of 2 pictures processed, 2 steps run (1 per picture).",
                                0),
                  0u)
            << run.out;
        EXPECT_EQ(folder_listing(home.path()), before);
        EXPECT_EQ(read_file(home / ".bashrc"), "echo welcome\n");
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(pictures.path())) names.push_back(entry.path().filename());
        std::sort(names.begin(), names.end());
        EXPECT_EQ(names, (std::vector<std::string>{"1-a.hdr", "1-b.hdr", "a.hdr", "b.hdr"}));
        EXPECT_EQ(read_file(pictures / "1-a.hdr").find("password"), std::string::npos);
    }

    // Nothing but refused lines: nothing runs, and that is work not done.
    const CliRun only = batch(sequence({attacks[1]}), " --overwrite");
    EXPECT_EQ(only.status, 1);
    EXPECT_THAT(only.err, HasSubstr("nothing to replay; work incomplete"));

    // The jobs for other machines leave the line out as well, and say so.
    const CliRun jobs = batch(sequence({attacks[1], flip}), " --overwrite --emit-jobs");
    EXPECT_EQ(jobs.status, 1);
    EXPECT_THAT(jobs.err, HasSubstr("work incomplete"));
    EXPECT_EQ(folder_listing(home.path()), before);
}

TEST_F(CliBatchAttacks, ACompleteRunExitsZeroAndPictureNamesReachTheTerminalEscaped) {
    write_macro_picture(pictures / "c\x1bx\x07.hdr", 8, 6);
    const CliRun run = batch(sequence({flip}));
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "3 of 3 pictures processed, 3 steps run (1 per picture).\n");
    EXPECT_EQ(run.err.find('\x1b'), std::string::npos) << run.err;
    EXPECT_THAT(run.err, HasSubstr("c\\x1bx\\x07.hdr done"));
}

// A Radiance installation named by CANDELUX_PROGRAMS replays the same
// operations: here a folder of wrappers that note each call and run ours.
TEST_F(CliBatchAttacks, ReplaysWithTheProgramsThatCandeluxProgramsNames) {
    TempFolder radiance;
    for (const char* program : {"pflip", "pfilt", "pcomb"}) {
        const fs::path wrapper = radiance / program;
        write_file(wrapper, std::string("#!/bin/sh\necho ") + program + " >> " + (radiance / "calls").string() +
                                "\nexec " + CANDELUX_PROGRAMS_DIR + "/" + program + " \"$@\"\n");
        fs::permissions(wrapper, fs::perms::owner_all);
    }
    const std::string file = sequence({flip, "40018#/C pfilt -1 -e 2 {cache}/dtemp.hdr > {cache}/dtempo.hdr#3",
                                       "40060#/C pcomb  -e  \"ro=ri(1)/2.5;go=gi(1)/2.5;bo=bi(1)/2.5\" "
                                       "{cache}/dtemp.hdr > {cache}/dtempo.hdr#NULL"});
    const std::string command = "/C env CANDELUX_PROGRAMS=" + radiance.str() + " XDG_CONFIG_HOME=" + config.str() +
                                " XDG_CACHE_HOME=" + cache_home.str() + " " + CANDELUX_CLI + " batch " + file + " " +
                                pictures.str() + " --cache-folder " + cache.str() + " --jobs 1 2>/dev/null";
    const ProcessOutput result = run_shell_command(command, "", nullptr, nullptr);
    EXPECT_EQ(result.exit_status, 0) << result.text;
    EXPECT_EQ(read_file(radiance / "calls"), "pflip\npfilt\npcomb\npflip\npfilt\npcomb\n");
    EXPECT_TRUE(fs::exists(pictures / "3-a.hdr"));
    EXPECT_TRUE(fs::exists(pictures / "3-b.hdr"));
}
