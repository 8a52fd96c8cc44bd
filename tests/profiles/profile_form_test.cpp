// Tools > Camera Profiles... through its form: the folder listed, a profile
// created, edited and saved with its unknown keys kept, bad numbers refused,
// one opened from elsewhere, and one deleted only after a Yes.

#include "profiles/profile_form.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "profiles/scripted_profile_desktop.h"
#include "support/formula_pictures.h"
#include "support/temp_folder.h"

namespace fs = std::filesystem;

namespace {

const char* with_a_later_key = R"({
  "format": "candelux camera profile 1",
  "name": "Office fisheye",
  "camera": "Canon EOS 5D",
  "lens": "EF8-15mm f/4L FISHEYE USM",
  "vignetting": [-0.2, -0.05],
  "projection": {"view": "-vta", "horizontal_angle": 180, "vertical_angle": 180,
                 "centre_x": 393.5, "centre_y": 392, "radius": 380},
  "nd_factor": 1000,
  "calibration_factor": 1.07,
  "date": "2026-11-30",
  "note": "grey card",
  "sensor_temperature": {"celsius": 21}
})";

class ProfileFormTest : public ::testing::Test {
protected:
    TempFolder temp;
    fs::path folder = temp / "profiles";
    ScriptedProfileDesktop desktop;

    void SetUp() override {
        fs::create_directories(folder);
        write_file(folder / "office.cdxprofile", with_a_later_key);
        write_file(folder / "notes.txt", "not a profile");
    }
};

}  // namespace

TEST_F(ProfileFormTest, ListsTheFolderAndShowsTheChosenProfile) {
    ProfileForm form(desktop, folder.string());
    ASSERT_EQ(form.entries.size(), 1u);
    EXPECT_EQ(form.entries[0].name, "Office fisheye");
    EXPECT_EQ(form.selected, -1);
    ASSERT_TRUE(form.on_select(0));
    EXPECT_EQ(form.fields[profile_field::camera], "Canon EOS 5D");
    EXPECT_EQ(form.fields[profile_field::nd_factor], "1000");
    EXPECT_EQ(form.fields[profile_field::calibration_factor], "1.07");
    EXPECT_EQ(form.fields[profile_field::view], "-vta");
    EXPECT_EQ(form.fields[profile_field::centre_x], "393.5");
    EXPECT_EQ(form.fields[profile_field::radius], "380");
    EXPECT_EQ(form.fields[profile_field::note], "grey card");
    // 1 - 0.2 - 0.05 at the rim.
    EXPECT_EQ(form.details,
              "Response curves recovered from each series; vignetting: 75 % of the centre's signal at the rim; "
              "changed 2026-11-30");
    EXPECT_FALSE(form.changed);
}

TEST_F(ProfileFormTest, SavesEditsAndKeepsWhatItDoesNotShow) {
    ProfileForm form(desktop, folder.string());
    form.on_select(0);
    form.on_edit(profile_field::name, "Office fisheye, ND");
    form.on_edit(profile_field::calibration_factor, "0.93");
    form.on_edit(profile_field::view, "-vth");
    form.on_edit(profile_field::radius, "381.25");
    form.on_edit(profile_field::note, "meter at the lens");
    EXPECT_TRUE(form.changed);
    ASSERT_TRUE(form.on_save());
    EXPECT_FALSE(form.changed);
    EXPECT_EQ(form.entries[0].name, "Office fisheye, ND");

    auto saved = read_camera_profile((folder / "office.cdxprofile").string());
    ASSERT_TRUE(saved) << saved.failure().message;
    const CameraProfile& p = saved.value();
    EXPECT_EQ(p.name, "Office fisheye, ND");
    EXPECT_DOUBLE_EQ(p.calibration_factor, 0.93);
    EXPECT_DOUBLE_EQ(p.nd_factor, 1000);
    ASSERT_TRUE(p.projection);
    EXPECT_EQ(p.projection->view, "-vth");
    EXPECT_DOUBLE_EQ(p.projection->circle.radius, 381.25);
    EXPECT_DOUBLE_EQ(p.projection->circle.centre_y, 392);
    EXPECT_EQ(p.vignetting, (std::vector<double>{-0.2, -0.05}));
    EXPECT_EQ(p.date, profile_date_today());
    EXPECT_NE(form.details.find("changed " + p.date), std::string::npos);
    EXPECT_NE(read_file(folder / "office.cdxprofile").find("sensor_temperature"), std::string::npos);

    // No view: the projection goes.
    form.on_edit(profile_field::view, "");
    ASSERT_TRUE(form.on_save());
    EXPECT_FALSE(read_camera_profile((folder / "office.cdxprofile").string()).value().projection);
}

TEST_F(ProfileFormTest, RefusesBadNumbersAndLeavesTheFile) {
    ProfileForm form(desktop, folder.string());
    form.on_select(0);
    const std::string before = read_file(folder / "office.cdxprofile");
    for (auto [field, text] : std::vector<std::pair<int, std::string>>{{profile_field::nd_factor, "0"},
                                                                      {profile_field::calibration_factor, "1,2"},
                                                                      {profile_field::horizontal_angle, "400"},
                                                                      {profile_field::radius, "-3"},
                                                                      {profile_field::name, ""}}) {
        ProfileForm fresh(desktop, folder.string());
        fresh.on_select(0);
        fresh.on_edit(field, text);
        EXPECT_FALSE(fresh.on_save()) << text;
    }
    EXPECT_EQ(desktop.messages.size(), 5u);
    EXPECT_EQ(read_file(folder / "office.cdxprofile"), before);
}

TEST_F(ProfileFormTest, NewOpenAndDelete) {
    ProfileForm form(desktop, folder.string());
    desktop.name_answers.push_back("Sony a7 / Samyang 8mm");
    ASSERT_TRUE(form.on_new());
    const fs::path created = folder / "Sony a7 _ Samyang 8mm.cdxprofile";
    EXPECT_TRUE(fs::exists(created));
    ASSERT_EQ(form.entries.size(), 2u);
    ASSERT_GE(form.selected, 0);
    EXPECT_EQ(form.entries[static_cast<size_t>(form.selected)].path, created.string());
    EXPECT_EQ(form.fields[profile_field::nd_factor], "1");
    // The same name again is refused; a cancelled name makes nothing.
    desktop.name_answers.push_back("Sony a7 / Samyang 8mm");
    EXPECT_FALSE(form.on_new());
    EXPECT_FALSE(form.on_new());
    EXPECT_EQ(form.entries.size(), 2u);

    // A profile from elsewhere joins the list.
    write_file(temp / "elsewhere.cdxprofile", R"({"format": "candelux camera profile 1", "name": "Borrowed"})");
    desktop.file_answers.push_back((temp / "elsewhere.cdxprofile").string());
    ASSERT_TRUE(form.on_open());
    EXPECT_EQ(form.entries.size(), 3u);
    EXPECT_EQ(form.fields[profile_field::name], "Borrowed");
    form.on_refresh();
    EXPECT_EQ(form.entries.size(), 3u);

    // Unsaved changes are offered for saving before another profile shows.
    form.on_edit(profile_field::note, "lent by the lab");
    desktop.question_answers.push_back(true);
    ASSERT_TRUE(form.on_select(0));
    EXPECT_EQ(desktop.questions.size(), 1u);
    EXPECT_EQ(read_camera_profile((temp / "elsewhere.cdxprofile").string()).value().note, "lent by the lab");

    // Delete asks; No keeps the file, Yes removes it.
    ASSERT_EQ(form.entries[0].name, "Office fisheye");
    EXPECT_FALSE(form.on_delete());
    EXPECT_TRUE(fs::exists(folder / "office.cdxprofile"));
    desktop.question_answers.push_back(true);
    ASSERT_TRUE(form.on_delete());
    EXPECT_FALSE(fs::exists(folder / "office.cdxprofile"));
    EXPECT_EQ(form.entries.size(), 2u);
    EXPECT_EQ(form.selected, -1);
}

namespace {

// A uniform scene through a fisheye whose disc loses light as 1 - 0.3 r²,
// black outside the disc (centre 60, 50, radius 45).
bool write_fisheye_wall(const std::string& path) {
    return write_grey_picture(path, 120, 100, [](int x, int y) {
        const double r = std::hypot(x + 0.5 - 60, y + 0.5 - 50) / 45;
        return r > 1 ? 0.0f : static_cast<float>(0.5 * (1 - 0.3 * r * r));
    });
}

}  // namespace

TEST_F(ProfileFormTest, FitVignettingFindsTheCircleFitsTheFallOffAndSaveKeepsIt) {
    ProfileForm form(desktop, folder.string());
    desktop.name_answers.push_back("Wall fisheye");
    ASSERT_TRUE(form.on_new());
    const std::string wall = (temp / "wall.hdr").string();
    ASSERT_TRUE(write_fisheye_wall(wall));
    EXPECT_FALSE(form.on_fit_vignetting());  // cancelled
    desktop.picture_answers.push_back(wall);
    ASSERT_TRUE(form.on_fit_vignetting()) << (desktop.messages.empty() ? "" : desktop.messages.back().first);
    EXPECT_EQ(desktop.picture_titles.back(), "Fit Vignetting to a Uniform Scene");
    EXPECT_EQ(form.fields[profile_field::view], "-vta");
    EXPECT_NEAR(std::stod(form.fields[profile_field::centre_x]), 60, 1);
    EXPECT_NEAR(std::stod(form.fields[profile_field::radius]), 45, 1.5);
    ASSERT_FALSE(form.shown_profile().vignetting.empty());
    EXPECT_NEAR(vignetting_falloff(form.shown_profile().vignetting, 0.9), 1 - 0.3 * 0.81, 0.02);
    EXPECT_GT(form.shown_profile().vignetting_data.size(), 10u);
    EXPECT_TRUE(form.changed);
    EXPECT_EQ(form.status.rfind("Fitted to wall.hdr: ", 0), 0u) << form.status;

    ASSERT_TRUE(form.on_save());
    auto saved = read_camera_profile(form.entries[static_cast<size_t>(form.selected)].path);
    ASSERT_TRUE(saved) << saved.failure().message;
    EXPECT_EQ(saved.value().vignetting, form.shown_profile().vignetting);
    EXPECT_EQ(saved.value().vignetting_data.size(), form.shown_profile().vignetting_data.size());
    ASSERT_TRUE(saved.value().projection);
    EXPECT_NEAR(saved.value().projection->circle.radius, 45, 1.5);
}

TEST_F(ProfileFormTest, TheVignettingPictureIsChosenBesideTheProfileAndMustBeAPicture) {
    ProfileForm form(desktop, folder.string());
    ASSERT_TRUE(form.on_select(0));
    ASSERT_TRUE(write_fisheye_wall((folder / "flat.hdr").string()));
    desktop.picture_answers.push_back((folder / "flat.hdr").string());
    ASSERT_TRUE(form.on_choose_vignetting_picture());
    EXPECT_EQ(form.fields[profile_field::vignetting_picture], "flat.hdr");  // beside the profile: its name
    ASSERT_TRUE(form.on_save());
    EXPECT_EQ(read_camera_profile((folder / "office.cdxprofile").string()).value().vignetting_picture, "flat.hdr");
    EXPECT_NE(form.details.find("the vignetting picture takes its place"), std::string::npos) << form.details;

    form.on_edit(profile_field::vignetting_picture, (temp / "none.hdr").string());
    EXPECT_FALSE(form.on_save());
    ASSERT_FALSE(desktop.messages.empty());
    EXPECT_EQ(desktop.messages.back().first,
              "The vignetting picture " + (temp / "none.hdr").string() + " is not a readable Radiance picture.");
    form.on_edit(profile_field::vignetting_picture, "");
    ASSERT_TRUE(form.on_save());
    EXPECT_EQ(read_camera_profile((folder / "office.cdxprofile").string()).value().vignetting_picture, "");
}
