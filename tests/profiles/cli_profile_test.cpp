// candelux-cli profile: what circle, show and vignetting print and store.

#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>

#include "cli/cli.h"
#include "common/json_value.h"
#include "picture/rgbe_writer.h"
#include "profiles/camera_profile.h"
#include "support/cli_in_process.h"
#include "support/temp_folder.h"

TEST(CliProfile, CirclePrintsTheCentreAndRadiusAsTextOrJson) {
    const std::string photo = shared_picture("fisheye_photo_786.hdr");
    if (photo.empty()) GTEST_SKIP() << "shared pictures are not on this machine";
    const CliResult text = cli({"profile", "circle", photo});
    ASSERT_EQ(text.status, 0) << text.err;
    double x = 0, y = 0, r = 0;
    ASSERT_EQ(std::sscanf(text.out.c_str(), "%lf %lf %lf", &x, &y, &r), 3) << text.out;
    EXPECT_NEAR(x, 393.5, 2);
    EXPECT_NEAR(y, 393.5, 2);
    EXPECT_NEAR(r, 393.3, 2);
    const CliResult json = cli({"profile", "circle", photo, "--json"});
    ASSERT_EQ(json.status, 0);
    auto parsed = parse_json(json.out);
    ASSERT_TRUE(parsed) << json.out;
    EXPECT_NEAR(parsed.value().find("centre_x")->as_number(), x, 0.01);
    EXPECT_NEAR(parsed.value().find("radius")->as_number(), r, 0.01);
    ASSERT_EQ(parsed.value().as_object().size(), 3u);

    TempFolder folder;
    const std::string saved = (folder / "lens.cdxprofile").string();
    ASSERT_EQ(cli({"profile", "circle", photo, "--save", saved}).status, 0);
    auto profile = read_camera_profile(saved);
    ASSERT_TRUE(profile) << profile.failure().message;
    EXPECT_NEAR(profile.value().projection->circle.radius, r, 0.01);
    EXPECT_EQ(profile.value().name, "lens");
    const CliResult shown = cli({"profile", "show", saved});
    EXPECT_EQ(shown.status, 0);
    EXPECT_NE(shown.out.find("-vta 180 x 180 degrees, image circle centre"), std::string::npos) << shown.out;
}

TEST(CliProfile, RefusalsSayWhy) {
    TempFolder folder;
    write_file(folder / "broken.cdxprofile", "{\"format\": \"candelux camera profile 1\", \"nd_factor\": -1}");
    const CliResult broken = cli({"profile", "show", (folder / "broken.cdxprofile").string()});
    EXPECT_EQ(broken.status, 2);
    EXPECT_NE(broken.err.find("\"nd_factor\" is not a positive number"), std::string::npos) << broken.err;
    EXPECT_EQ(cli({"profile", "show", (folder / "missing.cdxprofile").string()}).status, 2);
    EXPECT_EQ(cli({"profile"}).status, 2);
    EXPECT_EQ(cli({"profile", "frobnicate", "x"}).status, 2);
    EXPECT_EQ(cli({"profile", "vignetting", "only-a-profile"}).status, 2);
    EXPECT_EQ(cli({"profile", "show", "x", "--save", "y"}).status, 2);
    // A picture without a dark surround has no image circle.
    std::vector<RgbePixel> lit(64 * 64, encode_rgbe(1, 1, 1));
    RgbePictureHeader header;
    header.resolution = standard_resolution(64, 64);
    ASSERT_TRUE(write_rgbe_picture((folder / "lit.hdr").string(), header, lit));
    const CliResult none = cli({"profile", "circle", (folder / "lit.hdr").string()});
    EXPECT_EQ(none.status, 1);
    EXPECT_NE(none.err.find("no lit disc"), std::string::npos) << none.err;
}

TEST(CliProfile, VignettingOfAnAssembledPictureIsStoredInANewProfile) {
    TempFolder folder;
    // A lens covering the sensor, the corners at 70 % of the centre: measured
    // over the half diagonal.
    const int w = 160, h = 120;
    std::vector<RgbePixel> pixels(w * h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const double r2 = (std::pow(x + 0.5 - w / 2.0, 2) + std::pow(y + 0.5 - h / 2.0, 2)) / (100.0 * 100.0);
            const float v = static_cast<float>(1 - 0.3 * r2);
            pixels[y * w + x] = encode_rgbe(v, v, v);
        }
    RgbePictureHeader header;
    header.resolution = standard_resolution(w, h);
    ASSERT_TRUE(write_rgbe_picture((folder / "wall.hdr").string(), header, pixels));
    const std::string path = (folder / "new.cdxprofile").string();
    const CliResult made = cli({"profile", "vignetting", path, (folder / "wall.hdr").string()});
    ASSERT_EQ(made.status, 0) << made.err;
    EXPECT_NE(made.out.find("(the picture's half diagonal)"), std::string::npos) << made.out;
    EXPECT_NE(made.out.find("created " + path), std::string::npos);
    auto profile = read_camera_profile(path);
    ASSERT_TRUE(profile);
    ASSERT_EQ(profile.value().vignetting.size(), 3u);
    EXPECT_NEAR(profile.value().vignetting[0], -0.3, 0.01);
    EXPECT_NEAR(vignetting_falloff(profile.value().vignetting, 0.98), 1 - 0.3 * 0.98 * 0.98, 0.005);
    EXPECT_FALSE(profile.value().projection);
}
