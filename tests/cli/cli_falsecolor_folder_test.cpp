// candelux-cli falsecolor PICTURE... --out-dir DIR: every picture on one
// scale. The files are compared with the core's own rendering of each
// picture, so one luminance has one colour in every output.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <filesystem>

#include "cli/cli_process.h"
#include "support/png_reading.h"
#include "picture/bmp_reader.h"
#include "picture/rgbe_reader.h"
#include "support/formula_pictures.h"
#include "tools/falsecolor_figure.h"

namespace fs = std::filesystem;
using ::testing::HasSubstr;

namespace {

class CliFalsecolorFolder : public ::testing::Test {
protected:
    void SetUp() override {
        // Two ramps that overlap in 50 … 1000 cd/m²: A 10 … 1000, B 50 … 5000,
        // along x, in grey.
        ASSERT_TRUE(write_grey_picture((pictures / "a.hdr").string(), 60, 20, [](int x, int) {
            return 10.0f * std::pow(100.0f, static_cast<float>(x) / 59.0f) / 179.0f;
        }));
        ASSERT_TRUE(write_grey_picture((pictures / "b.hdr").string(), 40, 30, [](int x, int) {
            return 50.0f * std::pow(100.0f, static_cast<float>(x) / 39.0f) / 179.0f;
        }));
    }
    CliRun cli(const std::string& words) { return run_candelux_cli(words, config.str(), cache_home.str()); }
    std::string both() const { return (pictures / "a.hdr").string() + " " + (pictures / "b.hdr").string(); }
    LuminanceMap map_of(const std::string& name) const {
        auto map = load_luminance_map((pictures / name).string());
        EXPECT_TRUE(map);
        return map ? std::move(map).value() : LuminanceMap{};
    }

    TempFolder config, cache_home, pictures, out;
};

TEST_F(CliFalsecolorFolder, RendersEveryPictureAsTheWindowWouldOnTheGivenRange) {
    const CliRun run = cli("falsecolor " + both() + " --out-dir " + out.str() + " --range 20,2000");
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_THAT(run.out, HasSubstr("Picture: " + (out / "a.bmp").string() + "\n"));
    EXPECT_THAT(run.out, HasSubstr("Range: 20 to 2000 cd/m\u00b2\nScale: log, 8 steps, classic, smooth\n"));
    FalsecolorScale scale;
    scale.bottom = 20, scale.top = 2000;
    for (const char* name : {"a", "b"}) {
        const auto bmp = read_bmp_raster((out / (std::string(name) + ".bmp")).string());
        ASSERT_TRUE(bmp) << name;
        // The original falsecolor picture of that range, byte for byte.
        const LuminanceMap map = map_of(std::string(name) + ".hdr");
        EXPECT_EQ(bmp->bgr, render_falsecolor(log_luminance(map), map.width, map.height, falsecolor_log_range(20, 2000)));
    }
    // The same luminance has the same colour in both: b's column x holds a's
    // column x + 20 (both 50 · 100^(x/39) … within the ramps' rounding, so
    // compare where the values agree to the bit).
    const LuminanceMap a = map_of("a.hdr"), b = map_of("b.hdr");
    const auto ra = read_bmp_raster((out / "a.bmp").string()), rb = read_bmp_raster((out / "b.bmp").string());
    int compared = 0;
    for (int xb = 0; xb < b.width; ++xb)
        for (int xa = 0; xa < a.width; ++xa)
            if (a.at(xa, 0) == b.at(xb, 0)) {
                EXPECT_EQ(0, std::memcmp(ra->at(xa, 5), rb->at(xb, 7), 3));
                ++compared;
            }
    EXPECT_GT(compared, 0);
}

TEST_F(CliFalsecolorFolder, AutoScaleTakesTheCommonExtremesOfAllPictures) {
    const CliRun run = cli("falsecolor " + both() + " --out-dir " + out.str());
    ASSERT_EQ(run.status, 0) << run.err;
    // a's darkest (10) and b's brightest (5000), as pextrem reads them from
    // the pictures' RGBE bytes.
    const auto range = [](const std::string& text) {
        std::pair<float, float> r{0, 0};
        const size_t at = text.find("Range: ");
        if (at != std::string::npos) std::sscanf(text.c_str() + at, "Range: %f to %f", &r.first, &r.second);
        return r;
    };
    EXPECT_NEAR(range(run.out).first, 10.0f, 0.05f);
    EXPECT_NEAR(range(run.out).second, 5000.0f, 25.0f);
    const CliRun a_alone = cli("falsecolor " + (pictures / "a.hdr").string() + " --out-dir " + out.str() +
                               " --overwrite");
    EXPECT_EQ(range(a_alone.out).first, range(run.out).first);
    EXPECT_NEAR(range(a_alone.out).second, 1000.0f, 5.0f);
    const std::string b_before = read_file(out / "b.bmp");
    const CliRun same = cli("falsecolor " + both() + " --out-dir " + out.str() + " --auto-scale --overwrite");
    ASSERT_EQ(same.status, 0) << same.err;
    EXPECT_EQ(same.out, run.out);
    EXPECT_EQ(read_file(out / "b.bmp"), b_before);
}

TEST_F(CliFalsecolorFolder, UsesAScaleFileAndWritesPngFiguresWithLegendAndExtrema) {
    write_file(pictures / "study.fcs",
               "candelux falsecolor scale 1\nbottom 0\ntop 6000\naxis linear\nsteps 6\npalette viridis\n"
               "display posterised\n");
    const CliRun run = cli("falsecolor " + both() + " --out-dir " + out.str() + " --scale " +
                           (pictures / "study.fcs").string() + " --png --legend --extrema");
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_THAT(run.out, HasSubstr("Range: 0 to 6000 cd/m\u00b2\nScale: linear, 6 steps, viridis, posterised\n"));
    EXPECT_FALSE(fs::exists(out / "a.bmp"));
    const auto read = read_scale_file((pictures / "study.fcs").string());
    ASSERT_TRUE(read);
    for (const char* name : {"a", "b"}) {
        const LuminanceMap map = map_of(std::string(name) + ".hdr");
        const BgrRaster picture = render_on_scale(map, read.value(), {});
        FigureOptions options{true, true, find_extrema(map)};
        const BgrRaster figure = read_png_raster(out / (std::string(name) + ".png"));
        EXPECT_GT(figure.width, map.width);
        EXPECT_EQ(figure.bgr, falsecolor_figure(picture, read.value(), options).bgr) << name;
    }
}

TEST_F(CliFalsecolorFolder, DrawsContourLinesOverTheToneMappedPicture) {
    const CliRun run = cli("falsecolor " + both() + " --out-dir " + out.str() + " --range 10,10000 --contours");
    ASSERT_EQ(run.status, 0) << run.err;
    const auto bmp = read_bmp_raster((out / "a.bmp").string());
    ASSERT_TRUE(bmp);
    FalsecolorScale scale;
    scale.bottom = 10, scale.top = 10000, scale.display = FalsecolorDisplay::contours;
    const LuminanceMap map = map_of("a.hdr");
    const auto levels = contour_levels(scale_positions(map, scale), map.width, map.height, 8);
    int lines = 0;
    for (int x = 0; x < map.width; ++x) {
        const uint8_t* p = bmp->at(x, 10);
        const int k = levels[static_cast<size_t>(10 * map.width + x)];
        if (k >= 0) {
            const Rgb8 c = level_colour(scale, k);
            EXPECT_TRUE(p[0] == c.b && p[1] == c.g && p[2] == c.r) << x;
            ++lines;
        } else {
            // The grey picture under the lines stays grey.
            EXPECT_TRUE(p[0] == p[1] && p[1] == p[2]) << x;
        }
    }
    // Steps of 3/8 decade over two decades: 10^1.375 … 10^2.875 (5 lines)
    // and 10 itself at the left edge.
    EXPECT_GE(lines, 5);
}

TEST_F(CliFalsecolorFolder, RefusesBeforeWritingAnything) {
    write_file(out / "b.png", "kept");
    const std::string dir = " --out-dir " + out.str();
    const std::pair<std::string, std::string> cases[] = {
        {"falsecolor " + both() + dir + " --png", "b.png exists already; give --overwrite"},
        {"falsecolor " + both() + " " + (pictures / "a.hdr").string() + dir, "two pictures are named a"},
        {"falsecolor " + both() + dir + " --range 1,10 --auto-scale", "give one of --scale, --range and --auto-scale"},
        {"falsecolor " + both() + " --legend", "--legend needs --out-dir DIR"},
        {"falsecolor " + both() + " --out-dir " + (out / "none").string(), "does not exist"},
        {"falsecolor " + both() + dir + " --scale " + (pictures / "a.hdr").string(), "not a falsecolor scale file"},
        {"falsecolor --out-dir " + out.str(), "too few words"},
    };
    const std::string before = folder_listing(out.path());
    for (const auto& [words, says] : cases) {
        SCOPED_TRACE(words);
        const CliRun run = cli(words);
        EXPECT_EQ(run.status, 2);
        EXPECT_THAT(run.err, HasSubstr(says));
        EXPECT_EQ(run.out, "");
    }
    EXPECT_EQ(folder_listing(out.path()), before);
}

}  // namespace
