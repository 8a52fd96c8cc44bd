#include <gtest/gtest.h>

#include "capture/capture_run.h"
#include "capture/capture_fakes.h"

using Calls = std::vector<std::string>;

TEST(WriteWithRetry, WritesOnceAfterATenMillisecondPauseWhenTheCameraAccepts) {
    RecordingCamera camera;
    ManualClock clock;
    EXPECT_EQ(write_with_retry(camera, clock.pacing(), 0x405, 0x30), 0u);
    EXPECT_EQ(camera.writes, 1);
    EXPECT_EQ(clock.now.time_since_epoch(), std::chrono::milliseconds(10));
}

TEST(WriteWithRetry, TriesAgainWhileTheCameraRefuses) {
    RecordingCamera camera;
    camera.refusals = 3;
    ManualClock clock;
    EXPECT_EQ(write_with_retry(camera, clock.pacing(), 0x406, 0x70), 0u);
    EXPECT_EQ(camera.writes, 4);
    EXPECT_EQ(camera.calls, (Calls{"shutter 0x70"}));
}

TEST(WriteWithRetry, GivesUpAfterTwoSecondsOfRefusals) {
    RecordingCamera camera;
    camera.refusals = -1;
    ManualClock clock;
    EXPECT_NE(write_with_retry(camera, clock.pacing(), 0x405, 0x30), 0u);
    EXPECT_EQ(clock.now.time_since_epoch(), std::chrono::milliseconds(2000));
    EXPECT_EQ(camera.writes, 200);
}

TEST(ManualExposures, SkipEveryPictureOfAnApertureTheCameraRefuses) {
    RecordingCamera camera;
    camera.refusals = -1;
    ManualClock clock;
    RunReport report;
    run_manual_exposures(camera, clock.pacing(), 0x24, {0x60, 0x70}, report);
    EXPECT_TRUE(camera.calls.empty());
    EXPECT_EQ(report.skipped, (Calls{"F3.5 1/30", "F3.5 1/125"}));
    EXPECT_NE(report.last_set_result, 0u);
}

TEST(ManualExposures, SkipOnlyThePictureWhoseShutterSpeedIsRefused) {
    RecordingCamera camera;
    camera.refused_codes = {0x60};
    ManualClock clock;
    RunReport report;
    run_manual_exposures(camera, clock.pacing(), 0x30, {0x60, 0x70}, report);
    EXPECT_EQ(camera.calls, (Calls{"aperture 0x30", "shutter 0x70", "picture"}));
    EXPECT_EQ(report.skipped, (Calls{"F5.6 1/30"}));
}

TEST(AutoExposures, SkipAnEntryWhoseApertureIsRefusedAndGoOn) {
    RecordingCamera camera;
    camera.refused_codes = {0x24};
    ManualClock clock;
    RunReport report;
    run_auto_exposures(camera, clock.pacing(), {{0x24, 0x70, "F3.5,1/125"}, {0x38, 0x78, "F8,1/250"}}, report);
    EXPECT_EQ(camera.calls, (Calls{"aperture 0x38", "shutter 0x78", "picture"}));
    EXPECT_EQ(report.skipped, (Calls{"F3.5 1/125"}));
}
