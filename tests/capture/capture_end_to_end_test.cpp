// The whole road of a manual run: the dialog's form, the binding, the
// simulated camera exposing a scene, the download into the save folder.

#include <gtest/gtest.h>
#include <jpeglib.h>

#include <algorithm>
#include <cstdio>
#include <iostream>

#include "app/application.h"
#include "app/commands.h"
#include "capture/camera_sdk.h"
#include "capture/capture_fakes.h"
#include "capture/capture_form.h"
#include "capture/manual_run.h"
#include "settings/settings_file.h"
#include "support/scripted_desktop.h"
#include "support/temp_folder.h"

namespace {

struct Brightness {
    int width = 0;
    int height = 0;
    double mean = 0;  // of every 8-bit sample
};

Brightness brightness_of(const std::filesystem::path& path) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return {};
    jpeg_decompress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_decompress(&info);
    jpeg_stdio_src(&info, file);
    jpeg_read_header(&info, TRUE);
    jpeg_start_decompress(&info);
    const size_t row_size = static_cast<size_t>(info.output_width) * info.output_components;
    std::vector<JSAMPLE> row(row_size);
    double sum = 0;
    while (info.output_scanline < info.output_height) {
        JSAMPROW rows[1] = {row.data()};
        jpeg_read_scanlines(&info, rows, 1);
        for (JSAMPLE sample : row) sum += sample;
    }
    Brightness result{static_cast<int>(info.output_width), static_cast<int>(info.output_height),
                      sum / (static_cast<double>(row_size) * info.output_height)};
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    std::fclose(file);
    return result;
}

class CaptureEndToEnd : public ::testing::Test {
protected:
    TempFolder appdata;
    ScopedEnv no_faults[5] = {{"EDSDK_SIM_NO_CAMERA", std::nullopt},
                              {"EDSDK_SIM_NO_VOLUME", std::nullopt},
                              {"EDSDK_SIM_REFUSE_WRITES", std::nullopt},
                              {"EDSDK_SIM_FAIL_DOWNLOAD", std::nullopt},
                              {"EDSDK_SIM_MISSING", std::nullopt}};
    ScopedEnv no_log{"EDSDK_SIM_LOG", std::nullopt};
    ScopedEnv empty_card{"EDSDK_SIM_EMPTY_CARD", "1"};
    ScriptedDesktop desktop;
    ManualClock steady;
    SettingsFile settings{PlatformFolders{appdata.str(), appdata.str()}};

    // Connects, runs F8 at 1/15, 1/60 and 1/250 once, and returns the
    // brightness of each picture in the order taken.
    std::vector<Brightness> manual_run_of_three_shutter_speeds() {
        CameraSdk sdk;
        EXPECT_EQ(sdk.connect_camera(), 0u);
        const auto now = std::chrono::system_clock::now();
        CaptureForm form(desktop, sdk, settings, steady.pacing(), [now] { return now; });
        const std::filesystem::path saved = appdata / "pictures";
        prepare_manual_run(form, desktop, saved, {"1/15", "1/60", "1/250"});
        form.start_time = now;
        form.on_ok();
        form.on_timer();
        EXPECT_TRUE(desktop.messages.empty());

        std::vector<std::filesystem::path> files;
        for (const auto& entry : std::filesystem::directory_iterator(saved)) files.push_back(entry.path());
        std::sort(files.begin(), files.end());
        std::vector<Brightness> result;
        for (const auto& file : files) {
            result.push_back(brightness_of(file));
            std::cout << file.filename().string() << ": mean " << result.back().mean << "\n";
        }
        return result;
    }
};

}  // namespace

TEST_F(CaptureEndToEnd, AManualRunOfThreeShutterSpeedsLeavesThreePicturesBrighterTheLongerTheExposure) {
    const std::string scene = shared_picture("fisheye_photo_786.hdr");
    if (scene.empty()) GTEST_SKIP() << "the shared test pictures are not on this machine";
    ScopedEnv scene_env{"EDSDK_SIM_SCENE", scene};
    const auto pictures = manual_run_of_three_shutter_speeds();
    ASSERT_EQ(pictures.size(), 3u);
    EXPECT_EQ(pictures[0].width, 786);
    EXPECT_EQ(pictures[0].height, 786);
    // Taken in the camera's order: 1/15, then 1/60, then 1/250.
    EXPECT_GT(pictures[0].mean, pictures[1].mean + 5);
    EXPECT_GT(pictures[1].mean, pictures[2].mean + 5);
}

TEST_F(CaptureEndToEnd, WithoutASceneTheCameraExposesItsTestChart) {
    ScopedEnv scene_env{"EDSDK_SIM_SCENE", std::nullopt};
    const auto pictures = manual_run_of_three_shutter_speeds();
    ASSERT_EQ(pictures.size(), 3u);
    EXPECT_EQ(pictures[0].width, 480);
    EXPECT_GT(pictures[0].mean, pictures[1].mean);
    EXPECT_GT(pictures[1].mean, pictures[2].mean);
}

TEST(CaptureSetup, WithoutACameraShowsTheConnectionErrorAndNoDialog) {
    ScopedEnv none{"EDSDK_SIM_NO_CAMERA", "1"};
    TempFolder appdata;
    ScriptedDesktop desktop;
    Application application(desktop, PlatformFolders{appdata.str(), appdata.str()}, "");
    application.on_command(command::capture_setup);
    ASSERT_EQ(desktop.messages.size(), 1u);
    EXPECT_EQ(desktop.messages[0].text, "Could not communicate with a connected camera");
    EXPECT_EQ(desktop.messages[0].caption, "Connection Error!");
    EXPECT_EQ(desktop.messages[0].icon, MessageIcon::warning);
    EXPECT_EQ(desktop.messages[0].owner, Owner::none);
    EXPECT_TRUE(desktop.capture_dialogs.empty());
}

TEST(CaptureSetup, WithACameraOpensANewDialogEveryTime) {
    ScopedEnv none{"EDSDK_SIM_NO_CAMERA", std::nullopt};
    ScopedEnv refused{"EDSDK_SIM_MISSING", std::nullopt};
    TempFolder appdata;
    ScriptedDesktop desktop;
    Application application(desktop, PlatformFolders{appdata.str(), appdata.str()}, "");
    application.on_command(command::capture_setup);
    ASSERT_EQ(desktop.capture_dialogs.size(), 1u);
    EXPECT_EQ(desktop.capture_dialogs[0]->folder_text, "<Please set a valid path>");
    EXPECT_FALSE(desktop.capture_dialogs[0]->shutter_items.empty());
    // Closed with the close button, the session is still open: Setup again.
    desktop.capture_dialogs[0]->on_close();
    application.on_command(command::capture_setup);
    EXPECT_EQ(desktop.capture_dialogs.size(), 2u);
    EXPECT_TRUE(desktop.messages.empty());
}
