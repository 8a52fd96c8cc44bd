// Capture > Setup... with "Assemble each series": a manual run of the
// simulated camera leaves its pictures and their assembly beside them.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>

#include "capture/camera_sdk.h"
#include "capture/capture_fakes.h"
#include "capture/capture_form.h"
#include "capture/manual_run.h"
#include "picture/rgbe_reader.h"
#include "profiles/camera_profile.h"
#include "settings/settings_file.h"
#include "support/scripted_desktop.h"
#include "support/temp_folder.h"

namespace {

class AssembleEachSeries : public ::testing::Test {
protected:
    TempFolder appdata;
    ScopedEnv chart{"EDSDK_SIM_SCENE", std::nullopt};
    ScopedEnv response{"EDSDK_SIM_RESPONSE", "gamma22"};
    ScopedEnv faults[4] = {{"EDSDK_SIM_NO_CAMERA", std::nullopt},
                           {"EDSDK_SIM_REFUSE_WRITES", std::nullopt},
                           {"EDSDK_SIM_FAIL_DOWNLOAD", std::nullopt},
                           {"EDSDK_SIM_MISSING", std::nullopt}};
    ScriptedDesktop desktop;
    ManualClock steady;
    SettingsFile settings{PlatformFolders{appdata.str(), appdata.str()}};

    std::vector<std::filesystem::path> manual_run(bool assemble, const std::vector<const char*>& labels,
                                                  const std::function<void(CaptureForm&)>& setup = {}) {
        CameraSdk sdk;
        EXPECT_EQ(sdk.connect_camera(), 0u);
        const auto now = std::chrono::system_clock::now();
        CaptureForm form(desktop, sdk, settings, steady.pacing(), [now] { return now; });
        const std::filesystem::path saved = appdata / "pictures";
        prepare_manual_run(form, desktop, saved, labels);
        form.assemble_each_series = assemble;
        if (setup) setup(form);
        form.start_time = now;
        form.on_ok();
        form.on_timer();
        std::vector<std::filesystem::path> files;
        for (const auto& entry : std::filesystem::directory_iterator(saved)) files.push_back(entry.path());
        std::sort(files.begin(), files.end());
        return files;
    }
};

TEST_F(AssembleEachSeries, LeavesTheLuminancePictureBesideTheSeries) {
    const auto files = manual_run(true, {"1/4000", "1/1000", "1/250", "1/60", "1/15", "1/4", "1\""});
    EXPECT_TRUE(desktop.messages.empty());
    ASSERT_EQ(files.size(), 8u);
    const std::filesystem::path first_picture = files[0];
    const std::filesystem::path assembled = first_picture.parent_path() / (first_picture.stem().string() + ".hdr");
    ASSERT_TRUE(std::find(files.begin(), files.end(), assembled) != files.end());
    auto map = load_luminance_map(assembled.string());
    ASSERT_TRUE(map.ok());
    // The test chart's ramp at x = 240: 10^(4 * 240 / 479) cd/m².
    EXPECT_NEAR(map.value().at(240, 100) / std::pow(10.0, 960.0 / 479), 1.0, 0.08);
}

// With a camera profile chosen, each series is corrected as `assemble
// --profile` corrects it, and the choice outlives the dialog.
TEST_F(AssembleEachSeries, AppliesTheChosenProfileAndRemembersIt) {
    const std::filesystem::path folder = appdata / "candelux" / "profiles";
    std::filesystem::create_directories(folder);
    CameraProfile nd;
    nd.name = "Sun ND";
    nd.nd_factor = 10;
    nd.projection = LensProjection{};
    ASSERT_TRUE(write_camera_profile((folder / "sun.cdxprofile").string(), nd));
    CameraProfile other = nd;
    other.name = "Borrowed";
    other.camera = "Another Camera";
    ASSERT_TRUE(write_camera_profile((folder / "borrowed.cdxprofile").string(), other));

    const auto files = manual_run(true, {"1/4000", "1/1000", "1/250", "1/60", "1/15", "1/4", "1\""},
                                  [](CaptureForm& form) {
                                      ASSERT_EQ(form.profiles.size(), 2u);
                                      EXPECT_EQ(form.assembly_profile, 0);
                                      EXPECT_EQ(form.profiles[1].name, "Sun ND");
                                      form.on_assembly_profile(2);
                                  });
    EXPECT_TRUE(desktop.messages.empty()) << desktop.messages[0].text;
    const std::filesystem::path assembled = files[0].parent_path() / (files[0].stem().string() + ".hdr");
    auto map = load_luminance_map(assembled.string());
    ASSERT_TRUE(map.ok());
    // Ten times the chart's ramp behind the filter.
    EXPECT_NEAR(map.value().at(240, 100) / std::pow(10.0, 960.0 / 479), 10.0, 0.8);
    auto header = read_picture_header(assembled.string());
    ASSERT_TRUE(header.ok());
    EXPECT_TRUE(std::any_of(header.value().begin(), header.value().end(),
                            [](const std::string& line) { return line.rfind("PROFILE= Sun ND ", 0) == 0; }));
    EXPECT_TRUE(std::any_of(header.value().begin(), header.value().end(),
                            [](const std::string& line) { return line == "VIEW= -vta -vh 180 -vv 180"; }));

    // A later dialog starts with the same choice; "No profile" is remembered too.
    CameraSdk sdk;
    CaptureForm later(desktop, sdk, settings, steady.pacing(), [] { return std::chrono::system_clock::now(); });
    EXPECT_EQ(later.assembly_profile, 2);
    later.on_assembly_profile(0);
    CaptureForm again(desktop, sdk, settings, steady.pacing(), [] { return std::chrono::system_clock::now(); });
    EXPECT_EQ(again.assembly_profile, 0);
}

TEST_F(AssembleEachSeries, AProfileForAnotherCameraIsNotApplied) {
    const std::filesystem::path folder = appdata / "candelux" / "profiles";
    std::filesystem::create_directories(folder);
    CameraProfile other;
    other.name = "Borrowed";
    other.camera = "Another Camera";
    ASSERT_TRUE(write_camera_profile((folder / "borrowed.cdxprofile").string(), other));
    const auto files = manual_run(true, {"1/250", "1/60"}, [](CaptureForm& form) { form.on_assembly_profile(1); });
    EXPECT_TRUE(std::none_of(files.begin(), files.end(), [](const auto& f) { return f.extension() == ".hdr"; }));
    ASSERT_EQ(desktop.messages.size(), 1u);
    EXPECT_NE(desktop.messages[0].text.find("the profile \"Borrowed\" is for \"Another Camera\""), std::string::npos)
        << desktop.messages[0].text;
}

TEST_F(AssembleEachSeries, IsOffUnlessChosen) {
    const auto files = manual_run(false, {"1/250", "1/60"});
    EXPECT_EQ(files.size(), 2u);
    EXPECT_TRUE(std::none_of(files.begin(), files.end(), [](const auto& f) { return f.extension() == ".hdr"; }));
}

}  // namespace
