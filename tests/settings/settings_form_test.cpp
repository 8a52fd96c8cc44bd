// The Settings dialog's rules, driven through its form with a scripted desktop.

#include <gtest/gtest.h>

#include "settings/settings_form.h"
#include "support/scripted_desktop.h"
#include "support/temp_folder.h"

namespace {

class SettingsFormTest : public ::testing::Test {
protected:
    SettingsFormTest() {
        file.ensure_settings_file();
        apply_cache_setting(file, settings);
        apply_tonemap_setting(file.read_setting("DEFTONEMAP="), settings);
        apply_display_setting(file.read_setting("IMGDISP="), settings);
    }
    TempFolder config;
    TempFolder temp;
    SettingsFile file{PlatformFolders{config.str(), temp.str()}};
    AppliedSettings settings;
    ScriptedDesktop desktop;
    SettingsForm form{desktop, file, settings};
};

TEST_F(SettingsFormTest, OpensWithTheFileCacheAndTheSettingsInEffect) {
    settings.default_tone_mapper = tone_mapper_reinhard;  // differs from the file's "ward"
    settings.cache_directory = "/changed";
    form.on_open();
    EXPECT_EQ(form.cache_text, temp.str());
    EXPECT_TRUE(form.reinhard_checked);
    EXPECT_FALSE(form.ward_checked);
    EXPECT_TRUE(form.uncompressed_checked);
    EXPECT_FALSE(form.compressed_checked);
    // Opening resets the cache directory from the file.
    EXPECT_EQ(settings.cache_directory, temp.str());
}

TEST_F(SettingsFormTest, ChecksNoDisplayButtonForTheFalsecolorMode) {
    settings.display_mode = display_falsecolor;
    form.on_open();
    EXPECT_FALSE(form.uncompressed_checked);
    EXPECT_FALSE(form.compressed_checked);
}

TEST_F(SettingsFormTest, BrowseAndOkWriteAllThreeSettings) {
    form.on_open();
    desktop.folder_answers.push_back("/data/cache");
    form.on_browse();
    EXPECT_EQ(form.cache_text, "/data/cache");
    form.reinhard_checked = true;
    form.ward_checked = false;
    form.uncompressed_checked = false;
    form.compressed_checked = true;
    EXPECT_EQ(form.on_ok(), 0);
    EXPECT_EQ(read_file(file.path()), "CACHE=</data/cache>\r\nDEFTONEMAP=<reinhard>\r\nIMGDISP=<gif>\r\n");
    EXPECT_EQ(settings.cache_directory, "/data/cache");
    EXPECT_EQ(settings.default_tone_mapper, tone_mapper_reinhard);
    EXPECT_EQ(settings.display_mode, display_gif);
}

TEST_F(SettingsFormTest, RefusesAFolderWithASpaceAndWritesNoCache) {
    form.on_open();
    desktop.folder_answers.push_back("/my cache");
    form.on_browse();
    ASSERT_EQ(desktop.messages.size(), 1u);
    EXPECT_EQ(desktop.messages[0].text, "Cache path cannot contain spaces");
    EXPECT_EQ(desktop.messages[0].caption, "Path Error");
    EXPECT_EQ(desktop.messages[0].icon, MessageIcon::error);
    EXPECT_EQ(desktop.messages[0].owner, Owner::dialog);
    EXPECT_EQ(form.cache_text, temp.str());  // the field keeps its text
    EXPECT_EQ(settings.pending_cache_path, "");
    form.on_ok();
    EXPECT_EQ(file.read_setting("CACHE="), temp.str());
}

TEST_F(SettingsFormTest, RefusesFoldersTheShellWouldMisread) {
    for (const char* path : {"/a;b", "/a$b", "/a&b", "/a|b", "/a'b", "/a*b", "/a\nb"}) {
        desktop.folder_answers.push_back(path);
        EXPECT_EQ(browse_for_folder(desktop, Owner::dialog, "Select Cache Directory"), "") << path;
    }
    EXPECT_EQ(desktop.messages.size(), 7u);
    desktop.folder_answers.push_back("/plain/folder_1.2-x");
    EXPECT_EQ(browse_for_folder(desktop, Owner::dialog, "t"), "/plain/folder_1.2-x");
}

TEST_F(SettingsFormTest, ACancelledBrowseEmptiesThePendingPath) {
    settings.pending_cache_path = "/earlier";
    form.on_browse();  // no answer queued: cancelled
    EXPECT_EQ(settings.pending_cache_path, "");
    EXPECT_TRUE(desktop.messages.empty());
}

TEST_F(SettingsFormTest, AnEmptySettingsFileKeepsAnEmptyCacheAfterBrowseAndOk) {
    write_file(file.path(), "");
    form.on_open();
    desktop.folder_answers.push_back("/data/cache");
    form.on_browse();
    form.on_ok();
    EXPECT_EQ(settings.cache_directory, "");
    EXPECT_EQ(read_file(file.path()), "");
}

}  // namespace
