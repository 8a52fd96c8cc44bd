#include "profiles/camera_profile.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

const char* written_by_a_later_version = R"({
  "format": "candelux camera profile 1",
  "name": "Office fisheye",
  "camera": "Canon EOS 5D",
  "lens": "EF8-15mm f/4L FISHEYE USM",
  "vignetting": [-0.2, -0.05],
  "projection": {"view": "-vta", "horizontal_angle": 180, "vertical_angle": 180,
                 "centre_x": 393.5, "centre_y": 392, "radius": 380, "distortion": [0.01]},
  "nd_factor": 1000,
  "calibration_factor": 1.07,
  "date": "2026-11-30",
  "note": "grey card, 12 lux",
  "sensor_temperature": {"celsius": 21, "logged": [20.5, 21.5]}
})";

}  // namespace

TEST(CameraProfile, ReadsEveryField) {
    auto profile = parse_camera_profile(written_by_a_later_version);
    ASSERT_TRUE(profile) << profile.failure().message;
    const CameraProfile& p = profile.value();
    EXPECT_EQ(p.name, "Office fisheye");
    EXPECT_EQ(p.camera, "Canon EOS 5D");
    EXPECT_EQ(p.lens, "EF8-15mm f/4L FISHEYE USM");
    EXPECT_EQ(p.vignetting, (std::vector<double>{-0.2, -0.05}));
    ASSERT_TRUE(p.projection);
    EXPECT_EQ(p.projection->view, "-vta");
    EXPECT_EQ(p.projection->circle.centre_x, 393.5);
    EXPECT_EQ(p.projection->circle.radius, 380);
    EXPECT_EQ(p.nd_factor, 1000);
    EXPECT_EQ(p.calibration_factor, 1.07);
    EXPECT_EQ(p.date, "2026-11-30");
    EXPECT_FALSE(p.response);
    EXPECT_DOUBLE_EQ(vignetting_falloff(p.vignetting, 1), 0.75);
}

TEST(CameraProfile, RewriteKeepsUnknownKeysAndChangesOnlyWhatWasEdited) {
    auto profile = parse_camera_profile(written_by_a_later_version);
    ASSERT_TRUE(profile);
    CameraProfile edited = profile.value();
    edited.calibration_factor = 1.1;
    edited.response = linear_response();
    auto again = parse_camera_profile(camera_profile_text(edited));
    ASSERT_TRUE(again) << again.failure().message;
    const JsonValue& root = again.value().document;
    ASSERT_NE(root.find("sensor_temperature"), nullptr);
    EXPECT_EQ(*root.find("sensor_temperature"), *profile.value().document.find("sensor_temperature"));
    EXPECT_EQ(root.find("projection")->find("distortion")->as_array()[0].as_number(), 0.01);
    EXPECT_EQ(again.value().calibration_factor, 1.1);
    ASSERT_TRUE(again.value().response);
    EXPECT_EQ(again.value().response->log_signal[1], linear_response().log_signal[1]);
    // Unchanged, the text is stable from the first rewrite on.
    EXPECT_EQ(camera_profile_text(again.value()), camera_profile_text(edited));
}

TEST(CameraProfile, RefusesBrokenProfiles) {
    const std::string base = R"({"format": "candelux camera profile 1", )";
    for (const std::string& tail : {
             std::string(R"("nd_factor": 0})"), std::string(R"("calibration_factor": "1"})"),
             std::string(R"("vignetting": [-1.5]})"), std::string(R"("vignetting": "none"})"),
             std::string(R"("projection": {"view": "-vq"}})"), std::string(R"("projection": {"radius": -3}})"),
             std::string(R"("response": {"red": [0]}})"), std::string(R"("name": 3})")})
        EXPECT_FALSE(parse_camera_profile(base + tail)) << tail;
    EXPECT_FALSE(parse_camera_profile(R"({"name": "no format"})"));
    EXPECT_FALSE(parse_camera_profile("[]"));
    EXPECT_TRUE(parse_camera_profile(base + R"("name": "minimal"})"));
}

TEST(CameraProfile, FileRoundTripAndTheProfileFolder) {
    const fs::path folder = fs::temp_directory_path() / ("cdx_profile_" + std::to_string(::getpid()));
    fs::create_directories(folder);
    auto profile = parse_camera_profile(written_by_a_later_version);
    ASSERT_TRUE(profile);
    const std::string path = (folder / "office.cdxprofile").string();
    ASSERT_TRUE(write_camera_profile(path, profile.value()));
    auto read = read_camera_profile(path);
    ASSERT_TRUE(read) << read.failure().message;
    EXPECT_EQ(read.value().document, parse_camera_profile(camera_profile_text(profile.value())).value().document);
    EXPECT_FALSE(fs::exists(path + ".part"));
    EXPECT_FALSE(read_camera_profile((folder / "missing.cdxprofile").string()));

    const char* old = std::getenv("XDG_CONFIG_HOME");
    const std::string kept = old ? old : "";
    ::setenv("XDG_CONFIG_HOME", folder.c_str(), 1);
    EXPECT_EQ(profile_folder(), folder.string() + "/candelux/profiles");
    EXPECT_EQ(profile_path("office"), folder.string() + "/candelux/profiles/office.cdxprofile");
    EXPECT_EQ(profile_path(path), path);
    EXPECT_EQ(profile_path("other.cdxprofile"), "other.cdxprofile");
    if (old) ::setenv("XDG_CONFIG_HOME", kept.c_str(), 1);
    else ::unsetenv("XDG_CONFIG_HOME");
    fs::remove_all(folder);
}
