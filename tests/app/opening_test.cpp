// Opening pictures through File > Open and reloading the working copy, with
// our picture programs doing the display conversion.

#include <gtest/gtest.h>

#include "app/application.h"
#include "app/commands.h"
#include "support/formula_pictures.h"
#include "support/scripted_desktop.h"
#include "support/temp_folder.h"

namespace {

// A 640 x 480 picture whose pixel at row 10, column 20 (index 6420) is bright.
std::string write_test_picture(const std::filesystem::path& path, std::vector<std::string> header = {}) {
    EXPECT_TRUE(write_formula_picture(
        path.string(), 640, 480,
        [](int x, int y) { return x == 20 && y == 10 ? RgbePixel{128, 64, 32, 136} : RgbePixel{100, 100, 100, 120}; },
        std::move(header)));
    return path.string();
}

class Opening : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(app.on_create());
        app.on_resize(1000, 800);
    }
    void open(const std::string& path) {
        desktop.file_answers.push_back({1, path});
        app.on_command(command::open);
    }
    // The window point whose picture position falls in the given pixel.
    std::pair<int, int> window_point_of(int column, int row) {
        app.paint_frame();
        const float zoom = app.zoom();
        const PointF pan = app.pan();
        return {static_cast<int>((column + 0.5f - 0.5f) * zoom + pan.x), static_cast<int>((row + 0.5f - 0.5f) * zoom + pan.y)};
    }

    TempFolder config;
    TempFolder cache;
    TempFolder pictures;
    ScriptedDesktop desktop;
    Application app{desktop, PlatformFolders{config.str(), cache.str()}, CANDELUX_PROGRAMS_DIR};
};

TEST_F(Opening, OpensAPictureAndShowsItsTitleMenuAndStatus) {
    const std::string path = write_test_picture(pictures / "room.hdr", {"EXPOSURE=2"});
    open(path);
    ASSERT_TRUE(desktop.messages.empty()) << desktop.messages[0].text;
    ASSERT_TRUE(app.image_loaded());
    ASSERT_EQ(desktop.file_requests.size(), 1u);
    EXPECT_EQ(desktop.file_requests[0].title, "Open Image");
    ASSERT_EQ(desktop.file_requests[0].filters.size(), 2u);
    EXPECT_EQ(desktop.file_requests[0].filters[1].pattern, "*.pic;");
    EXPECT_EQ(desktop.title, "candelux - " + path);
    EXPECT_EQ(read_file(cache / "dtemp.hdr"), read_file(path));
    EXPECT_EQ(desktop.display_picture, cache.str() + "/dtemp.bmp");
    EXPECT_EQ(app.luminance_map().width, 640);
    EXPECT_EQ(app.luminance_map().exposure, 2.0f);
    EXPECT_TRUE(desktop.menu_enabled[command::save_as]);
    EXPECT_TRUE(desktop.menu_enabled[command::falsecolor]);
    EXPECT_FALSE(desktop.menu_enabled[command::stop_recording]);
    // 1000 x 800 over 640 x 480: min(1.56, 1.67) cut to 1.5.
    EXPECT_FLOAT_EQ(app.zoom(), 1.5f);
    EXPECT_EQ(desktop.status[2], "\t150%");
    EXPECT_EQ(desktop.status[0], "\t640x480");
    EXPECT_EQ(desktop.status[3], "              0.0 cd/m\u00b2");
    EXPECT_EQ(desktop.status[4], "\tExposure = 2.000000");
    EXPECT_FALSE(desktop.progress_shown());
}

TEST_F(Opening, ClickingAPixelShowsItsLuminance) {
    open(write_test_picture(pictures / "room.hdr"));
    const auto [x, y] = window_point_of(20, 10);
    app.on_left_down(x, y, false);
    EXPECT_EQ(desktop.status[3], "          13567.5 cd/m\u00b2");
    app.on_left_up(x, y, false);
}

TEST_F(Opening, APicFileWorksLikeAnHdrFile) {
    const std::string path = write_test_picture(pictures / "scene.pic");
    open(path);
    EXPECT_TRUE(app.image_loaded());
    EXPECT_TRUE(std::filesystem::exists(cache / "dtemp.hdr"));
}

TEST_F(Opening, GifDisplayModeMakesAGifDisplayCopyWithTheSameLuminance) {
    app.settings().display_mode = display_gif;
    open(write_test_picture(pictures / "room.hdr"));
    ASSERT_TRUE(app.image_loaded());
    EXPECT_EQ(desktop.display_picture, cache.str() + "/dtemp.gif");
    EXPECT_NEAR(app.luminance_map().data[6420], 13567.484f, 0.01f);
}

TEST_F(Opening, CancellingWithNothingLoadedChangesNothing) {
    app.on_command(command::open);
    EXPECT_FALSE(app.image_loaded());
    EXPECT_EQ(app.zoom(), 1.0f);
    EXPECT_FALSE(desktop.menu_enabled[command::save_as]);
    EXPECT_TRUE(desktop.messages.empty());
}

TEST_F(Opening, CancellingWithAPictureRefitsAndClearsTheSelection) {
    open(write_test_picture(pictures / "room.hdr"));
    app.on_wheel(120);
    app.tools().selection().radius = 5;
    app.set_analysis_wizard_active(true);
    app.on_command(command::open);  // cancelled
    EXPECT_TRUE(app.image_loaded());
    EXPECT_FLOAT_EQ(app.zoom(), 1.5f);
    EXPECT_FALSE(app.tools().selection().any());
    EXPECT_FALSE(app.analysis_wizard_active());
}

TEST_F(Opening, ABrokenPictureWithNothingLoadedIsRefusedWithAMessage) {
    write_file(pictures / "broken.hdr", "#?RADIANCE\nFORMAT=32-bit_rle_rgbe\n\n-Y 10 +X 10\nshort");
    open((pictures / "broken.hdr").string());
    EXPECT_FALSE(app.image_loaded());
    ASSERT_EQ(desktop.messages.size(), 1u);
    EXPECT_EQ(desktop.messages[0].text, "Invalid File: Radiance returned an error");
    EXPECT_EQ(desktop.messages[0].caption, "Radiance Process Error");
    EXPECT_EQ(desktop.messages[0].icon, MessageIcon::error);
    EXPECT_FALSE(desktop.menu_enabled[command::save_as]);
    EXPECT_FALSE(desktop.progress_shown());
}

TEST_F(Opening, ABrokenPictureKeepsTheEarlierPictureAndItsWorkingCopy) {
    const std::string good = write_test_picture(pictures / "room.hdr");
    open(good);
    const std::string title = desktop.title;
    const float zoom = app.zoom();
    write_file(pictures / "broken.hdr", "not a picture at all\n");
    open((pictures / "broken.hdr").string());
    ASSERT_EQ(desktop.messages.size(), 1u);
    EXPECT_TRUE(app.image_loaded());
    EXPECT_EQ(app.luminance_map().width, 640);
    EXPECT_EQ(read_file(cache / "dtemp.hdr"), read_file(good));
    EXPECT_EQ(desktop.title, title);
    EXPECT_EQ(app.zoom(), zoom);
    EXPECT_TRUE(desktop.menu_enabled[command::save_as]);
    EXPECT_FALSE(std::filesystem::exists(cache / "dtempkeep.hdr"));
    // Later edits reload the earlier picture, not the refused one.
    app.reload_working_copy();
    EXPECT_TRUE(app.image_loaded());
    EXPECT_EQ(desktop.messages.size(), 1u);
}

TEST_F(Opening, AnUnreadableFileIsReportedAndChangesNothing) {
    open((pictures / "missing.hdr").string());
    EXPECT_FALSE(app.image_loaded());
    ASSERT_EQ(desktop.messages.size(), 1u);
    EXPECT_EQ(desktop.messages[0].caption, "File IO Error!");
}

TEST_F(Opening, RefusesAPathLongerThanTheBuffers) {
    open("/" + std::string(300, 'a') + ".hdr");
    EXPECT_FALSE(app.image_loaded());
    ASSERT_EQ(desktop.messages.size(), 1u);
    EXPECT_EQ(desktop.messages[0].caption, "Path Error");
    EXPECT_NE(desktop.messages[0].text.find("too long"), std::string::npos);
}

TEST_F(Opening, RefusesACacheDirectoryTheShellWouldMisread) {
    app.settings().cache_directory = cache.str() + "/with space";
    open(write_test_picture(pictures / "room.hdr"));
    EXPECT_FALSE(app.image_loaded());
    ASSERT_EQ(desktop.messages.size(), 1u);
    EXPECT_EQ(desktop.messages[0].caption, "Path Error");
}

TEST_F(Opening, CreatesAMissingCacheDirectory) {
    app.settings().cache_directory = cache.str() + "/new/cache";
    open(write_test_picture(pictures / "room.hdr"));
    EXPECT_TRUE(app.image_loaded());
    EXPECT_TRUE(std::filesystem::exists(cache / "new/cache/dtemp.hdr"));
}

TEST_F(Opening, ReloadKeepsTheZoomAndClearsTheSelection) {
    open(write_test_picture(pictures / "room.hdr"));
    app.on_wheel(-120);
    app.tools().selection().radius = 3;
    app.reload_working_copy();
    EXPECT_FLOAT_EQ(app.zoom(), 1.4f);
    EXPECT_FALSE(app.tools().selection().any());
    EXPECT_EQ(desktop.status[2], "\t140%");
}

TEST_F(Opening, AReloadThatFailsLeavesNothingLoaded) {
    open(write_test_picture(pictures / "room.hdr"));
    write_file(cache / "dtemp.hdr", "damaged by an edit");
    app.reload_working_copy();
    EXPECT_FALSE(app.image_loaded());
    EXPECT_FALSE(desktop.menu_enabled[command::save_as]);
    EXPECT_EQ(desktop.display_picture, "");
}

TEST_F(Opening, CanOpenTheWorkingCopyItself) {
    const std::string path = write_test_picture(pictures / "room.hdr");
    open(path);
    open((cache / "dtemp.hdr").string());
    EXPECT_TRUE(desktop.messages.empty());
    EXPECT_TRUE(app.image_loaded());
    EXPECT_EQ(read_file(cache / "dtemp.hdr"), read_file(path));
}

TEST_F(Opening, OpensAPictureNamedAtStart) {
    const std::string path = write_test_picture(pictures / "room.hdr");
    app.on_open_command(path);
    EXPECT_TRUE(app.image_loaded());
    EXPECT_TRUE(desktop.file_requests.empty());
    EXPECT_EQ(desktop.title, "candelux - " + path);
}

TEST_F(Opening, ReadsARealPicture) {
    const std::string path = shared_picture("fisheye_photo_786.hdr");
    if (path.empty()) GTEST_SKIP() << "test pictures not present";
    open(path);
    ASSERT_TRUE(desktop.messages.empty()) << desktop.messages[0].text;
    EXPECT_EQ(app.display_size().width, 786);
    EXPECT_EQ(desktop.status[0], "\t786x786");
}

}  // namespace
