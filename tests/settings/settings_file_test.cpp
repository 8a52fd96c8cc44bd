// The settings file: where it lives, its default lines, and the get and set
// rules with all their odd consequences.

#include <gtest/gtest.h>

#include "settings/settings_apply.h"
#include "settings/settings_file.h"
#include "support/temp_folder.h"

namespace {

class SettingsFileTest : public ::testing::Test {
protected:
    TempFolder config;
    TempFolder temp;
    SettingsFile file{PlatformFolders{config.str(), temp.str()}};
    void write_settings(const std::string& text) {
        std::filesystem::create_directories(file.folder());
        write_file(file.path(), text);
    }
};

TEST_F(SettingsFileTest, FirstStartWritesTheThreeDefaultLinesWithCrLf) {
    EXPECT_EQ(file.ensure_settings_file(), SettingsFile::Status::ok);
    EXPECT_EQ(file.path(), config.path() / "candelux" / "settings.asf");
    EXPECT_EQ(read_file(file.path()), "CACHE=<" + temp.str() + ">\r\nDEFTONEMAP=<ward>\r\nIMGDISP=<bmp>\r\n");

    AppliedSettings settings;
    apply_cache_setting(file, settings);
    apply_tonemap_setting(file.read_setting("DEFTONEMAP="), settings);
    apply_display_setting(file.read_setting("IMGDISP="), settings);
    EXPECT_EQ(settings.cache_directory, temp.str());
    EXPECT_EQ(settings.default_tone_mapper, tone_mapper_ward);
    EXPECT_EQ(settings.display_mode, display_bmp);
}

TEST_F(SettingsFileTest, NeverRepairsAnExistingFile) {
    write_settings("");
    EXPECT_EQ(file.ensure_settings_file(), SettingsFile::Status::ok);
    EXPECT_EQ(read_file(file.path()), "");
    AppliedSettings settings;
    apply_cache_setting(file, settings);
    apply_tonemap_setting(file.read_setting("DEFTONEMAP="), settings);
    apply_display_setting(file.read_setting("IMGDISP="), settings);
    EXPECT_EQ(settings.cache_directory, "");
    EXPECT_EQ(settings.default_tone_mapper, tone_mapper_reinhard);
    EXPECT_EQ(settings.display_mode, display_gif);
}

TEST_F(SettingsFileTest, WithoutATemporaryFolderWritesAUsableCacheFolderOfItsOwn) {
    SettingsFile no_temp({config.str(), std::nullopt});
    EXPECT_EQ(no_temp.ensure_settings_file(), SettingsFile::Status::temp_missing);
    const std::string cache = no_temp.read_setting("CACHE=");
    EXPECT_EQ(cache, (config.path() / "candelux" / "cache").string());
    EXPECT_TRUE(std::filesystem::is_directory(cache));
    // The value can later be changed like any other.
    no_temp.write_setting("CACHE=", "/elsewhere");
    EXPECT_EQ(no_temp.read_setting("CACHE="), "/elsewhere");
}

TEST_F(SettingsFileTest, ReportsAMissingConfigurationFolder) {
    SettingsFile nowhere({std::nullopt, temp.str()});
    EXPECT_EQ(nowhere.ensure_settings_file(), SettingsFile::Status::appdata_missing);
}

TEST_F(SettingsFileTest, ReportsAFileThatCanNeitherBeReadNorCreated) {
    // A folder where the file should be can be neither opened as a file nor created.
    std::filesystem::create_directories(file.path());
    EXPECT_EQ(file.ensure_settings_file(), SettingsFile::Status::cannot_open);
}

TEST_F(SettingsFileTest, AppliesValuesExactlyAndCaseSensitively) {
    AppliedSettings settings;
    apply_tonemap_setting("Ward", settings);
    EXPECT_EQ(settings.default_tone_mapper, tone_mapper_reinhard);
    apply_tonemap_setting("ward", settings);
    EXPECT_EQ(settings.default_tone_mapper, tone_mapper_ward);
    apply_display_setting("BMP", settings);
    EXPECT_EQ(settings.display_mode, display_gif);
    apply_display_setting("bmp", settings);
    EXPECT_EQ(settings.display_mode, display_bmp);
}

TEST_F(SettingsFileTest, ReadsTheLastOfTwoLinesAndWritesBoth) {
    write_settings("CACHE=<a>\r\nIMGDISP=<gif>\r\nCACHE=<b>\r\n");
    EXPECT_EQ(file.read_setting("CACHE="), "b");
    file.write_setting("CACHE=", "/new");
    EXPECT_EQ(read_file(file.path()), "CACHE=</new>\r\nIMGDISP=<gif>\r\nCACHE=</new>\r\n");
}

TEST_F(SettingsFileTest, AnEmptyValueReadsEmptyAndCannotBeSet) {
    write_settings("CACHE=<>\r\n");
    EXPECT_EQ(file.read_setting("CACHE="), "");
    file.write_setting("CACHE=", "/x");
    EXPECT_EQ(read_file(file.path()), "CACHE=<>\r\n");
}

TEST_F(SettingsFileTest, MatchesTheKeyAnywhereInALine) {
    write_settings("XCACHE=</x>\r\n");
    EXPECT_EQ(file.read_setting("CACHE="), "/x");
}

TEST_F(SettingsFileTest, FollowsTheBracketRulesForOddLines) {
    // '>' without '<': everything before the '>'. No '>': nothing.
    write_settings("CACHE=/a>\r\nIMGDISP=<gif\r\n");
    EXPECT_EQ(file.read_setting("CACHE="), "CACHE=/a");
    EXPECT_EQ(file.read_setting("IMGDISP="), "");
    // The value runs to the first '>' even if more follow.
    write_settings("DEFTONEMAP=<ward>>\n");
    EXPECT_EQ(file.read_setting("DEFTONEMAP="), "ward");
}

TEST_F(SettingsFileTest, RewritingKeepsOtherLinesAndEndsEveryLineWithCrLf) {
    write_settings("# my notes\nCACHE=</tmp>\nUNKNOWN=<1>\nIMGDISP=<bmp>");
    file.write_setting("IMGDISP=", "gif");
    EXPECT_EQ(read_file(file.path()), "# my notes\r\nCACHE=</tmp>\r\nUNKNOWN=<1>\r\nIMGDISP=<gif>\r\n");
}

TEST_F(SettingsFileTest, NeverAddsAMissingKeyNorCreatesAMissingFile) {
    write_settings("CACHE=</tmp>\r\n");
    file.write_setting("IMGDISP=", "gif");
    EXPECT_EQ(read_file(file.path()), "CACHE=</tmp>\r\n");
    std::filesystem::remove(file.path());
    file.write_setting("CACHE=", "/x");
    EXPECT_FALSE(std::filesystem::exists(file.path()));
    EXPECT_EQ(file.read_setting("CACHE="), "");
}

TEST_F(SettingsFileTest, KeepsAtMost259CharactersOfTheCacheDirectory) {
    write_settings("CACHE=<" + std::string(300, 'c') + ">\r\n");
    AppliedSettings settings;
    apply_cache_setting(file, settings);
    EXPECT_EQ(settings.cache_directory, std::string(259, 'c'));
}

// Sets an environment variable for one test and puts the old value back.
class ScopedVariable {
public:
    ScopedVariable(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name)) saved_ = old;
        if (value) setenv(name, value, 1);
        else unsetenv(name);
    }
    ~ScopedVariable() {
        if (saved_) setenv(name_, saved_->c_str(), 1);
        else unsetenv(name_);
    }

private:
    const char* name_;
    std::optional<std::string> saved_;
};

TEST(PlatformFolders, FollowTheXdgVariables) {
    ScopedVariable config("XDG_CONFIG_HOME", "/cfg/");
    ScopedVariable cache("XDG_CACHE_HOME", "/scratch/");
    ScopedVariable tmp("TMPDIR", "/tmp");
    const auto folders = platform_folders_from_environment();
    EXPECT_EQ(folders.appdata.value_or(""), "/cfg");
    EXPECT_EQ(folders.cache.value_or(""), "/scratch/candelux");
}

TEST(PlatformFolders, FallBackToHomeConfigAndCacheNeverTheSharedTmp) {
    ScopedVariable config("XDG_CONFIG_HOME", nullptr);
    ScopedVariable cache("XDG_CACHE_HOME", nullptr);
    ScopedVariable tmp("TMPDIR", "/tmp");
    ScopedVariable home("HOME", "/home/someone");
    const auto folders = platform_folders_from_environment();
    EXPECT_EQ(folders.appdata.value_or(""), "/home/someone/.config");
    EXPECT_EQ(folders.cache.value_or(""), "/home/someone/.cache/candelux");
}

TEST_F(SettingsFileTest, ANewFileNamesThePrivateCacheFolderAndCreatesItForItsOwnerAlone) {
    const std::string cache = (config.path() / "xdg-cache" / "candelux").string();
    SettingsFile file({config.str(), cache});
    EXPECT_EQ(file.ensure_settings_file(), SettingsFile::Status::ok);
    EXPECT_EQ(file.read_setting("CACHE="), cache);
    ASSERT_TRUE(std::filesystem::is_directory(cache));
    EXPECT_EQ(std::filesystem::status(cache).permissions() & std::filesystem::perms::all,
              std::filesystem::perms::owner_all);
}

TEST_F(SettingsFileTest, AnExistingCacheValueIsKeptAsTheUserSetIt) {
    std::filesystem::create_directories(config.path() / "candelux");
    write_file(config.path() / "candelux" / "settings.asf", "CACHE=</tmp>\r\nDEFTONEMAP=<ward>\r\nIMGDISP=<bmp>\r\n");
    SettingsFile file({config.str(), (config.path() / "private").string()});
    EXPECT_EQ(file.ensure_settings_file(), SettingsFile::Status::ok);
    EXPECT_EQ(file.read_setting("CACHE="), "/tmp");
    EXPECT_FALSE(std::filesystem::exists(config.path() / "private"));
}

TEST(PlatformFolders, HaveNoConfigurationFolderWithoutHome) {
    ScopedVariable config("XDG_CONFIG_HOME", nullptr);
    ScopedVariable home("HOME", nullptr);
    EXPECT_FALSE(platform_folders_from_environment().appdata.has_value());
}

}  // namespace
