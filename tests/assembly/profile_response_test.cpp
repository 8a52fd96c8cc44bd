// From the command line: a response curve recovered from a series and kept
// in a profile (`profile response`), then used by `assemble --profile`; the
// Ev check of `assemble --meter-lux`; the sentences about an ISO speed or
// aperture that changes within a series.

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <numbers>

#include "assembly/series_exposures.h"
#include "assembly/simulated_series.h"
#include "common/json_value.h"
#include "common/text_format.h"
#include "picture/rgbe_writer.h"
#include "profiles/camera_profile.h"
#include "support/cli_in_process.h"
#include "support/temp_folder.h"

namespace fs = std::filesystem;

namespace {

class ProfileResponse : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        folder_ = new TempFolder;
        write_hdr_scene(*folder_ / "scene.hdr");
        series_ = photograph_series(*folder_ / "scene.hdr", "gamma22", *folder_ / "series", {0x48, 0x58, 0x68});
    }
    static void TearDownTestSuite() { delete folder_; }
    void SetUp() override { ASSERT_EQ(series_.size(), 3u); }

    std::vector<std::string> with_series(std::vector<std::string> words) {
        words.insert(words.end(), series_.begin(), series_.end());
        return words;
    }

    static TempFolder* folder_;
    static std::vector<std::string> series_;
    TempFolder work;
};

TempFolder* ProfileResponse::folder_ = nullptr;
std::vector<std::string> ProfileResponse::series_;

double json_number(const JsonValue& object, const char* key) {
    const JsonValue* value = object.find(key);
    return value && value->is_number() ? value->as_number() : -1;
}

}  // namespace

TEST_F(ProfileResponse, TheRecoveredCurveIsStoredAndThenUsedByAssemble) {
    const std::string profile = (work / "camera.cdxprofile").string();
    const CliResult made = cli(with_series({"profile", "response", profile}));
    ASSERT_EQ(made.status, 0) << made.err;
    EXPECT_NE(made.out.find("response: recovered from 3 pictures, residual "), std::string::npos) << made.out;
    EXPECT_NE(made.out.find("created " + profile), std::string::npos) << made.out;

    // The very curve assemble recovers from the same series.
    const std::string curve_file = (work / "curve.txt").string();
    ASSERT_EQ(cli(with_series({"assemble", (work / "plain.hdr").string(), "--save-response", curve_file})).status, 0);
    auto curve = read_response_file(curve_file);
    auto stored = read_camera_profile(profile);
    ASSERT_TRUE(curve && stored);
    ASSERT_TRUE(stored.value().response);
    EXPECT_FALSE(stored.value().camera.empty());  // the series' EXIF camera
    for (int c = 0; c < 3; ++c)
        for (int node = 0; node < response_nodes; node += 15)
            EXPECT_NEAR(stored.value().response->log_signal[c][static_cast<size_t>(node)],
                        curve.value().log_signal[c][static_cast<size_t>(node)], 1e-6)
                << "channel " << c << " node " << node;

    const CliResult used = cli(with_series({"assemble", (work / "used.hdr").string(), "--profile", profile, "--json"}));
    ASSERT_EQ(used.status, 0) << used.err;
    EXPECT_NE(used.out.find("\"response\": \"profile\""), std::string::npos) << used.out;
    EXPECT_NE(used.out.find("\"response_residual\": null"), std::string::npos) << used.out;

    // A profile made for another camera keeps its curve.
    CameraProfile other = stored.value();
    other.camera = "Another Camera";
    other.response.reset();
    ASSERT_TRUE(write_camera_profile(profile, other));
    const CliResult refused = cli(with_series({"profile", "response", profile}));
    EXPECT_EQ(refused.status, 2);
    EXPECT_NE(refused.err.find("\"Another Camera\""), std::string::npos) << refused.err;
    EXPECT_FALSE(read_camera_profile(profile).value().response);

    EXPECT_EQ(cli({"profile", "response", profile, series_[0]}).status, 2);  // one picture is no series
}

TEST_F(ProfileResponse, TheEvCheckComparesThePicturesIlluminanceWithTheMeter) {
    CameraProfile fisheye;
    fisheye.name = "fisheye";
    fisheye.projection = LensProjection{};
    const std::string profile = (work / "fisheye.cdxprofile").string();
    ASSERT_TRUE(write_camera_profile(profile, fisheye));
    const auto assemble = [&](const std::string& name, std::vector<std::string> options) {
        std::vector<std::string> words = {"assemble", (work / name).string(), "--profile", profile};
        words.insert(words.end(), options.begin(), options.end());
        return cli(with_series(words));
    };
    const CliResult first = assemble("first.hdr", {"--meter-lux", "5000", "--json"});
    ASSERT_EQ(first.status, 0) << first.err;
    auto json = parse_json(first.out);
    ASSERT_TRUE(json) << first.out;
    const JsonValue* ev = json.value().find("ev_check");
    ASSERT_NE(ev, nullptr) << first.out;
    const double lux = json_number(*ev, "picture_lux");
    EXPECT_GT(lux, 0);
    EXPECT_EQ(json_number(*ev, "meter_lux"), 5000);
    EXPECT_NEAR(json_number(*ev, "difference_percent"), (lux - 5000) / 50, 0.01);
    // The same figure `illuminance` gives for the picture.
    const CliResult measured = cli({"illuminance", (work / "first.hdr").string()});
    ASSERT_EQ(measured.status, 0) << measured.err;

    const CliResult close = assemble("close.hdr", {"--meter-lux", strprintf("%.9g", lux * 1.08)});
    ASSERT_EQ(close.status, 0) << close.err;
    EXPECT_NE(close.out.find("Ev check: the picture gives "), std::string::npos) << close.out;
    EXPECT_NE(close.out.find("(-7.4 %), within 10 %."), std::string::npos) << close.out;
    EXPECT_EQ(close.err.find("Ev check"), std::string::npos) << close.err;

    const CliResult strict = assemble("strict.hdr", {"--meter-lux", strprintf("%.9g", lux * 1.08), "--ev-tolerance", "5"});
    ASSERT_EQ(strict.status, 0) << strict.err;
    EXPECT_NE(strict.err.find("more than 5 % apart: check the calibration factor"), std::string::npos) << strict.err;

    // Without a view there is nothing to compare.
    const CliResult plain = cli(with_series({"assemble", (work / "plain.hdr").string(), "--meter-lux", "5000"}));
    EXPECT_EQ(plain.status, 0) << plain.err;
    EXPECT_NE(plain.err.find("no Ev check: "), std::string::npos) << plain.err;

    EXPECT_EQ(cli(with_series({"assemble", (work / "x.hdr").string(), "--ev-tolerance", "5"})).status, 2);
    EXPECT_EQ(cli(with_series({"assemble", (work / "x.hdr").string(), "--meter-lux", "-3"})).status, 2);
}

TEST(ChangingSettings, AnIsoSpeedOrApertureThatChangesIsNamedOnce) {
    ShotExposure a{}, b{}, c{};
    a.seconds = b.seconds = c.seconds = 0.01;
    a.f_number = b.f_number = c.f_number = 8;
    a.iso = b.iso = c.iso = 100;
    EXPECT_TRUE(changing_settings({a, b, c}).empty());
    b.iso = 200;
    c.iso = 400;
    EXPECT_EQ(changing_settings({a, b, c}),
              std::vector<std::string>{"the ISO speed changes within the series (100, 200): is auto-ISO on?"});
    c.f_number = 5.6;
    const auto both = changing_settings({a, b, c});
    ASSERT_EQ(both.size(), 2u);
    EXPECT_EQ(both[1], "the aperture changes within the series (f/8, f/5.6)");
    c.f_number = 5.656854;  // as EXIF writes f/5.6
    EXPECT_EQ(changing_settings({a, b, c})[1], "the aperture changes within the series (f/8, f/5.6)");
    EXPECT_EQ(f_number_text(11.3137), "11");
    EXPECT_EQ(f_number_text(2.828), "2.8");
    EXPECT_EQ(f_number_text(1.4142), "1.4");
    EXPECT_EQ(f_number_text(22.627), "22");
    EXPECT_EQ(f_number_text(4), "4");
    b.iso = c.iso = 0;  // unknown speeds say nothing
    c.f_number = 8;
    EXPECT_TRUE(changing_settings({a, b, c}).empty());
}
