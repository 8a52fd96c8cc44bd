#include <gtest/gtest.h>

#include <algorithm>

#include "capture/capture_fakes.h"
#include "capture/capture_form.h"
#include "settings/settings_file.h"
#include "support/scripted_desktop.h"
#include "support/temp_folder.h"

using namespace std::chrono_literals;
using Calls = std::vector<std::string>;

namespace {

class CaptureFormTest : public ::testing::Test {
protected:
    TempFolder appdata;
    ScriptedDesktop desktop;
    RecordingCamera camera;
    ManualClock steady;
    std::chrono::system_clock::time_point now = std::chrono::system_clock::time_point(100000h);
    SettingsFile settings{PlatformFolders{appdata.str(), appdata.str()}};
    CaptureForm form{desktop, camera, settings, steady.pacing(), [this] { return now; }};

    // Opens the dialog and chooses a folder, as a run needs.
    void open_with_folder() {
        form.on_open();
        desktop.folder_answers.push_back(appdata.str());
        form.on_set_folder();
    }

    int aperture_item(const std::string& label) const {
        auto it = std::find(form.aperture_items.begin(), form.aperture_items.end(), label);
        return it == form.aperture_items.end() ? -1 : static_cast<int>(it - form.aperture_items.begin());
    }

    void tick(std::vector<bool>& ticked, const std::string& label) {
        auto it = std::find(form.shutter_items.begin(), form.shutter_items.end(), label);
        ASSERT_NE(it, form.shutter_items.end()) << label;
        ticked[static_cast<size_t>(it - form.shutter_items.begin())] = true;
    }

    // Manual, one aperture, 1/125: one picture a run.
    void choose_one_manual_exposure() {
        form.on_manual();
        form.aperture1_selection = aperture_item("F8");
        tick(form.shutter1_ticked, "1/125");
    }

    void ticks(int count) {
        for (int i = 0; i < count; ++i) form.on_timer();
    }

    int pictures() const { return static_cast<int>(std::count(camera.calls.begin(), camera.calls.end(), "picture")); }

    void write_autocap(const std::string& text) {
        std::filesystem::create_directories(settings.folder());
        write_file(settings.folder() / "autocap.asf", text);
    }

    bool shown_enabled(int id) const { return form.control(id).visible && form.control(id).enabled; }
    bool shown_disabled(int id) const { return form.control(id).visible && !form.control(id).enabled; }
};

}  // namespace

// --- opening -------------------------------------------------------------------

TEST_F(CaptureFormTest, OpeningOffersOnlyTheShutterSpeedsFromTwoSecondsToOneEightThousandth) {
    form.on_open();
    ASSERT_FALSE(form.shutter_items.empty());
    EXPECT_EQ(form.shutter_items.front(), "2\"");
    EXPECT_EQ(form.shutter_items.back(), "1/8000");
    EXPECT_EQ(form.shutter_items.size(), 43u);
    EXPECT_EQ(form.shutter_codes().front(), 0x30u);
    EXPECT_EQ(form.shutter_codes().size(), form.shutter_items.size());
}

TEST_F(CaptureFormTest, OpeningShowsAutomaticOnceAndNoFolder) {
    camera.set_save_folder("/earlier/");
    form.on_open();
    EXPECT_EQ(form.folder_text, "<Please set a valid path>");
    EXPECT_EQ(camera.save_folder(), "");
    EXPECT_EQ(form.capture_mode, CaptureMode::automatic);
    EXPECT_EQ(form.timing, Timing::once);
    EXPECT_EQ(form.aperture_mode, ApertureMode::single);
    EXPECT_FALSE(form.control(capture_ids::interval).enabled);
    EXPECT_FALSE(form.control(capture_ids::next_sequence).visible);
    EXPECT_FALSE(form.control(capture_ids::countdown).visible);
    EXPECT_TRUE(shown_disabled(capture_ids::aperture_mode));
    EXPECT_TRUE(shown_disabled(capture_ids::aperture1));
    EXPECT_TRUE(shown_disabled(capture_ids::shutters1));
    EXPECT_FALSE(form.control(capture_ids::aperture2).visible);
    EXPECT_FALSE(form.control(capture_ids::shutters2).visible);
}

TEST_F(CaptureFormTest, OpeningListsTheCamerasAperturesUnsortedWithAnFForUnknownCodes) {
    camera.apertures = {0x38, 0x30, 0x01};
    form.on_open();
    EXPECT_EQ(form.aperture_items, (Calls{"F8", "F5.6", "F"}));
}

TEST_F(CaptureFormTest, OpeningSelectsTheCurrentApertureSearchingFromTheSecondItem) {
    camera.apertures = {0x08, 0x10, 0x40};  // F1, F1.4, F11
    camera.current_aperture = 0x08;         // "F1" begins "F1.4" too
    form.on_open();
    EXPECT_EQ(form.aperture1_selection, 1);
    EXPECT_EQ(form.aperture2_selection, 1);
    EXPECT_EQ(form.aperture1(), 0x08u);
    EXPECT_EQ(form.aperture2(), 0x08u);
}

TEST_F(CaptureFormTest, OpeningWrapsRoundToTheFirstItemWhenTheSearchFindsNothingLater) {
    camera.apertures = {0x30, 0x38};
    camera.current_aperture = 0x30;
    form.on_open();
    EXPECT_EQ(form.aperture1_selection, 0);
}

TEST_F(CaptureFormTest, OpeningSelectsNothingWhenTheCurrentApertureIsNotListed) {
    camera.current_aperture = 0x58;
    form.on_open();
    EXPECT_EQ(form.aperture1_selection, -1);
    EXPECT_EQ(form.aperture1(), 0x58u);
}

// --- the controls --------------------------------------------------------------

TEST_F(CaptureFormTest, ManualEnablesTheApertureModeAndTheFirstLists) {
    form.on_open();
    form.on_manual();
    EXPECT_EQ(form.capture_mode, CaptureMode::manual);
    EXPECT_TRUE(shown_enabled(capture_ids::aperture_mode));
    EXPECT_TRUE(shown_enabled(capture_ids::aperture1));
    EXPECT_TRUE(shown_enabled(capture_ids::shutters1));
    EXPECT_FALSE(form.control(capture_ids::aperture2).visible);
}

TEST_F(CaptureFormTest, TwoAperturesInManualModeShowTheSecondListsEnabled) {
    form.on_open();
    form.on_manual();
    form.on_aperture_mode(1);
    EXPECT_TRUE(shown_enabled(capture_ids::aperture2));
    EXPECT_TRUE(shown_enabled(capture_ids::shutters2));
    form.on_aperture_mode(0);
    EXPECT_FALSE(form.control(capture_ids::aperture2).visible);
    EXPECT_FALSE(form.control(capture_ids::shutters2).visible);
}

TEST_F(CaptureFormTest, TwoAperturesWithAutomaticSelectedShowTheSecondListsDisabled) {
    form.on_open();
    form.on_manual();
    form.on_aperture_mode(1);
    form.on_automatic();
    EXPECT_TRUE(shown_disabled(capture_ids::aperture2));
    EXPECT_TRUE(shown_disabled(capture_ids::shutters2));

    form.on_open();
    form.on_aperture_mode(1);
    EXPECT_TRUE(shown_disabled(capture_ids::aperture2));
    EXPECT_TRUE(shown_disabled(capture_ids::shutters2));
}

TEST_F(CaptureFormTest, OnceAndTimedSwitchTheIntervalField) {
    form.on_open();
    form.on_timed();
    EXPECT_EQ(form.timing, Timing::timed);
    EXPECT_TRUE(form.control(capture_ids::interval).enabled);
    form.on_once();
    EXPECT_EQ(form.timing, Timing::once);
    EXPECT_FALSE(form.control(capture_ids::interval).enabled);
}

TEST_F(CaptureFormTest, SetFolderShowsTheFolderAndSavesIntoItWithASeparator) {
    form.on_open();
    desktop.folder_answers.push_back("/data/pictures");
    form.on_set_folder();
    EXPECT_EQ(form.folder_text, "/data/pictures");
    EXPECT_EQ(camera.save_folder(), "/data/pictures/");
}

TEST_F(CaptureFormTest, SetFolderAcceptsAFolderWithBlanks) {
    form.on_open();
    desktop.folder_answers.push_back("/data/my pictures");
    form.on_set_folder();
    EXPECT_EQ(camera.save_folder(), "/data/my pictures/");
    EXPECT_TRUE(desktop.messages.empty());
}

TEST_F(CaptureFormTest, ACancelledFolderChooserChangesNothing) {
    open_with_folder();
    form.on_set_folder();
    EXPECT_EQ(form.folder_text, appdata.str());
    EXPECT_EQ(camera.save_folder(), appdata.str() + "/");
}

TEST_F(CaptureFormTest, AFolderTooLongForTheSavePathIsRefusedRatherThanCut) {
    form.on_open();
    desktop.folder_answers.push_back("/" + std::string(254, 'a'));
    form.on_set_folder();
    EXPECT_EQ(camera.save_folder(), "");
    EXPECT_EQ(form.folder_text, "<Please set a valid path>");
    ASSERT_EQ(desktop.messages.size(), 1u);
    EXPECT_EQ(desktop.messages[0].text, "Invalid Path - Please choose a valid path to save captured images");

    desktop.folder_answers.push_back("/" + std::string(253, 'a'));
    form.on_set_folder();
    EXPECT_EQ(camera.save_folder().size(), 255u);
}

// --- the schedule and the countdown -----------------------------------------------

TEST_F(CaptureFormTest, OkWithoutAFolderShowsInvalidPathAndStartsNothing) {
    form.on_open();
    form.on_ok();
    ASSERT_EQ(desktop.messages.size(), 1u);
    EXPECT_EQ(desktop.messages[0].text, "Invalid Path - Please choose a valid path to save captured images");
    EXPECT_EQ(desktop.messages[0].caption, "Error!");
    EXPECT_EQ(desktop.messages[0].icon, MessageIcon::error);
    EXPECT_FALSE(form.timer_running());
}

TEST_F(CaptureFormTest, TheFirstOkTakesNoPictureAndCountsDownToTheStartTime) {
    open_with_folder();
    choose_one_manual_exposure();
    form.on_timed();
    form.interval_text = "2";
    form.start_time = now + 10s;
    form.on_ok();
    EXPECT_EQ(pictures(), 0);
    EXPECT_TRUE(form.timer_running());
    EXPECT_EQ(form.countdown(), 10u);
    EXPECT_EQ(form.interval(), 2u);
    EXPECT_TRUE(form.control(capture_ids::next_sequence).visible);
    EXPECT_TRUE(form.control(capture_ids::countdown).visible);
    EXPECT_TRUE(form.control(capture_ids::ok).enabled);
}

TEST_F(CaptureFormTest, TheCountdownShows0009AfterTheFirstTickAndRunsWhenItReachesZero) {
    open_with_folder();
    choose_one_manual_exposure();
    form.on_timed();
    form.interval_text = "2";
    form.start_time = now + 10s;
    form.on_ok();

    form.on_timer();
    EXPECT_EQ(form.countdown_text, "00:09");
    ticks(8);
    EXPECT_EQ(form.countdown_text, "00:01");
    EXPECT_EQ(pictures(), 0);
    form.on_timer();
    EXPECT_EQ(pictures(), 1);
    EXPECT_TRUE(form.started());
    EXPECT_TRUE(form.timer_running());

    form.on_timer();
    EXPECT_EQ(form.countdown_text, "01:59");
    EXPECT_TRUE(form.control(capture_ids::countdown).visible);
    ticks(119);
    EXPECT_EQ(pictures(), 2);
}

TEST_F(CaptureFormTest, OnceWithTheStartTimePassedRunsAtTheFirstTickAndNoMore) {
    open_with_folder();
    choose_one_manual_exposure();
    form.start_time = now - 60s;
    form.on_ok();
    EXPECT_EQ(form.countdown(), 1u);
    EXPECT_FALSE(form.control(capture_ids::countdown).visible);
    form.on_timer();
    EXPECT_EQ(pictures(), 1);
    // An interval of 0 leaves a countdown of 0, which the next tick wraps.
    form.on_timer();
    EXPECT_EQ(form.countdown(), 4294967295u);
    EXPECT_EQ(form.countdown_text, "71582788:15");
    ticks(1000);
    EXPECT_EQ(pictures(), 1);
}

TEST_F(CaptureFormTest, AStartTimeLessThanASecondAheadStillLeadsToARun) {
    open_with_folder();
    choose_one_manual_exposure();
    form.start_time = now + 500ms;
    form.on_ok();
    EXPECT_EQ(form.countdown(), 1u);
    form.on_timer();
    EXPECT_EQ(pictures(), 1);
}

TEST_F(CaptureFormTest, OnceWithAnIntervalLeftInTheDisabledFieldRepeatsWithoutShowingTheCountdown) {
    open_with_folder();
    choose_one_manual_exposure();
    form.interval_text = "1";
    form.start_time = now;
    form.on_ok();
    form.on_timer();
    EXPECT_EQ(pictures(), 1);
    EXPECT_EQ(form.countdown(), 60u);
    EXPECT_FALSE(form.control(capture_ids::countdown).visible);
    ticks(60);
    EXPECT_EQ(pictures(), 2);
}

TEST_F(CaptureFormTest, OkAfterTheFirstRunRunsAtOnceAndRestartsTheCountdown) {
    open_with_folder();
    choose_one_manual_exposure();
    form.on_timed();
    form.interval_text = "5";
    form.start_time = now;
    form.on_ok();
    form.on_timer();
    ticks(10);
    const unsigned starts = form.timer_starts();
    form.on_ok();
    EXPECT_EQ(pictures(), 2);
    EXPECT_EQ(form.countdown(), 300u);
    EXPECT_GT(form.timer_starts(), starts);
}

TEST_F(CaptureFormTest, TicksDuringARunAreNotCounted) {
    open_with_folder();
    choose_one_manual_exposure();
    form.on_timed();
    form.interval_text = "1";
    form.start_time = now;
    form.on_ok();
    camera.while_taking = [this] { ticks(100); };
    form.on_timer();
    EXPECT_EQ(pictures(), 1);
    EXPECT_EQ(form.countdown(), 60u);
}

TEST_F(CaptureFormTest, CancelEndsTheSessionStopsTheTimerAndForgetsTheStart) {
    open_with_folder();
    choose_one_manual_exposure();
    form.start_time = now;
    form.on_ok();
    form.on_timer();
    form.on_cancel();
    EXPECT_EQ(camera.disconnects, 1);
    EXPECT_FALSE(form.timer_running());
    EXPECT_FALSE(form.started());
}

TEST_F(CaptureFormTest, TheCloseButtonStopsTheTimerButLeavesTheSessionOpen) {
    open_with_folder();
    form.start_time = now;
    form.on_ok();
    form.on_close();
    EXPECT_EQ(camera.disconnects, 0);
    EXPECT_FALSE(form.timer_running());
    EXPECT_FALSE(form.started());
}

// --- manual runs --------------------------------------------------------------------

TEST_F(CaptureFormTest, ASingleApertureRunWritesTheApertureThenEachTickedShutterSpeed) {
    open_with_folder();
    form.on_manual();
    form.aperture1_selection = aperture_item("F5.6");
    tick(form.shutter1_ticked, "1/500");
    tick(form.shutter1_ticked, "1/30");
    tick(form.shutter1_ticked, "1/125");
    form.capture_now();
    EXPECT_EQ(camera.calls, (Calls{"aperture 0x30", "shutter 0x60", "picture", "shutter 0x70", "picture",
                                   "shutter 0x80", "picture"}));
    EXPECT_EQ(form.aperture1(), 0x30u);
    EXPECT_EQ(form.last_set_result(), 0u);
}

TEST_F(CaptureFormTest, ATwoApertureRunTakesEveryPictureOfTheFirstApertureFirst) {
    open_with_folder();
    form.on_manual();
    form.on_aperture_mode(1);
    form.aperture1_selection = aperture_item("F5.6");
    form.aperture2_selection = aperture_item("F11");
    tick(form.shutter1_ticked, "1/30");
    tick(form.shutter1_ticked, "1/125");
    tick(form.shutter2_ticked, "1/60");
    form.capture_now();
    EXPECT_EQ(camera.calls, (Calls{"aperture 0x30", "shutter 0x60", "picture", "shutter 0x70", "picture",
                                   "aperture 0x40", "shutter 0x68", "picture"}));
    EXPECT_EQ(form.aperture2(), 0x40u);
}

TEST_F(CaptureFormTest, AnApertureListWithoutSelectionSkipsItsRunWithAMessage) {
    open_with_folder();
    form.on_manual();
    form.on_aperture_mode(1);
    form.aperture1_selection = -1;
    form.aperture2_selection = aperture_item("F8");
    tick(form.shutter1_ticked, "1/30");
    tick(form.shutter2_ticked, "1/60");
    form.capture_now();
    EXPECT_EQ(camera.calls, (Calls{"aperture 0x38", "shutter 0x68", "picture"}));
    ASSERT_EQ(desktop.messages.size(), 1u);
    EXPECT_EQ(desktop.messages[0].text, "No aperture selected - Please choose an aperture for the manual capture");
}

TEST_F(CaptureFormTest, ARefusingCameraDoesNotHoldTheRunUpAndIsReportedOnce) {
    open_with_folder();
    form.on_manual();
    form.aperture1_selection = aperture_item("F5.6");
    tick(form.shutter1_ticked, "1/30");
    tick(form.shutter1_ticked, "1/125");
    camera.refusals = -1;
    form.capture_now();
    EXPECT_EQ(pictures(), 0);
    EXPECT_LE(steady.now.time_since_epoch(), 2s);
    EXPECT_NE(form.last_set_result(), 0u);
    ASSERT_EQ(desktop.messages.size(), 1u);
    EXPECT_EQ(desktop.messages[0].text,
              "The camera did not accept these settings, so no picture was taken for: F5.6 1/30, F5.6 1/125");
    EXPECT_EQ(desktop.messages[0].caption, "Error!");
    EXPECT_EQ(desktop.messages[0].icon, MessageIcon::warning);
}

// --- automatic runs -----------------------------------------------------------------

TEST_F(CaptureFormTest, AnAutomaticRunTakesTheListedExposuresInFileOrder) {
    open_with_folder();
    write_autocap("F8, 1/125\r\nF 8,1/250\r\n");
    form.capture_now();
    EXPECT_EQ(camera.calls, (Calls{"aperture 0x38", "shutter 0x70", "picture", "aperture 0x38", "shutter 0x78",
                                   "picture"}));
    EXPECT_TRUE(desktop.messages.empty());
}

TEST_F(CaptureFormTest, ADamagedListTakesNoPictureAtAll) {
    open_with_folder();
    write_autocap("F8,1/125\r\nF8,1/250\r\nF8 1/500\r\n");
    EXPECT_EQ(form.run_auto_capture(), 2);
    EXPECT_TRUE(camera.calls.empty());
    ASSERT_EQ(desktop.messages.size(), 1u);
    EXPECT_EQ(desktop.messages[0].text,
              "@AutoCapture - Corrupted autocap.asf file. Function will not proceed with Capture");
    EXPECT_EQ(desktop.messages[0].caption, "Error!");
    EXPECT_EQ(desktop.messages[0].icon, MessageIcon::warning);
}

TEST_F(CaptureFormTest, AMissingListIsReportedAndTheScheduleGoesOn) {
    open_with_folder();
    form.on_timed();
    form.interval_text = "1";
    form.start_time = now;
    form.on_ok();
    form.on_timer();
    ASSERT_EQ(desktop.messages.size(), 1u);
    EXPECT_EQ(desktop.messages[0].text,
              "@AutoCapture - Missing autocap.asf file. Function will not proceed with Capture");
    EXPECT_TRUE(form.timer_running());
    EXPECT_EQ(form.run_auto_capture(), 0);
}

TEST_F(CaptureFormTest, AnEmptyListTakesNoPictureAndSaysNothing) {
    open_with_folder();
    write_autocap(" \r\n\t\r\n");
    EXPECT_EQ(form.run_auto_capture(), 0);
    EXPECT_TRUE(camera.calls.empty());
    EXPECT_TRUE(desktop.messages.empty());
}

TEST(CaptureFormWithoutAppdata, EndsTheProgramWhenAnAutomaticRunCannotFindTheSettingsFolder) {
    ScriptedDesktop desktop;
    RecordingCamera camera;
    ManualClock steady;
    SettingsFile settings{PlatformFolders{std::nullopt, std::nullopt}};
    CaptureForm form{desktop, camera, settings, steady.pacing(), [] { return std::chrono::system_clock::now(); }};
    form.on_open();
    try {
        form.run_auto_capture();
        FAIL() << "the program should have ended";
    } catch (const TerminateRequested& end) {
        EXPECT_EQ(end.exit_code, 0);
    }
    ASSERT_EQ(desktop.messages.size(), 1u);
    EXPECT_EQ(desktop.messages[0].text, "Could not find APPDATA folder");
    EXPECT_EQ(desktop.messages[0].caption, "Internal Process Error!");
}
