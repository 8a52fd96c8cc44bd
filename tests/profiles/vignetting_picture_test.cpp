// The vignetting picture as the alternative to the radial polynomial: any
// fall-off, round or not, divided out; kept in the profile file beside the
// fit's own data; refused when its size is not the picture's.

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "picture/rgbe_reader.h"
#include "profiles/apply_profile.h"
#include "profiles/camera_profile.h"
#include "support/formula_pictures.h"
#include "support/temp_folder.h"

namespace fs = std::filesystem;

namespace {

// A lens that loses light toward its left edge and its top, not evenly in a
// circle: what no radial polynomial describes.
float lopsided(int x, int y) { return static_cast<float>((0.5 + 0.5 * x / 79.0) * (0.7 + 0.3 * y / 59.0)); }

// A scene whose pixel (x, y) gives away where it came from.
float scene(int x, int y) { return static_cast<float>(1 + x + 100 * y) * 0.01f; }

class VignettingPicture : public ::testing::Test {
protected:
    void SetUp() override {
        // The flat field, at some level of its own (its scale does not matter).
        ASSERT_TRUE(write_grey_picture((folder / "flat.hdr").string(), 80, 60,
                                       [](int x, int y) { return 3 * lopsided(x, y); }));
        ASSERT_TRUE(write_grey_picture((folder / "taken.hdr").string(), 80, 60,
                                       [](int x, int y) { return scene(x, y) * lopsided(x, y); }));
        profile.name = "flat field";
        profile.vignetting = {-0.5};  // ignored: the picture takes its place
        profile.vignetting_picture = "flat.hdr";
        ASSERT_TRUE(write_camera_profile((folder / "lens.cdxprofile").string(), profile));
    }
    TempFolder folder;
    CameraProfile profile;
};

}  // namespace

TEST_F(VignettingPicture, IsDividedOutScaledToOneAtTheCentre) {
    auto read = read_camera_profile((folder / "lens.cdxprofile").string());
    ASSERT_TRUE(read) << read.failure().message;
    EXPECT_EQ(read.value().vignetting_picture, "flat.hdr");
    EXPECT_EQ(vignetting_picture_path(read.value()), (folder / "flat.hdr").string());
    const std::string output = (folder / "corrected.hdr").string();
    auto applied = apply_profile((folder / "taken.hdr").string(), output, read.value());
    ASSERT_TRUE(applied) << applied.failure().message;
    auto map = load_luminance_map(output);
    ASSERT_TRUE(map);
    // The median of the flat field's centre pixels (x 39..40, y 29..30).
    const double centre = lopsided(40, 30);
    for (int y = 0; y < 60; y += 7)
        for (int x = 0; x < 80; x += 9) {
            const double expected = scene(x, y) * centre * 179;
            EXPECT_NEAR(map.value().at(x, y) / expected, 1, 0.02) << x << ", " << y;
        }
}

TEST_F(VignettingPicture, AnotherSizeOrNoPictureIsRefusedAndNothingWritten) {
    ASSERT_TRUE(write_grey_picture((folder / "flat.hdr").string(), 60, 80, [](int, int) { return 1.0f; }));
    auto read = read_camera_profile((folder / "lens.cdxprofile").string());
    ASSERT_TRUE(read);
    const std::string output = (folder / "corrected.hdr").string();
    auto refused = apply_profile((folder / "taken.hdr").string(), output, read.value());
    ASSERT_FALSE(refused);
    EXPECT_NE(refused.failure().message.find("is 60 x 80, the assembled picture 80 x 60"), std::string::npos)
        << refused.failure().message;
    EXPECT_FALSE(fs::exists(output));
    fs::remove(folder / "flat.hdr");
    auto missing = apply_profile((folder / "taken.hdr").string(), output, read.value());
    ASSERT_FALSE(missing);
    EXPECT_NE(missing.failure().message.find("flat.hdr cannot be read"), std::string::npos);
}

TEST_F(VignettingPicture, TheFitsDataAndThePictureSurviveARewrite) {
    CameraProfile kept = read_camera_profile((folder / "lens.cdxprofile").string()).value();
    kept.vignetting_data = {{0.05, 1.0}, {0.5, 0.91}, {0.95, 0.62}};
    kept.vignetting_picture = "/elsewhere/flat.hdr";
    ASSERT_TRUE(write_camera_profile((folder / "lens.cdxprofile").string(), kept));
    auto again = read_camera_profile((folder / "lens.cdxprofile").string());
    ASSERT_TRUE(again);
    EXPECT_EQ(again.value().vignetting_data, kept.vignetting_data);
    EXPECT_EQ(vignetting_picture_path(again.value()), "/elsewhere/flat.hdr");
    EXPECT_FALSE(parse_camera_profile(R"({"format": "candelux camera profile 1", "vignetting_data": [[0.1]]})"));
    EXPECT_FALSE(parse_camera_profile(R"({"format": "candelux camera profile 1", "vignetting_picture": 3})"));
}
