// A batch replayed several pictures at once reports what one at a time does.

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>

#include "macro/macro_pictures.h"
#include "macro/parallel_replay.h"

namespace fs = std::filesystem;

namespace {

class CountingHost : public ShellReplayHost {
public:
    CountingHost() : ShellReplayHost(CANDELUX_PROGRAMS_DIR) {}
    ProcessOutput run(const std::string& command_line) override {
        ++runs;
        return ShellReplayHost::run(command_line);
    }
    bool stop_requested() override { return stop_at > 0 && runs >= stop_at; }
    std::atomic<int> runs{0};
    int stop_at = 0;
};

class ParallelReplay : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* name : {"a.hdr", "b.hdr", "c.hdr", "e.hdr", "f.hdr"}) write_macro_picture(pictures / name, 9, 5);
        write_file(pictures / "d.hdr", "not a picture");
        write_file(pictures / "1-e.hdr", "left by an earlier replay");
        write_sequence(seq / "m.seq", {"40015#/C pflip -c -h " + cache.str() + "/dtemp.hdr " + cache.str() + "/dtempo.hdr#NULL",
                                       "40013#/C protate  " + cache.str() + "/dtemp.hdr " + cache.str() + "/dtempo.hdr#NULL"});
    }
    BatchPlan plan() {
        auto planned = plan_batch((seq / "m.seq").string(), pictures.str(), cache.str());
        EXPECT_TRUE(planned.ok());
        return planned.ok() ? planned.value() : BatchPlan{};
    }

    TempFolder cache, pictures, seq;
};

}  // namespace

TEST_F(ParallelReplay, ReportsInPictureOrderWhatOneAtATimeReports) {
    CountingHost one;
    const ReplayReport expected = run_batch(plan(), one, false);
    for (const char* name : {"1-a.hdr", "2-a.hdr", "1-b.hdr", "2-b.hdr", "1-c.hdr", "2-c.hdr", "1-f.hdr", "2-f.hdr"})
        fs::remove(pictures / name);

    CountingHost three;
    std::vector<std::string> finished;
    const ReplayReport report = run_batch_in_parallel(plan(), three, false, 3, [&](const PicturePlan& p, const PictureOutcome&) {
        finished.push_back(p.name);
    });
    EXPECT_EQ(replay_summary(report), replay_summary(expected));
    EXPECT_EQ(report.pictures_processed, 4);
    EXPECT_EQ(report.failures.size(), 1u);
    EXPECT_EQ(report.pictures_skipped, std::vector<std::string>{"e.hdr: 1-e.hdr exists already"});
    EXPECT_EQ(three.runs.load(), one.runs.load());
    EXPECT_EQ(finished.size(), 6u);
    EXPECT_TRUE(fs::exists(pictures / "2-f.hdr"));
}

TEST_F(ParallelReplay, NoPictureStartsOnceStopWasAsked) {
    CountingHost host;
    host.stop_at = 1;
    const ReplayReport report = run_batch_in_parallel(plan(), host, true, 2);
    EXPECT_TRUE(report.stopped);
    EXPECT_LE(host.runs.load(), 2) << "at most the step each of the two workers was on";
    EXPECT_LT(report.steps_run, 2 * 6);
}
