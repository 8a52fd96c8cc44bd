// Start-up, the commands of the application shell, and the two ways to end:
// closing the window (working files removed) and File > Exit (kept).

#include <gtest/gtest.h>

#include "app/about.h"
#include "app/application.h"
#include "app/commands.h"
#include "settings/settings_form.h"
#include "support/scripted_desktop.h"
#include "support/temp_folder.h"

namespace {

class ApplicationTest : public ::testing::Test {
protected:
    TempFolder config;
    TempFolder cache;
    ScriptedDesktop desktop;
    Application app{desktop, PlatformFolders{config.str(), cache.str()}, CANDELUX_PROGRAMS_DIR};
};

TEST_F(ApplicationTest, StartUpCreatesTheSettingsAndAppliesThem) {
    ASSERT_TRUE(app.on_create());
    EXPECT_TRUE(std::filesystem::exists(config / "candelux/settings.asf"));
    EXPECT_EQ(app.cache_directory(), cache.str());
    EXPECT_EQ(app.settings().default_tone_mapper, tone_mapper_ward);
    EXPECT_EQ(app.settings().display_mode, display_bmp);
    EXPECT_FALSE(app.image_loaded());
    EXPECT_EQ(app.startup_directory(), std::filesystem::current_path().string());
    EXPECT_TRUE(desktop.messages.empty());
}

TEST(ApplicationStartUp, EndsWithAMessageWhenThereIsNoConfigurationFolder) {
    ScriptedDesktop desktop;
    Application app(desktop, PlatformFolders{std::nullopt, "/tmp"}, "");
    try {
        app.on_create();
        FAIL() << "start-up went on";
    } catch (const TerminateRequested& end) {
        EXPECT_EQ(end.exit_code, 0);
    }
    ASSERT_EQ(desktop.messages.size(), 1u);
    EXPECT_EQ(desktop.messages[0].text, "Could not find APPDATA folder");
    EXPECT_EQ(desktop.messages[0].caption, "Internal Process Error!");
    EXPECT_EQ(desktop.messages[0].icon, MessageIcon::warning);
    EXPECT_EQ(desktop.messages[0].owner, Owner::none);
}

TEST(ApplicationStartUp, EndsWithAMessageWhenTheSettingsFileCannotBeMade) {
    TempFolder config;
    std::filesystem::create_directories(config / "candelux/settings.asf");  // a folder in its place
    ScriptedDesktop desktop;
    Application app(desktop, PlatformFolders{config.str(), "/tmp"}, "");
    EXPECT_THROW(app.on_create(), TerminateRequested);
    ASSERT_EQ(desktop.messages.size(), 1u);
    EXPECT_EQ(desktop.messages[0].text, "Could not open settings file");
}

TEST(ApplicationStartUp, WarnsAboutAMissingTemporaryFolderAndGoesOn) {
    TempFolder config;
    ScriptedDesktop desktop;
    Application app(desktop, PlatformFolders{config.str(), std::nullopt}, "");
    EXPECT_TRUE(app.on_create());
    ASSERT_EQ(desktop.messages.size(), 1u);
    EXPECT_EQ(desktop.messages[0].text,
              "Could not find TEMP folder - Please set your cache directory from Tools > Settings menu");
    EXPECT_EQ(app.cache_directory(), (config / "candelux/cache").string());
}

TEST(ApplicationStartUp, RefusesACacheFolderTheShellWouldMisreadAndWorksInThePrivateOneForThisRun) {
    TempFolder config;
    TempFolder base;
    const std::string private_cache = (base / "private").string();
    std::filesystem::create_directories(config / "candelux");
    write_file(config / "candelux/settings.asf", "CACHE=</tmp/my pictures>\r\nDEFTONEMAP=<ward>\r\nIMGDISP=<bmp>\r\n");
    ScriptedDesktop desktop;
    Application app(desktop, PlatformFolders{config.str(), private_cache}, "");
    EXPECT_TRUE(app.on_create());
    ASSERT_EQ(desktop.messages.size(), 1u);
    EXPECT_EQ(desktop.messages[0].text, "Cache path cannot contain spaces");
    EXPECT_EQ(desktop.messages[0].caption, "Path Error");
    EXPECT_EQ(desktop.messages[0].icon, MessageIcon::error);
    EXPECT_EQ(app.cache_directory(), private_cache);
    EXPECT_TRUE(std::filesystem::is_directory(private_cache));
    // The file still says what the user wrote.
    EXPECT_EQ(app.settings_file().read_setting("CACHE="), "/tmp/my pictures");
}

class ShutDownTest : public ApplicationTest {
protected:
    void SetUp() override {
        ASSERT_TRUE(app.on_create());
        for (const char* name : {"dtemp.hdr", "dtemp.bmp", "dfalse.bmp", "pvalues"}) write_file(cache / name, "x");
    }
};

TEST_F(ShutDownTest, ClosingTheWindowRemovesTheWorkingFilesEvenWithoutAPicture) {
    app.on_close();
    EXPECT_FALSE(std::filesystem::exists(cache / "dtemp.hdr"));
    EXPECT_FALSE(std::filesystem::exists(cache / "dtemp.bmp"));
    EXPECT_FALSE(std::filesystem::exists(cache / "dfalse.bmp"));
    EXPECT_TRUE(std::filesystem::exists(cache / "pvalues"));
    EXPECT_EQ(desktop.progress_shows, 2);
    EXPECT_EQ(desktop.progress_closes, 2);
}

TEST_F(ShutDownTest, ExitLeavesTheWorkingFiles) {
    app.on_command(command::exit);
    EXPECT_TRUE(desktop.main_window_destroyed);
    EXPECT_TRUE(std::filesystem::exists(cache / "dtemp.hdr"));
    EXPECT_TRUE(std::filesystem::exists(cache / "dfalse.bmp"));
    EXPECT_EQ(desktop.progress_shows, 0);
}

TEST_F(ShutDownTest, ClosingWithAnEmptyCacheDirectoryRemovesNothingAnywhere) {
    app.settings().cache_directory = "";
    app.on_close();
    EXPECT_EQ(desktop.progress_shows, 0);
}

TEST_F(ApplicationTest, SettingsCommandRunsTheDialogOnTheApplicationsSettings) {
    ASSERT_TRUE(app.on_create());
    desktop.settings_dialog = [&](SettingsForm& form) {
        EXPECT_EQ(form.cache_text, cache.str());
        form.reinhard_checked = true;
        form.ward_checked = false;
        return form.on_ok();
    };
    app.on_command(command::settings);
    EXPECT_EQ(app.settings().default_tone_mapper, tone_mapper_reinhard);
    EXPECT_EQ(app.settings_file().read_setting("DEFTONEMAP="), "reinhard");
}

TEST_F(ApplicationTest, AboutShowsTheVersion) {
    app.on_command(command::about);
    EXPECT_EQ(desktop.about_runs, 1);
    EXPECT_EQ(about_text(), "candelux Software Version 1.0.0.0");
}

TEST_F(ApplicationTest, PictureDependentItemsSwitchTogether) {
    app.set_image_menu_items(true);
    for (int id : {command::save_as, command::crop, command::record_macro, command::calibration})
        EXPECT_TRUE(desktop.menu_enabled[id]) << id;
    // Never enabled by a picture: the two items without behaviour, and Stop Recording.
    for (int id : {command::mask_from_region, command::vignetting_equation, command::stop_recording})
        EXPECT_FALSE(desktop.menu_enabled[id]) << id;
    app.set_image_menu_items(false);
    EXPECT_FALSE(desktop.menu_enabled[command::analyze]);
    EXPECT_TRUE(desktop.menu_enabled[command::open]);
}

}  // namespace
