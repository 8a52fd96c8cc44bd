// What the profile features remember: the capture's profile and the Ev
// check's tolerance, in one small file whose other lines survive a rewrite.

#include "profiles/profile_settings.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/comma_locale.h"
#include "support/temp_folder.h"

TEST(ProfileSettings, DefaultsWithoutAFileAndARoundTripKeepingOtherLines) {
    TempFolder folder;
    EXPECT_EQ(profile_settings_file(std::nullopt), "");
    const std::string file = profile_settings_file(folder.str());
    EXPECT_EQ(file, folder.str() + "/candelux/profile_settings");
    ProfileSettings none = read_profile_settings(file);
    EXPECT_EQ(none.capture_profile, "");
    EXPECT_EQ(none.ev_tolerance, 10);

    std::filesystem::create_directories(folder / "candelux");
    write_file(folder / "candelux" / "profile_settings", "LATER_KEY=7\r\nEV_TOLERANCE=abc\r\n");
    EXPECT_EQ(read_profile_settings(file).ev_tolerance, 10);  // not a number: the default
    ProfileSettings chosen;
    chosen.capture_profile = "/home/lab/.config/candelux/profiles/sigma 8mm.cdxprofile";
    chosen.ev_tolerance = 7.5;
    {
        CommaLocale comma;  // numbers stay in the C locale's form
        ASSERT_TRUE(write_profile_settings(file, chosen));
    }
    const std::string text = read_file(folder / "candelux" / "profile_settings");
    EXPECT_NE(text.find("LATER_KEY=7\n"), std::string::npos) << text;
    EXPECT_NE(text.find("EV_TOLERANCE=7.5\n"), std::string::npos) << text;
    EXPECT_EQ(text.find("abc"), std::string::npos) << text;
    const ProfileSettings back = read_profile_settings(file);
    EXPECT_EQ(back.capture_profile, chosen.capture_profile);
    EXPECT_EQ(back.ev_tolerance, 7.5);
    EXPECT_FALSE(write_profile_settings("", chosen));
}
