// A batch replayed several pictures at once reports what one at a time does.

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>

#include "macro/macro_pictures.h"
#include "macro/parallel_replay.h"
#include "picture/bmp_writer.h"
#include "picture/rgbe_reader.h"

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

// Each picture converts the BMP mask into a file of its own step, so pictures
// replayed at the same time never read one another's mask.
TEST_F(ParallelReplay, PicturesConvertTheirMasksIntoFilesOfTheirOwn) {
    TempFolder masks, folder;
    std::vector<uint8_t> bgr(9 * 5 * 3, 0);
    for (int x = 0; x < 9; ++x) bgr[3 * x] = bgr[3 * x + 1] = bgr[3 * x + 2] = 255;  // the top row passes
    ASSERT_TRUE(write_bmp24((masks / "m.bmp").string(), 9, 5, bgr));
    for (int i = 0; i < 8; ++i) write_macro_picture(folder / ("p" + std::to_string(i) + ".hdr"), 9, 5);
    const std::string c = cache.str();
    write_sequence(seq / "mask.seq",
                   {"40029#/C ra_bmp -r " + (masks / "m.bmp").string() + " " + c + "/dmask.hdr#NULL",
                    "40029#/C pcomb -e \"ro=if(ri(1)-0.5,ri(2),0);go=if(gi(1)-0.5,gi(2),0);bo=if(bi(1)-0.5,bi(2),0)\" " +
                        c + "/dmask.hdr " + c + "/dtemp.hdr > " + c + "/dtempo.hdr#NULL"});
    auto planned = plan_batch((seq / "mask.seq").string(), folder.str(), cache.str());
    ASSERT_TRUE(planned.ok());
    CountingHost host;
    const ReplayReport report = run_batch_in_parallel(planned.value(), host, false, 4);
    EXPECT_TRUE(report.complete()) << replay_summary(report);
    EXPECT_EQ(host.runs.load(), 16) << "a conversion and a pcomb per picture";
    for (int i = 0; i < 8; ++i) {
        const auto masked = load_luminance_map((folder / ("1-p" + std::to_string(i) + ".hdr")).string());
        ASSERT_TRUE(masked.ok());
        EXPECT_GT(masked.value().at(4, 0), 1e-3f);
        EXPECT_LT(masked.value().at(4, 1), 1e-3f);
        EXPECT_FALSE(fs::exists(folder / ("1-p" + std::to_string(i) + ".hdr.mask")));
    }
}
