// candelux-cli through the lens: the illuminance command, the lens keys of
// stats --json, --weighted, and the clipped-pixel sentence.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "cli/cli_process.h"
#include "picture/rgbe_writer.h"
#include "support/temp_folder.h"

using ::testing::HasSubstr;
using ::testing::Not;

namespace {

constexpr double pi = std::numbers::pi;

// A 200 × 200 grey picture of 179 cd/m² (RGB 1), with a bright patch of
// patch × patch pixels at RGB `bright` in the upper left quadrant.
void write_grey(const std::filesystem::path& path, const std::vector<std::string>& header, int patch,
                float bright = 1000) {
    const int w = 200;
    std::vector<RgbePixel> pixels(size_t(w) * w, encode_rgbe(1, 1, 1));
    for (int y = 60; y < 60 + patch; ++y)
        for (int x = 60; x < 60 + patch; ++x) pixels[size_t(y) * w + size_t(x)] = encode_rgbe(bright, bright, bright);
    RgbePictureHeader h;
    h.lines = header;
    h.resolution = standard_resolution(w, w);
    ASSERT_TRUE(write_rgbe_picture(path.string(), h, pixels));
}

// The number after "key": in a JSON text, or NaN for null; -1 when absent.
double json_value(const std::string& json, const std::string& key) {
    const size_t at = json.find("\"" + key + "\":");
    if (at == std::string::npos) return -1;
    const std::string rest = json.substr(at + key.size() + 3);
    if (rest.rfind("null", 0) == 0) return std::nan("");
    return std::stod(rest);
}

class CliLens : public ::testing::Test {
protected:
    CliRun cli(const std::string& words) { return run_candelux_cli(words, config.str(), cache_home.str()); }
    TempFolder config, cache_home, dir;
};

}  // namespace

TEST_F(CliLens, IlluminanceIsTheSumOverTheViewAndNeedsAView) {
    write_grey(dir / "fish.hdr", {"VIEW= -vta -vh 180 -vv 180"}, 0);
    const CliRun run = cli("illuminance " + (dir / "fish.hdr").string());
    EXPECT_EQ(run.status, 0) << run.err;
    const std::string caption = "Vertical illuminance at the lens: ";
    ASSERT_THAT(run.out, HasSubstr(caption));
    const double lux = std::stod(run.out.substr(run.out.find(caption) + caption.size()));
    EXPECT_NEAR(lux, pi * 179, pi * 179 * 0.005);  // the black corners are not part of it
    EXPECT_THAT(run.out, HasSubstr("Hemispherical illuminance: "));
    EXPECT_THAT(run.out, Not(HasSubstr("clipped")));

    write_grey(dir / "flat.hdr", {"EXPOSURE=1"}, 0);
    const CliRun refused = cli("illuminance " + (dir / "flat.hdr").string());
    EXPECT_EQ(refused.status, 2);
    EXPECT_THAT(refused.err, HasSubstr("has no usable view"));
    EXPECT_EQ(cli("illuminance").status, 2);
    EXPECT_THAT(cli("illuminance --help").out, HasSubstr("usage: candelux-cli illuminance PICTURE"));
}

// The number after `caption` in a run's output.
double figure_after(const std::string& out, const std::string& caption) {
    const size_t at = out.find(caption);
    return at == std::string::npos ? -1 : std::stod(out.substr(at + caption.size()));
}

TEST_F(CliLens, IlluminanceWeighsColourAsEvalglareWhenAsked) {
    const std::string caption = "Vertical illuminance at the lens: ";
    // On the photographs: evalglare -V's figures, within half a per cent.
    for (auto [name, evalglare] :
         {std::pair{"fisheye_photo_786.hdr", 6124.936799}, std::pair{"fisheye_photo_544.hdr", 494.687140}}) {
        const std::string path = shared_picture(name);
        if (path.empty()) continue;
        const CliRun run = cli("illuminance " + path + " --weights radiance");
        ASSERT_EQ(run.status, 0) << run.err;
        EXPECT_NEAR(figure_after(run.out, caption), evalglare, evalglare * 0.005) << name;
    }
    // On an orange fisheye the two weightings differ by their weighted sums.
    const int w = 100;
    std::vector<RgbePixel> pixels(size_t(w) * w, encode_rgbe(1.0f, 0.5f, 0.25f));
    RgbePictureHeader h;
    h.lines = {"VIEW= -vth -vh 180 -vv 180"};
    h.resolution = standard_resolution(w, w);
    ASSERT_TRUE(write_rgbe_picture((dir / "orange.hdr").string(), h, pixels));
    const double bt709 = figure_after(cli("illuminance " + (dir / "orange.hdr").string()).out, caption);
    const double radiance =
        figure_after(cli("illuminance --weights radiance " + (dir / "orange.hdr").string()).out, caption);
    const double ratio = (0.26510582 + 0.67010582 * 0.5 + 0.06478836 * 0.25) / (0.2126 + 0.7152 * 0.5 + 0.0722 * 0.25);
    EXPECT_NEAR(radiance / bt709, ratio, 0.002);
    EXPECT_NEAR(bt709, 179 * (0.2126 + 0.7152 * 0.5 + 0.0722 * 0.25) * pi, 179 * pi * 0.01);

    const CliRun refused = cli("illuminance " + (dir / "orange.hdr").string() + " --weights cie");
    EXPECT_EQ(refused.status, 2);
    EXPECT_THAT(refused.err, HasSubstr("neither bt709 nor radiance"));
}

TEST_F(CliLens, StatsJsonCarriesTheLensKeysAndTheClippedPixels) {
    write_grey(dir / "clipped.hdr", {"VIEW= -vta -vh 180 -vv 180"}, 5);
    write_grey(dir / "clean.hdr", {"VIEW= -vta -vh 180 -vv 180"}, 1);  // one hot pixel is no patch
    write_grey(dir / "noview.hdr", {}, 5);

    const CliRun clipped = cli("stats " + (dir / "clipped.hdr").string() + " --json");
    ASSERT_EQ(clipped.status, 0) << clipped.err;
    EXPECT_EQ(json_value(clipped.out, "ceiling_pixels"), 25);
    EXPECT_NEAR(json_value(clipped.out, "solid_angle_sr"), 2 * pi, 2 * pi * 0.005);
    EXPECT_DOUBLE_EQ(json_value(clipped.out, "illuminance_share"), 1.0);
    EXPECT_DOUBLE_EQ(json_value(clipped.out, "vertical_illuminance_lx"),
                     json_value(clipped.out, "picture_vertical_illuminance_lx"));
    EXPECT_GT(json_value(clipped.out, "count_in_view"), 0.7 * 200 * 200);
    EXPECT_LT(json_value(clipped.out, "count_in_view"), 0.8 * 200 * 200);

    const CliRun clean = cli("stats " + (dir / "clean.hdr").string() + " --json");
    EXPECT_EQ(json_value(clean.out, "ceiling_pixels"), 0);
    const CliRun clean_text = cli("stats " + (dir / "clean.hdr").string());
    EXPECT_THAT(clean_text.out, Not(HasSubstr("are clipped")));
    const CliRun clipped_text = cli("stats " + (dir / "clipped.hdr").string());
    EXPECT_THAT(clipped_text.out, HasSubstr("The brightest 25 pixels (0.079 %) are clipped: illuminance and glare are "  // 25 of 31780 in view
                                            "underestimated. Calibrate against a measured illuminance to correct it."));

    // A region away from the patch holds none of it and part of the light.
    const CliRun corner = cli("stats " + (dir / "clipped.hdr").string() + " --rect 100,100,200,200 --json");
    EXPECT_EQ(json_value(corner.out, "ceiling_pixels"), 0);
    EXPECT_GT(json_value(corner.out, "illuminance_share"), 0.0);
    EXPECT_LT(json_value(corner.out, "illuminance_share"), 0.5);

    const CliRun noview = cli("stats " + (dir / "noview.hdr").string() + " --json");
    ASSERT_EQ(noview.status, 0) << noview.err;
    for (const char* key : {"count_in_view", "solid_angle_sr", "weighted_mean", "vertical_illuminance_lx",
                            "illuminance_share", "picture_vertical_illuminance_lx"})
        EXPECT_TRUE(std::isnan(json_value(noview.out, key))) << key;
    EXPECT_EQ(json_value(noview.out, "ceiling_pixels"), 25);

    const CliRun two = cli("stats " + (dir / "clipped.hdr").string() +
                           " --rect 50,50,70,70 --region-b --rect 100,100,200,200 --json");
    ASSERT_EQ(two.status, 0) << two.err;
    EXPECT_EQ(json_value(two.out, "ceiling_pixels"), 25);  // Region A's, first in the text
    EXPECT_GT(json_value(two.out, "picture_vertical_illuminance_lx"), 0);
}

TEST_F(CliLens, WeightedSwitchesTheFiguresToSolidAngleWeighting) {
    write_grey(dir / "fish.hdr", {"VIEW= -vth -vh 180 -vv 180"}, 40, 20);
    const std::string picture = (dir / "fish.hdr").string();
    const CliRun plain = cli("stats " + picture + " --json");
    const CliRun weighted = cli("stats " + picture + " --json --weighted");
    ASSERT_EQ(weighted.status, 0) << weighted.err;
    // The weighted mean is the mean under --weighted, and differs from the
    // mean of the pixels alike.
    EXPECT_NEAR(json_value(weighted.out, "mean"), json_value(plain.out, "weighted_mean"),
                json_value(plain.out, "weighted_mean") * 1e-6);
    EXPECT_GT(std::fabs(json_value(plain.out, "mean") - json_value(weighted.out, "mean")),
              0.01 * json_value(plain.out, "mean"));
    EXPECT_EQ(json_value(plain.out, "count"), json_value(weighted.out, "count"));
}
