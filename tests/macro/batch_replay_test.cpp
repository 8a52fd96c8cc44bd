// Replaying sequences over a folder with our picture programs: step files,
// the exposure rewrite, failures, refusals, existing files and Stop.

#include <gtest/gtest.h>

#include <filesystem>

#include "common/text_format.h"
#include "macro/batch_replay.h"
#include "macro/macro_pictures.h"
#include "macro/recording_host.h"
#include "picture/rgbe_reader.h"

namespace fs = std::filesystem;

namespace {

// Runs nothing at all: what a replay hands it only gets written down.
class DryHost : public ReplayHost {
public:
    ProcessOutput run(const std::string& command_line) override {
        commands.push_back(command_line);
        return {};
    }
    std::vector<std::string> commands;
};

class BatchReplay : public ::testing::Test {
protected:
    // Lines written with "{cache}" standing for the cache folder.
    std::string sequence(std::vector<std::string> lines) {
        for (auto& line : lines) line = replaced_all(line, "{cache}", cache.str());
        return write_sequence(seq / "macro.seq", lines);
    }
    ReplayReport replay(bool overwrite = false) {
        auto report = replay_sequence((seq / "macro.seq").string(), pictures.str(), cache.str(), host, overwrite);
        EXPECT_TRUE(report.ok()) << (report.ok() ? "" : report.failure().message);
        return report.ok() ? report.value() : ReplayReport{};
    }
    std::string in_pictures(const std::string& name) const { return (pictures / name).string(); }
    static float exposure_of(const std::string& path) {
        const auto exposure = read_picture_exposure(path);
        EXPECT_TRUE(exposure.ok()) << path;
        return exposure.ok() ? exposure.value() : 0.0f;
    }

    TempFolder cache;
    TempFolder pictures;
    TempFolder seq;
    RecordingHost host;
};

const std::string rotate = "40013#/C protate  {cache}/dtemp.hdr {cache}/dtempo.hdr#NULL";
const std::string flip = "40015#/C pflip -c -h {cache}/dtemp.hdr {cache}/dtempo.hdr#NULL";
std::string exposure_line(const std::string& factor, const std::string& value) {
    return "40018#/C pfilt -1 -e " + factor + " {cache}/dtemp.hdr > {cache}/dtempo.hdr#" + value;
}

}  // namespace

TEST_F(BatchReplay, AnExposureLineScalesByItsValueOverTheHeaderExposure) {
    write_macro_picture(pictures / "a.hdr", 8, 6, {"EXPOSURE=0.5"});
    sequence({exposure_line("0.8", "2")});
    const ReplayReport report = replay();
    ASSERT_EQ(host.commands.size(), 1u);
    EXPECT_EQ(host.commands[0], "/C pfilt -1 -e 4 " + in_pictures("a.hdr") + " > " + in_pictures("1-a.hdr"));
    EXPECT_FLOAT_EQ(exposure_of(in_pictures("1-a.hdr")), 2.0f);
    EXPECT_EQ(report.pictures_processed, 1);
    EXPECT_EQ(report.steps_run, 1);
    EXPECT_TRUE(report.failures.empty());
}

TEST_F(BatchReplay, TheFactorIsWrittenWithEveryDigitItNeeds) {
    write_macro_picture(pictures / "a.hdr", 8, 6, {"EXPOSURE=3"});
    sequence({exposure_line("0.5", "1")});
    replay();
    ASSERT_EQ(host.commands.size(), 1u);
    EXPECT_EQ(host.commands[0], "/C pfilt -1 -e 0.33333334 " + in_pictures("a.hdr") + " > " + in_pictures("1-a.hdr"));
    EXPECT_NEAR(exposure_of(in_pictures("1-a.hdr")), 1.0f, 2e-7f);
}

TEST_F(BatchReplay, EachExposureLineReachesItsOwnValue) {
    write_macro_picture(pictures / "a.hdr", 8, 6);
    sequence({exposure_line("2", "2"), exposure_line("2", "4")});
    replay();
    ASSERT_EQ(host.commands.size(), 2u);
    EXPECT_EQ(host.commands[1], "/C pfilt -1 -e 2 " + in_pictures("1-a.hdr") + " > " + in_pictures("2-a.hdr"));
    EXPECT_FLOAT_EQ(exposure_of(in_pictures("1-a.hdr")), 2.0f);
    EXPECT_FLOAT_EQ(exposure_of(in_pictures("2-a.hdr")), 4.0f);
    // The luminance stays what it was: only the stored values and the exposure changed together.
    const auto source = load_luminance_map(in_pictures("a.hdr"));
    const auto last = load_luminance_map(in_pictures("2-a.hdr"));
    ASSERT_TRUE(source.ok() && last.ok());
    EXPECT_NEAR(last.value().at(5, 3), source.value().at(5, 3), source.value().at(5, 3) * 0.01f);
}

TEST_F(BatchReplay, RotatesAndFlipsEveryPictureIntoNumberedStepFiles) {
    write_macro_picture(pictures / "a.hdr", 8, 6);
    write_macro_picture(pictures / "B.HDR", 4, 3);
    sequence({rotate, flip});
    const ReplayReport report = replay();
    EXPECT_EQ(report.pictures_found, 2);
    EXPECT_EQ(report.pictures_processed, 2);
    EXPECT_EQ(report.steps_run, 4);
    EXPECT_EQ(host.steps, (std::vector<std::string>{"B.HDR:1", "B.HDR:2", "a.hdr:1", "a.hdr:2"}));
    const auto turned = load_luminance_map(in_pictures("2-a.hdr"));
    ASSERT_TRUE(turned.ok());
    EXPECT_EQ(turned.value().width, 6) << "rotated: the scanlines run along the old columns";
    EXPECT_EQ(turned.value().height, 8);
    EXPECT_TRUE(fs::exists(in_pictures("1-B.HDR")));
    EXPECT_TRUE(fs::exists(in_pictures("2-B.HDR")));
}

TEST_F(BatchReplay, ASkippedLineDoesNotBreakTheStepsAfterIt) {
    write_macro_picture(pictures / "a.hdr", 8, 6);
    sequence({rotate, "40019#/C getinfo - < {cache}/dtemp.hdr>> {cache}/dtemp.txt#NULL", "40003#/C pfilt {cache}/elsewhere.hdr#NULL", flip});
    const ReplayReport report = replay();
    ASSERT_EQ(host.commands.size(), 2u);
    EXPECT_EQ(host.commands[1], "/C pflip -c -h " + in_pictures("1-a.hdr") + " " + in_pictures("2-a.hdr"));
    EXPECT_EQ(report.pictures_processed, 1);
    EXPECT_EQ(report.lines_left_out, 2);
    EXPECT_FALSE(report.complete());
    ASSERT_EQ(report.notes.size(), 2u);
    EXPECT_NE(report.notes[0].find("Line 2 refused"), std::string::npos) << report.notes[0];
    EXPECT_EQ(replay_summary(report).rfind("Work incomplete: 2 lines of the sequence were not replayed.\n", 0), 0u)
        << replay_summary(report);
    EXPECT_FALSE(fs::exists(cache / "dtemp.txt"));
}

TEST_F(BatchReplay, AFinalLineEndRunsNothing) {
    write_macro_picture(pictures / "a.hdr", 8, 6);
    sequence({flip});  // every line ends in CR LF, the last too
    const ReplayReport report = replay();
    EXPECT_EQ(host.commands.size(), 1u);
    EXPECT_TRUE(report.notes.empty());
    EXPECT_TRUE(report.complete());
    EXPECT_EQ(replay_summary(report), "1 of 1 pictures processed, 1 steps run (1 per picture).");
}

TEST_F(BatchReplay, RefusesForeignCommandLinesAndHandsNoneOfThemOn) {
    write_macro_picture(pictures / "a.hdr", 8, 6);
    sequence({"40013#/C rm -rf ~#NULL", "40013#/C rm -f {cache}/dtemp.hdr {cache}/dtempo.hdr#NULL",
              "40018#/C pfilt -1 -e 2 {cache}/dtemp.hdr > {cache}/dtempo.hdr ; rm -rf ~#2",
              "40018#/C pfilt -1 -e 2 {cache}/dtemp.hdr > {cache}/dtempo.hdr$(rm -rf ~)#2"});
    // A host that could not run anything even if it were asked to.
    DryHost dry;
    const auto report = replay_sequence((seq / "macro.seq").string(), pictures.str(), cache.str(), dry, true);
    ASSERT_TRUE(report.ok());
    EXPECT_TRUE(dry.commands.empty());
    ASSERT_EQ(report.value().notes.size(), 5u) << "four refusals and nothing to run";
    for (int line = 1; line <= 4; ++line)
        EXPECT_NE(report.value().notes[line - 1].find("Line " + std::to_string(line) + " refused"), std::string::npos)
            << report.value().notes[line - 1];
    EXPECT_NE(replay_summary(report.value()).find("Line 3 refused (it holds \";\")"), std::string::npos)
        << replay_summary(report.value());
}

TEST_F(BatchReplay, AChainedCommandNeverReachesTheShell) {
    write_macro_picture(pictures / "a.hdr", 8, 6);
    const std::string touched = (seq / "touched").string();
    sequence({"40018#/C pfilt -1 -e 2 {cache}/dtemp.hdr > {cache}/dtempo.hdr ; touch " + touched + "#2", flip});
    const ReplayReport report = replay();
    ASSERT_EQ(host.commands.size(), 1u);
    EXPECT_EQ(host.commands[0].rfind("/C pflip", 0), 0u);
    EXPECT_FALSE(fs::exists(touched));
    EXPECT_EQ(report.pictures_processed, 1);
}

TEST_F(BatchReplay, AFailedStepEndsItsPictureAndLeavesNoFile) {
    write_macro_picture(pictures / "a.hdr", 8, 6);
    write_macro_picture(pictures / "b.hdr", 8, 6);
    sequence({flip, "40035#/C pcomb  -e  \"ro=ri(1)/0;go=gi(1)/0;bo=bi(1)/0\" {cache}/dtemp.hdr > {cache}/dtempo.hdr#NULL", rotate});
    const ReplayReport report = replay();
    EXPECT_EQ(host.commands.size(), 4u) << "two steps per picture; the rotation after the failure never runs";
    EXPECT_TRUE(fs::exists(in_pictures("1-a.hdr")));
    EXPECT_FALSE(fs::exists(in_pictures("2-a.hdr")));
    EXPECT_FALSE(fs::exists(in_pictures("3-a.hdr")));
    ASSERT_EQ(report.failures.size(), 2u);
    EXPECT_EQ(report.failures[0].picture, "a.hdr");
    EXPECT_EQ(report.failures[0].step, 2);
    EXPECT_EQ(report.failures[0].line_number, 2);
    EXPECT_NE(report.failures[0].message.find("divide by zero"), std::string::npos) << report.failures[0].message;
    EXPECT_EQ(report.pictures_processed, 0);
    EXPECT_NE(replay_summary(report).find("a.hdr, step 2 (line 2): "), std::string::npos) << replay_summary(report);
}

TEST_F(BatchReplay, TakesThePicturesBeforeTheFirstStepAndNeverItsOwnStepFiles) {
    write_macro_picture(pictures / "a.hdr", 8, 6);
    sequence({flip});
    EXPECT_EQ(replay().pictures_found, 1);
    // A second run finds 1-a.hdr beside a.hdr and leaves it out.
    host.commands.clear();
    const ReplayReport again = replay(true);
    EXPECT_EQ(again.pictures_found, 1);
    EXPECT_EQ(host.commands.size(), 1u);
}

TEST_F(BatchReplay, LeavesPicturesWhoseStepFilesExistUnlessToldToReplaceThem) {
    write_macro_picture(pictures / "a.hdr", 8, 6);
    write_macro_picture(pictures / "b.hdr", 8, 6);
    write_file(pictures / "2-a.hdr", "older");
    sequence({flip, rotate});
    const auto plan = plan_batch((seq / "macro.seq").string(), pictures.str(), cache.str());
    ASSERT_TRUE(plan.ok());
    EXPECT_EQ(existing_step_files(plan.value()), std::vector<std::string>{in_pictures("2-a.hdr")});

    const ReplayReport kept = replay(false);
    EXPECT_EQ(read_file(pictures / "2-a.hdr"), "older");
    EXPECT_EQ(kept.pictures_processed, 1);
    EXPECT_EQ(kept.pictures_skipped, std::vector<std::string>{"a.hdr: 2-a.hdr exists already"});

    const ReplayReport replaced = replay(true);
    EXPECT_NE(read_file(pictures / "2-a.hdr"), "older");
    EXPECT_EQ(replaced.pictures_processed, 2);
}

TEST_F(BatchReplay, SkipsAndReportsPicturesTheShellWouldMisread) {
    write_macro_picture(pictures / "scene (2).hdr", 8, 6);
    write_macro_picture(pictures / "a;b.hdr", 8, 6);
    write_macro_picture(pictures / "ok.hdr", 8, 6);
    sequence({flip});
    const ReplayReport report = replay();
    ASSERT_EQ(host.commands.size(), 1u);
    EXPECT_EQ(report.pictures_processed, 1);
    ASSERT_EQ(report.pictures_skipped.size(), 2u);
    EXPECT_EQ(report.pictures_skipped[1].rfind("scene (2).hdr: ", 0), 0u) << report.pictures_skipped[1];
    EXPECT_FALSE(fs::exists(in_pictures("1-scene (2).hdr")));
}

TEST_F(BatchReplay, ReportsASequenceRecordedWithAnotherCacheFolder) {
    write_macro_picture(pictures / "a.hdr", 8, 6);
    write_sequence(seq / "macro.seq", {"40013#/C protate  /old/cache/dtemp.hdr /old/cache/dtempo.hdr#NULL"});
    const ReplayReport report = replay();
    EXPECT_TRUE(host.commands.empty());
    ASSERT_EQ(report.notes.size(), 1u);
    EXPECT_NE(report.notes[0].find("recorded with the cache folder /old/cache"), std::string::npos) << report.notes[0];
    EXPECT_NE(report.notes[0].find(cache.str()), std::string::npos);
}

TEST_F(BatchReplay, StopEndsTheReplayAfterTheCurrentStep) {
    write_macro_picture(pictures / "a.hdr", 8, 6);
    write_macro_picture(pictures / "b.hdr", 8, 6);
    sequence({flip, rotate});
    host.stop_after = 1;
    const ReplayReport report = replay();
    EXPECT_EQ(host.commands.size(), 1u);
    EXPECT_TRUE(report.stopped);
    EXPECT_TRUE(fs::exists(in_pictures("1-a.hdr")));
    EXPECT_FALSE(fs::exists(in_pictures("2-a.hdr")));
    EXPECT_NE(replay_summary(report).find("Stopped before the end."), std::string::npos);
}

TEST_F(BatchReplay, AnExposureStepWithoutReadableInputFailsWithoutRunning) {
    write_file(pictures / "a.hdr", "not a picture");
    sequence({exposure_line("2", "2")});
    const ReplayReport report = replay();
    EXPECT_TRUE(host.commands.empty());
    ASSERT_EQ(report.failures.size(), 1u);
    EXPECT_NE(report.failures[0].message.find("Could not read the exposure of"), std::string::npos);
}

TEST_F(BatchReplay, FailsWhenTheSequenceFileCannotBeRead) {
    const auto report = replay_sequence((seq / "missing.seq").string(), pictures.str(), cache.str(), host, false);
    ASSERT_FALSE(report.ok());
    EXPECT_NE(report.failure().message.find("missing.seq"), std::string::npos);
}

TEST_F(BatchReplay, SaysWhenTheFolderHoldsNoPicture) {
    sequence({flip});
    const ReplayReport report = replay();
    EXPECT_EQ(report.pictures_found, 0);
    EXPECT_EQ(replay_summary(report).rfind("No picture (*.hdr) was found in the folder.", 0), 0u);
}

TEST(ReplaySummary, CountsAndListsWithALimit) {
    ReplayReport report;
    report.pictures_found = 30;
    report.pictures_processed = 10;
    report.steps_planned = 2;
    report.steps_run = 20;
    for (int i = 0; i < 20; ++i)
        report.failures.push_back({strprintf("p%d.hdr", i), 1, 1, "/C x", "pfilt: bad picture size\nmore"});
    const std::string text = replay_summary(report);
    EXPECT_EQ(text.rfind("Work incomplete: 20 pictures were not processed in full.\n"
                         "10 of 30 pictures processed, 20 steps run (2 per picture).",
                         0),
              0u)
        << text;
    EXPECT_NE(text.find("Steps failed:\np0.hdr, step 1 (line 1): pfilt: bad picture size\n"), std::string::npos) << text;
    EXPECT_EQ(text.find("more\n"), std::string::npos) << "only the first line of each message";
    EXPECT_NE(text.find("... and 8 more"), std::string::npos) << text;
}
