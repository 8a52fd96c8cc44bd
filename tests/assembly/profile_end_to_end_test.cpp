// Camera profiles from end to end: the simulated camera with a fisheye
// image circle and a vignetting fall-off photographs a uniform scene; the
// profile fitted to that series makes a later series of a uniform scene
// assemble flat.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <sstream>

#include "assembly/simulated_series.h"
#include "capture/capture_fakes.h"
#include "cli/cli.h"
#include "picture/rgbe_reader.h"
#include "picture/rgbe_writer.h"
#include "profiles/camera_profile.h"
#include "support/cli_in_process.h"
#include "support/temp_folder.h"

namespace {

constexpr int side = 240;
constexpr double circle_radius = 0.95 * side / 2;  // EDSDK_SIM_FISHEYE=0.95

void write_uniform_scene(const std::filesystem::path& path, double luminance, int width = side, int height = side) {
    const float v = static_cast<float>(luminance / 179);
    std::vector<RgbePixel> pixels(static_cast<size_t>(width) * height, encode_rgbe(v, v, v));
    RgbePictureHeader header;
    header.resolution = standard_resolution(width, height);
    ASSERT_TRUE(write_rgbe_picture(path.string(), header, pixels));
}

// Median luminance in rings of a twentieth of the radius, out to 95 %,
// each over the centre's.
std::vector<double> ring_levels(const LuminanceMap& map, double cx, double cy, double radius) {
    std::vector<std::vector<float>> rings(19);
    for (int y = 0; y < map.height; ++y)
        for (int x = 0; x < map.width; ++x) {
            const double r = std::hypot(x + 0.5 - cx, y + 0.5 - cy) / radius;
            if (r < 0.95) rings[static_cast<size_t>(r * 20)].push_back(map.at(x, y));
        }
    std::vector<double> levels;
    for (auto& ring : rings) {
        std::nth_element(ring.begin(), ring.begin() + ring.size() / 2, ring.end());
        levels.push_back(ring[ring.size() / 2]);
    }
    const double centre = levels[0];
    for (double& level : levels) level /= centre;
    return levels;
}

class ProfileEndToEnd : public ::testing::Test {
protected:
    TempFolder folder;
    ScopedEnv vignetting{"EDSDK_SIM_VIGNETTING", std::string("-0.3,-0.15")};
    ScopedEnv fisheye{"EDSDK_SIM_FISHEYE", std::string("0.95")};
    ScopedEnv config{"XDG_CONFIG_HOME", folder.str()};
};

}  // namespace

TEST_F(ProfileEndToEnd, AProfileFromAUniformSceneMakesALaterSeriesFlat) {
    write_uniform_scene(folder / "sphere.hdr", 40);
    const auto calibration = photograph_series(folder / "sphere.hdr", "srgb", folder / "calibration", {0x58, 0x48, 0x38});
    ASSERT_EQ(calibration.size(), 3u);
    std::vector<std::string> words = {"profile", "vignetting", "lab"};
    words.insert(words.end(), calibration.begin(), calibration.end());
    const CliResult made = cli(words);
    ASSERT_EQ(made.status, 0) << made.err;
    EXPECT_NE(made.out.find("(found, stored)"), std::string::npos) << made.out;

    auto profile = read_camera_profile((folder / "candelux/profiles/lab.cdxprofile").string());
    ASSERT_TRUE(profile) << profile.failure().message;
    ASSERT_TRUE(profile.value().projection);
    const ImageCircle circle = profile.value().projection->circle;
    EXPECT_NEAR(circle.centre_x, side / 2.0, 1);
    EXPECT_NEAR(circle.centre_y, side / 2.0, 1);
    EXPECT_NEAR(circle.radius, circle_radius, 1.5);
    EXPECT_FALSE(profile.value().camera.empty());  // the series' EXIF camera
    // The lens loses 45 % of its light at the rim: 1 - 0.3 - 0.15.
    EXPECT_NEAR(vignetting_falloff(profile.value().vignetting, 1), 0.55, 0.03);

    // A later series, brighter, assembled without and with the profile.
    write_uniform_scene(folder / "wall.hdr", 150);
    const auto later = photograph_series(folder / "wall.hdr", "srgb", folder / "later", {0x68, 0x58, 0x48});
    ASSERT_EQ(later.size(), 3u);
    std::vector<std::string> plain = {"assemble", (folder / "plain.hdr").string()};
    plain.insert(plain.end(), later.begin(), later.end());
    ASSERT_EQ(cli(plain).status, 0);
    std::vector<std::string> corrected = {"assemble", (folder / "flat.hdr").string(), "--profile", "lab"};
    corrected.insert(corrected.end(), later.begin(), later.end());
    const CliResult assembled = cli(corrected);
    ASSERT_EQ(assembled.status, 0) << assembled.err;

    auto before = load_luminance_map((folder / "plain.hdr").string());
    ASSERT_TRUE(before);
    const auto falling = ring_levels(before.value(), side / 2.0, side / 2.0, circle_radius);
    EXPECT_LT(falling.back(), 0.7);  // uncorrected, the rim is far darker

    auto after = load_luminance_map((folder / "flat.hdr").string());
    ASSERT_TRUE(after);
    // Cropped to the square around the circle.
    const int cropped = static_cast<int>(std::ceil(2 * circle.radius));
    EXPECT_EQ(after.value().width, cropped);
    EXPECT_EQ(after.value().height, cropped);
    const double c = cropped / 2.0;
    const auto flat = ring_levels(after.value(), c, c, circle.radius);
    for (size_t i = 0; i < flat.size(); ++i) EXPECT_NEAR(flat[i], 1, 0.02) << "ring " << i;
    // Still luminance: the centre reads the scene's 150 cd/m2 within the
    // camera's tone-curve error.
    EXPECT_NEAR(after.value().at(cropped / 2, cropped / 2), 150, 15);
    // Outside the circle the lens throws no light.
    EXPECT_LT(after.value().at(0, 0), 1e-20);

    auto header = read_picture_header((folder / "flat.hdr").string());
    ASSERT_TRUE(header);
    const auto has = [&](const std::string& start) {
        return std::any_of(header.value().begin(), header.value().end(),
                           [&](const std::string& line) { return line.rfind(start, 0) == 0; });
    };
    EXPECT_TRUE(has("PROFILE= lab " + profile.value().date));
    EXPECT_TRUE(has("VIEW= -vta -vh 180 -vv 180"));
}

TEST_F(ProfileEndToEnd, FactorsGoIntoTheExposureAndAnotherCameraIsRefusedUnlessForced) {
    write_uniform_scene(folder / "wall.hdr", 100);
    const auto series = photograph_series(folder / "wall.hdr", "srgb", folder / "series", {0x68, 0x58, 0x48});
    ASSERT_EQ(series.size(), 3u);
    CameraProfile profile;
    profile.name = "nd";
    profile.nd_factor = 10;
    profile.calibration_factor = 1.2;
    const std::string path = (folder / "nd.cdxprofile").string();
    ASSERT_TRUE(write_camera_profile(path, profile));
    std::vector<std::string> plain = {"assemble", (folder / "plain.hdr").string()};
    plain.insert(plain.end(), series.begin(), series.end());
    ASSERT_EQ(cli(plain).status, 0);
    std::vector<std::string> words = {"assemble", (folder / "nd.hdr").string(), "--profile", path};
    words.insert(words.end(), series.begin(), series.end());
    const CliResult applied = cli(words);
    ASSERT_EQ(applied.status, 0) << applied.err;
    auto a = load_luminance_map((folder / "plain.hdr").string());
    auto b = load_luminance_map((folder / "nd.hdr").string());
    ASSERT_TRUE(a && b);
    // Without a circle or vignetting the pixels stay; only the scale changes.
    ASSERT_EQ(a.value().width, b.value().width);
    EXPECT_NEAR(b.value().at(100, 100) / a.value().at(100, 100), 12, 0.01);

    profile.camera = "Another Camera";
    ASSERT_TRUE(write_camera_profile(path, profile));
    words[1] = (folder / "other.hdr").string();
    const CliResult refused = cli(words);
    EXPECT_EQ(refused.status, 2);
    EXPECT_NE(refused.err.find("give --force"), std::string::npos) << refused.err;
    EXPECT_FALSE(std::filesystem::exists(folder / "other.hdr"));
    words.push_back("--force");
    const CliResult forced = cli(words);
    EXPECT_EQ(forced.status, 0) << forced.err;
    EXPECT_NE(forced.err.find("Another Camera"), std::string::npos);
    EXPECT_TRUE(std::filesystem::exists(folder / "other.hdr"));

    // show prints what was stored.
    const CliResult shown = cli({"profile", "show", path, "--json"});
    ASSERT_EQ(shown.status, 0) << shown.err;
    EXPECT_NE(shown.out.find("\"nd_factor\": 10"), std::string::npos) << shown.out;
    EXPECT_NE(shown.out.find("\"camera\": \"Another Camera\""), std::string::npos);
}

TEST_F(ProfileEndToEnd, AnApertureChangingWithinTheSeriesIsWarnedAbout) {
    write_uniform_scene(folder / "wall.hdr", 100);
    const auto at_f8 = photograph_series(folder / "wall.hdr", "srgb", folder / "a", {0x68, 0x58});
    const auto at_f56 = photograph_series(folder / "wall.hdr", "srgb", folder / "b", {0x58}, 0x30);  // f/5.6
    ASSERT_EQ(at_f8.size(), 2u);
    ASSERT_EQ(at_f56.size(), 1u);
    const CliResult steady = cli({"assemble", (folder / "steady.hdr").string(), at_f8[0], at_f8[1]});
    EXPECT_EQ(steady.status, 0) << steady.err;
    EXPECT_EQ(steady.err.find("changes within the series"), std::string::npos) << steady.err;
    const CliResult changed = cli({"assemble", (folder / "changed.hdr").string(), at_f8[0], at_f8[1], at_f56[0]});
    EXPECT_EQ(changed.status, 0) << changed.err;
    EXPECT_NE(changed.err.find("the aperture changes within the series (f/8, f/5.6"), std::string::npos)
        << changed.err;
}

// The hidden HDR scene (360 x 240), taken through the same vignetting
// fisheye lens, assembled with the profile of a uniform series: its
// luminance inside 95 % of the image circle, where an exposure covers it,
// within 3 % median error.
TEST_F(ProfileEndToEnd, AHiddenSceneAssemblesToItsLuminanceWithTheProfile) {
    const LuminanceMap scene = write_hdr_scene(folder / "scene.hdr");
    write_uniform_scene(folder / "sphere.hdr", 40, scene.width, scene.height);
    const auto calibration = photograph_series(folder / "sphere.hdr", "gamma22", folder / "calibration", {0x58, 0x48, 0x38});
    ASSERT_EQ(calibration.size(), 3u);
    const std::string profile = (folder / "lens.cdxprofile").string();
    std::vector<std::string> make = {"profile", "vignetting", profile};
    make.insert(make.end(), calibration.begin(), calibration.end());
    const CliResult made = cli(make);
    ASSERT_EQ(made.status, 0) << made.err;

    const auto codes = two_stop_shutter_codes();
    const auto pictures = photograph_series(folder / "scene.hdr", "gamma22", folder / "series", codes);
    ASSERT_EQ(pictures.size(), codes.size());
    std::vector<std::string> words = {"assemble", (folder / "room.hdr").string(), "--profile", profile};
    words.insert(words.end(), pictures.begin(), pictures.end());
    const CliResult assembled = cli(words);
    ASSERT_EQ(assembled.status, 0) << assembled.err;
    auto room = load_luminance_map((folder / "room.hdr").string());
    ASSERT_TRUE(room);

    auto read = read_camera_profile(profile);
    ASSERT_TRUE(read && read.value().projection);
    const ImageCircle circle = read.value().projection->circle;
    const int cropped = room.value().width;
    const long left = std::lround(circle.centre_x - cropped / 2.0), top = std::lround(circle.centre_y - cropped / 2.0);
    std::vector<double> errors;
    for (int y = 0; y < room.value().height; ++y)
        for (int x = 0; x < cropped; ++x) {
            const long sx = x + left, sy = y + top;
            if (sx < 0 || sy < 0 || sx >= scene.width || sy >= scene.height) continue;
            if (std::hypot(sx + 0.5 - circle.centre_x, sy + 0.5 - circle.centre_y) > 0.95 * circle.radius) continue;
            const double truth = scene.at(static_cast<int>(sx), static_cast<int>(sy));
            // Covered by some exposure even at the rim's 55 % of the light.
            if (simulated_signal(truth, 1.0 / 1024) >= 0.9 || simulated_signal(truth * 0.55, 4.0) < 0.01) continue;
            errors.push_back(std::abs(room.value().at(x, y) / truth - 1));
        }
    ASSERT_GT(errors.size(), 10000u);
    std::nth_element(errors.begin(), errors.begin() + errors.size() / 2, errors.end());
    const double median = errors[errors.size() / 2];
    std::printf("hidden scene with the profile: median error %.2f %%\n", median * 100);
    EXPECT_LT(median, 0.03);
}

// The uniform series kept as the vignetting picture: assembly divides by it
// in place of the polynomial, and a later series of a uniform scene comes
// out flat just as well.
TEST_F(ProfileEndToEnd, TheKeptUniformPictureCorrectsALaterSeriesInPlaceOfThePolynomial) {
    write_uniform_scene(folder / "sphere.hdr", 40);
    const auto calibration = photograph_series(folder / "sphere.hdr", "srgb", folder / "calibration", {0x58, 0x48, 0x38});
    ASSERT_EQ(calibration.size(), 3u);
    std::vector<std::string> words = {"profile", "vignetting", "flat", "--keep-picture"};
    words.insert(words.end(), calibration.begin(), calibration.end());
    const CliResult made = cli(words);
    ASSERT_EQ(made.status, 0) << made.err;
    const std::filesystem::path kept = folder / "candelux/profiles/flat-vignetting.hdr";
    EXPECT_NE(made.out.find("vignetting picture: " + kept.string()), std::string::npos) << made.out;
    auto profile = read_camera_profile((folder / "candelux/profiles/flat.cdxprofile").string());
    ASSERT_TRUE(profile) << profile.failure().message;
    EXPECT_EQ(profile.value().vignetting_picture, "flat-vignetting.hdr");
    ASSERT_TRUE(std::filesystem::exists(kept));
    const CliResult shown = cli({"profile", "show", "flat"});
    EXPECT_NE(shown.out.find("vignetting picture: " + kept.string() + " (in place of the polynomial)\n"),
              std::string::npos)
        << shown.out;
    EXPECT_EQ(cli({"profile", "circle", kept.string(), "--keep-picture"}).status, 2);
    // The polynomial is gone from the correction: a wild one changes nothing.
    profile.value().vignetting = {0.9};
    ASSERT_TRUE(write_camera_profile((folder / "candelux/profiles/flat.cdxprofile").string(), profile.value()));

    write_uniform_scene(folder / "wall.hdr", 150);
    const auto later = photograph_series(folder / "wall.hdr", "srgb", folder / "later", {0x68, 0x58, 0x48});
    ASSERT_EQ(later.size(), 3u);
    std::vector<std::string> corrected = {"assemble", (folder / "flat.hdr").string(), "--profile", "flat"};
    corrected.insert(corrected.end(), later.begin(), later.end());
    const CliResult assembled = cli(corrected);
    ASSERT_EQ(assembled.status, 0) << assembled.err;
    auto after = load_luminance_map((folder / "flat.hdr").string());
    ASSERT_TRUE(after);
    const ImageCircle circle = profile.value().projection->circle;
    const double c = after.value().width / 2.0;
    const auto flat = ring_levels(after.value(), c, c, circle.radius);
    for (size_t i = 0; i < flat.size(); ++i) EXPECT_NEAR(flat[i], 1, 0.02) << "ring " << i;
    EXPECT_NEAR(after.value().at(after.value().width / 2, after.value().height / 2), 150, 15);

    // A picture of another size cannot correct this one: nothing is written.
    write_uniform_scene(folder / "small.hdr", 40, side / 2, side / 2);
    std::filesystem::copy_file(folder / "small.hdr", kept, std::filesystem::copy_options::overwrite_existing);
    corrected[1] = (folder / "refused.hdr").string();
    const CliResult refused = cli(corrected);
    EXPECT_NE(refused.status, 0);
    EXPECT_NE(refused.err.find("is 120 x 120, the assembled picture 240 x 240"), std::string::npos) << refused.err;
    EXPECT_FALSE(std::filesystem::exists(folder / "refused.hdr"));
}
