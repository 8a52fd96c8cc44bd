#include <gtest/gtest.h>

#include <algorithm>

#include "capture/camera_sdk.h"
#include "capture/capture_fakes.h"
#include "common/text_file.h"
#include "support/temp_folder.h"

namespace {

EdsDirectoryItemInfo item_named(const std::string& name) {
    EdsDirectoryItemInfo info{};
    std::copy(name.begin(), name.end(), info.file_name);
    return info;
}

// The simulated camera with no faults, its calls logged.
class CameraSdkTest : public ::testing::Test {
protected:
    TempFolder folder;
    ScopedEnv log{"EDSDK_SIM_LOG", (folder / "calls.log").string()};
    ScopedEnv no_camera{"EDSDK_SIM_NO_CAMERA", std::nullopt};
    ScopedEnv no_volume{"EDSDK_SIM_NO_VOLUME", std::nullopt};
    ScopedEnv refused{"EDSDK_SIM_REFUSE_WRITES", std::nullopt};
    ScopedEnv fail_download{"EDSDK_SIM_FAIL_DOWNLOAD", std::nullopt};
    ScopedEnv missing{"EDSDK_SIM_MISSING", std::nullopt};
    ScopedEnv scene{"EDSDK_SIM_SCENE", std::nullopt};
    ScopedEnv empty_card{"EDSDK_SIM_EMPTY_CARD", std::nullopt};
    CameraSdk sdk;

    std::vector<std::string> calls() const {
        return read_text_lines(folder / "calls.log").value_or(std::vector<std::string>{});
    }
    void forget_calls() const { std::filesystem::remove(folder / "calls.log"); }

    // Index of the first logged call that begins with `text`; -1 for none.
    int call_index(const std::string& text) const {
        auto lines = calls();
        for (size_t i = 0; i < lines.size(); ++i)
            if (lines[i].rfind(text, 0) == 0) return static_cast<int>(i);
        return -1;
    }
    bool called(const std::string& text) const { return call_index(text) >= 0; }

    std::filesystem::path pictures() const {
        std::filesystem::create_directories(folder / "pictures");
        return folder / "pictures";
    }
    std::vector<std::filesystem::path> files_in(const std::filesystem::path& path) const {
        std::vector<std::filesystem::path> files;
        for (const auto& entry : std::filesystem::directory_iterator(path)) files.push_back(entry.path());
        return files;
    }
};

}  // namespace

// --- connecting ---------------------------------------------------------------------

TEST_F(CameraSdkTest, ConnectsAndReadsTheCamerasShutterSpeedsAndApertures) {
    ASSERT_EQ(sdk.connect_camera(), 0u);
    EXPECT_TRUE(sdk.session_open());
    const auto shutter = sdk.shutter_speed_values();
    ASSERT_EQ(shutter.size(), 55u);
    EXPECT_EQ(shutter.front(), 0x10u);
    EXPECT_EQ(shutter.back(), 0xA0u);
    const auto apertures = sdk.aperture_values();
    ASSERT_FALSE(apertures.empty());
    EXPECT_EQ(apertures.front(), 0x20u);
    EXPECT_EQ(apertures.back(), 0x50u);
}

TEST_F(CameraSdkTest, ConnectsInTheStatedOrder) {
    ASSERT_EQ(sdk.connect_camera(), 0u);
    const std::vector<std::string> steps{"EdsInitializeSDK",
                                         "EdsGetCameraList",
                                         "EdsGetChildCount list",
                                         "EdsGetChildAtIndex list 0",
                                         "EdsRelease list",
                                         "EdsSetObjectEventHandler 0x200",
                                         "EdsSetPropertyEventHandler 0x100",
                                         "EdsSetCameraStateEventHandler 0x300",
                                         "EdsOpenSession",
                                         "EdsGetChildCount camera",
                                         "EdsGetChildAtIndex camera 0",
                                         "EdsGetPropertyDesc 0x406",
                                         "EdsGetPropertyDesc 0x405"};
    int previous = -1;
    for (const std::string& step : steps) {
        const int index = call_index(step);
        EXPECT_GT(index, previous) << step;
        previous = index;
    }
}

TEST_F(CameraSdkTest, WalksTheCardFromDcimToItsNewestPicture) {
    ASSERT_EQ(sdk.connect_camera(), 0u);
    sdk.set_save_folder(pictures().string() + "/");
    sdk.take_picture();
    forget_calls();
    ASSERT_EQ(sdk.connect_camera(), 0u);
    EXPECT_TRUE(called("EdsGetDirectoryItemInfo entry DCIM"));
    EXPECT_TRUE(called("EdsGetDirectoryItemInfo entry 100SIMUL"));
    EXPECT_TRUE(called("EdsGetDirectoryItemInfo entry IMG_"));
}

TEST_F(CameraSdkTest, ConnectsToACameraWithAnEmptyCard) {
    ScopedEnv empty{"EDSDK_SIM_EMPTY_CARD", "1"};
    ASSERT_EQ(sdk.connect_camera(), 0u);
    EXPECT_TRUE(called("EdsGetChildCount entry 100SIMUL"));
    EXPECT_FALSE(called("EdsGetChildAtIndex entry 100SIMUL"));
}

TEST_F(CameraSdkTest, WithoutACameraFailsWith128ReleasingTheListAndClosingTheSession) {
    ScopedEnv none{"EDSDK_SIM_NO_CAMERA", "1"};
    EXPECT_EQ(sdk.connect_camera(), binding_code::no_camera);
    EXPECT_FALSE(sdk.session_open());
    EXPECT_TRUE(called("EdsRelease list"));
    EXPECT_TRUE(called("EdsCloseSession"));
    EXPECT_TRUE(called("EdsTerminateSDK"));
    EXPECT_FALSE(called("EdsSetObjectEventHandler"));
    EXPECT_FALSE(called("EdsRelease camera"));
}

TEST_F(CameraSdkTest, ACameraWithoutStorageVolumeFailsWith64) {
    ScopedEnv none{"EDSDK_SIM_NO_VOLUME", "1"};
    EXPECT_EQ(sdk.connect_camera(), binding_code::no_volume);
    EXPECT_FALSE(sdk.session_open());
    EXPECT_TRUE(called("EdsRelease camera"));
    EXPECT_FALSE(called("EdsGetPropertyDesc"));
}

TEST_F(CameraSdkTest, ALibraryWithoutOneFunctionFailsWith8AtThatStep) {
    {
        ScopedEnv lacking{"EDSDK_SIM_MISSING", "EdsOpenSession"};
        EXPECT_EQ(sdk.connect_camera(), binding_code::function_missing);
        EXPECT_EQ(sdk.failed_call(), "EdsOpenSession");
        EXPECT_TRUE(called("EdsSetCameraStateEventHandler"));
        EXPECT_FALSE(called("EdsOpenSession"));
        EXPECT_FALSE(called("EdsGetPropertyDesc"));
    }
    // The library was let go; the next connection loads it again.
    EXPECT_EQ(sdk.connect_camera(), 0u);
}

TEST_F(CameraSdkTest, ALibraryWithoutTheCameraListFailsAtTheFirstCamera) {
    ScopedEnv lacking{"EDSDK_SIM_MISSING", "EdsSetObjectEventHandler,EdsGetCameraList"};
    EXPECT_EQ(sdk.connect_camera(), binding_code::function_missing);
    EXPECT_EQ(sdk.failed_call(), "EdsGetCameraList");
}

TEST_F(CameraSdkTest, ConnectingAgainWithTheSessionStillOpenClosesItFirst) {
    ASSERT_EQ(sdk.connect_camera(), 0u);
    forget_calls();
    EXPECT_EQ(sdk.connect_camera(), 0u);
    EXPECT_LT(call_index("EdsCloseSession"), call_index("EdsOpenSession"));
}

TEST_F(CameraSdkTest, DisconnectClosesTheSessionReleasesTheCameraAndEndsTheSdk) {
    ASSERT_EQ(sdk.connect_camera(), 0u);
    forget_calls();
    sdk.disconnect_camera();
    EXPECT_FALSE(sdk.session_open());
    EXPECT_EQ(calls(), (std::vector<std::string>{"EdsCloseSession camera", "EdsRelease camera", "EdsTerminateSDK"}));
}

// --- properties --------------------------------------------------------------------

TEST_F(CameraSdkTest, ReadsBackTheApertureItWrote) {
    ASSERT_EQ(sdk.connect_camera(), 0u);
    ASSERT_EQ(sdk.set_camera_property(0x405, 0x38), 0u);
    uint32_t aperture = 0;
    EXPECT_EQ(sdk.read_current_aperture(aperture), 0u);
    EXPECT_EQ(aperture, 0x38u);
}

TEST_F(CameraSdkTest, ACodeTheLensDoesNotHaveIsRefused) {
    ASSERT_EQ(sdk.connect_camera(), 0u);
    EXPECT_NE(sdk.set_camera_property(0x405, 0x24), 0u);
    EXPECT_EQ(sdk.set_camera_property(0x405, 0x25), 0u);
}

TEST_F(CameraSdkTest, TheCameraRefusesTheNextWritesItIsToldTo) {
    ScopedEnv refuse{"EDSDK_SIM_REFUSE_WRITES", "2"};
    ASSERT_EQ(sdk.connect_camera(), 0u);
    EXPECT_NE(sdk.set_camera_property(0x406, 0x70), 0u);
    EXPECT_NE(sdk.set_camera_property(0x406, 0x70), 0u);
    EXPECT_EQ(sdk.set_camera_property(0x406, 0x70), 0u);
}

// --- pictures ------------------------------------------------------------------------

TEST_F(CameraSdkTest, TakingAPictureDownloadsAJpegIntoTheSaveFolder) {
    ASSERT_EQ(sdk.connect_camera(), 0u);
    sdk.set_save_folder(pictures().string() + "/");
    sdk.take_picture();
    const auto files = files_in(pictures());
    ASSERT_EQ(files.size(), 1u);
    EXPECT_EQ(files[0].filename().string().rfind("IMG_", 0), 0u);
    EXPECT_EQ(files[0].extension(), ".JPG");
    const std::string bytes = read_file(files[0]);
    ASSERT_GT(bytes.size(), 1000u);
    EXPECT_EQ(bytes.substr(0, 2), "\xFF\xD8");
    EXPECT_TRUE(called("EdsDownloadComplete entry IMG_"));
    EXPECT_TRUE(called("EdsRelease stream"));
    EXPECT_TRUE(called("EdsRelease entry IMG_"));
}

TEST_F(CameraSdkTest, WithoutASaveFolderThePictureStaysOnTheCamera) {
    ASSERT_EQ(sdk.connect_camera(), 0u);
    sdk.take_picture();
    EXPECT_TRUE(called("picture IMG_"));
    EXPECT_FALSE(called("EdsCreateFileStream"));
    EXPECT_TRUE(called("EdsRelease entry IMG_"));
}

TEST_F(CameraSdkTest, APathThatWouldNotFitIsNotWritten) {
    ASSERT_EQ(sdk.connect_camera(), 0u);
    std::string deep = pictures().string() + "/";
    deep += std::string(250 - deep.size(), 'd') + "/";
    std::filesystem::create_directories(deep);
    sdk.set_save_folder(deep);
    sdk.take_picture();
    EXPECT_FALSE(called("EdsCreateFileStream"));
    EXPECT_TRUE(files_in(deep).empty());
}

TEST_F(CameraSdkTest, AFailedDownloadLeavesNoFileBehind) {
    ScopedEnv failing{"EDSDK_SIM_FAIL_DOWNLOAD", "1"};
    ASSERT_EQ(sdk.connect_camera(), 0u);
    sdk.set_save_folder(pictures().string() + "/");
    sdk.take_picture();
    EXPECT_TRUE(called("EdsDownload entry"));
    EXPECT_FALSE(called("EdsDownloadComplete"));
    EXPECT_TRUE(files_in(pictures()).empty());
}

// --- the target path -------------------------------------------------------------------

TEST(DownloadTargetPath, IsTheFolderFollowedByTheCamerasFileName) {
    EXPECT_EQ(download_target_path("/data/", item_named("IMG_0007.JPG")), "/data/IMG_0007.JPG");
}

TEST(DownloadTargetPath, IsNothingWithoutAFolder) {
    EXPECT_EQ(download_target_path("", item_named("IMG_0007.JPG")), std::nullopt);
}

TEST(DownloadTargetPath, RefusesANameThatIsNotAPlainFileName) {
    for (const char* name : {"", ".", "..", "../IMG_0001.JPG", "DCIM/IMG_0001.JPG"})
        EXPECT_EQ(download_target_path("/data/", item_named(name)), std::nullopt) << name;
}

TEST(DownloadTargetPath, FitsUpTo255BytesAndNoMore) {
    const std::string folder = "/" + std::string(242, 'f') + "/";  // 244 bytes
    EXPECT_EQ(download_target_path(folder, item_named("IMG_001.JPG"))->size(), 255u);
    EXPECT_EQ(download_target_path(folder, item_named("IMG_0001.JPG")), std::nullopt);
}

TEST(DownloadTargetPath, RefusesANameThatFillsItsWholeFieldWithoutTerminator) {
    EdsDirectoryItemInfo info{};
    std::fill(std::begin(info.file_name), std::end(info.file_name), 'n');
    info.format = 0x41414141;  // what would follow the name
    EXPECT_EQ(download_target_path("/", info), std::nullopt);
}
