// What the assembly reads: EXIF data of the simulated camera's JPEGs, TIFF
// pictures of 8 and 16 bits, and the header it writes.

#include <gtest/gtest.h>

#include <cmath>
#include <regex>

#include "assembly/assemble_series.h"
#include "assembly/series_exposures.h"
#include "assembly/series_picture.h"
#include "assembly/shot_exposure.h"
#include "assembly/simulated_series.h"
#include "support/test_pictures.h"
#include "common/text_format.h"
#include "picture/rgbe_reader.h"
#include "support/temp_folder.h"

namespace {

TEST(SimulatedCameraExif, GivesExposureDateCameraAndLens) {
    TempFolder folder;
    write_hdr_scene(folder / "scene.hdr");
    const auto pictures = photograph_series(folder / "scene.hdr", "srgb", folder / "series", {0x68, 0x5D});
    ASSERT_EQ(pictures.size(), 2u);
    auto first = read_shot_exposure(pictures[0]);
    ASSERT_TRUE(first.ok());
    EXPECT_DOUBLE_EQ(first.value().seconds, 1.0 / 64);
    EXPECT_DOUBLE_EQ(first.value().f_number, 8);
    EXPECT_DOUBLE_EQ(first.value().iso, 100);
    EXPECT_TRUE(std::regex_match(first.value().date_time, std::regex(R"(\d{4}:\d\d:\d\d \d\d:\d\d:\d\d)")))
        << first.value().date_time;
    EXPECT_EQ(first.value().camera, "Candelux Simulated Camera");
    EXPECT_EQ(first.value().lens, "Simulated Lens 24mm F2.8");
    EXPECT_TRUE(missing_exposure_tags(first.value()).empty());
    // Two thirds of a stop past 1/16 s: 2^-(4 + 2/3) s, written as a decimal fraction.
    auto third = read_shot_exposure(pictures[1]);
    ASSERT_TRUE(third.ok());
    EXPECT_NEAR(third.value().seconds, std::exp2(-(4 + 2.0 / 3)), 1e-8);
}

TEST(SeriesPictures, TiffOf8And16BitsAndGreyAreReadAsRgbRows) {
    TempFolder folder;
    const SampleCode code = [](int x, int y, int c) { return (x + 10 * y) * (c + 1); };
    write_test_tiff(folder / "a16.tif", 20, 6, 16, code);
    write_test_tiff(folder / "a8.tif", 20, 6, 8, code);
    for (const char* name : {"a16.tif", "a8.tif"}) {
        auto picture = open_series_picture((folder / name).string());
        ASSERT_TRUE(picture.ok()) << picture.failure().message;
        SeriesPicture& p = *picture.value();
        EXPECT_EQ(p.width(), 20);
        EXPECT_EQ(p.height(), 6);
        EXPECT_EQ(p.levels(), std::string(name) == "a16.tif" ? 65535 : 255);
        std::vector<uint16_t> rows(20 * 3 * 2);
        ASSERT_TRUE(p.read_rows(2, rows));
        EXPECT_EQ(rows[(1 * 20 + 7) * 3 + 2], (7 + 10) * 3);
    }
    auto reduced = read_reduced_picture((folder / "a16.tif").string());
    ASSERT_TRUE(reduced.ok());
    EXPECT_EQ(reduced.value().width, 5);
    EXPECT_EQ(reduced.value().height, 2);
    // The first cell: x 0..3, y 0..3, mean x + 10 y = 1.5 + 15 = 16.5 for red.
    EXPECT_EQ(reduced.value().rgb[0], 17);
}

// A linear 16-bit series (as a raw converter writes) two stops apart, with
// the times given and no EXIF: relative values, right up to one factor.
TEST(SeriesPictures, A16BitLinearSeriesAssemblesToRelativeValues) {
    TempFolder folder;
    const auto radiance = [](int x, int y) { return std::pow(10.0, 4.0 * (x + 97 * y) / (96.0 * 97 + 96)); };
    std::vector<std::string> pictures;
    std::vector<double> seconds;
    for (int j = 0; j < 5; ++j) {
        const double t = std::exp2(2.0 * j) / 2000;
        const std::string path = (folder / strprintf("p%d.tif", j)).string();
        write_test_tiff(path, 96, 96, 16, [&](int x, int y, int) {
            return static_cast<int>(std::lround(std::min(1.0, radiance(x, y) * t * 0.2) * 65535));
        });
        pictures.push_back(path);
        seconds.push_back(t);
    }
    auto exposures = read_series_exposures(pictures, seconds);
    ASSERT_TRUE(exposures.ok()) << exposures.failure().message;
    const std::string output = (folder / "out.hdr").string();
    auto report = assemble_series({pictures, exposures.value(), std::nullopt, 12.5}, output);
    ASSERT_TRUE(report.ok()) << report.failure().message;
    EXPECT_FALSE(report.value().absolute);
    auto map = load_luminance_map(output);
    ASSERT_TRUE(map.ok());
    const double factor = map.value().at(48, 48) / radiance(48, 48);
    int off = 0;
    for (int y = 0; y < 96; ++y)
        for (int x = 0; x < 96; ++x) off += std::abs(map.value().at(x, y) / (factor * radiance(x, y)) - 1) > 0.03;
    EXPECT_LT(off, 96 * 96 / 50);
    const std::string text = read_file(output);
    EXPECT_NE(text.find("CALIBRATION= none: relative values (no f-number or ISO speed)\n"), std::string::npos);
    EXPECT_EQ(text.find("EXPOSURE="), std::string::npos);
}

TEST(AssembledHeader, NamesItsSourcesScaleAndSaturatedPixels) {
    TempFolder folder;
    write_hdr_scene(folder / "scene.hdr");
    const auto pictures =
        photograph_series(folder / "scene.hdr", "srgb", folder / "series", {0x88, 0x78, 0x68, 0x58, 0x48});
    auto exposures = read_series_exposures(pictures, std::nullopt);
    ASSERT_TRUE(exposures.ok());
    const std::string output = (folder / "out.hdr").string();
    auto report = assemble_series({pictures, exposures.value(), std::nullopt, 12.5}, output);
    ASSERT_TRUE(report.ok()) << report.failure().message;
    const std::string text = read_file(output);
    const std::string header = text.substr(0, text.find("\n\n"));
    EXPECT_TRUE(std::regex_search(header, std::regex("\nCAPDATE= \\d{4}:\\d\\d:\\d\\d \\d\\d:\\d\\d:\\d\\d\n")));
    EXPECT_NE(header.find("\nCAMERA= Candelux Simulated Camera\n"), std::string::npos);
    EXPECT_NE(header.find("\nLENS= Simulated Lens 24mm F2.8\n"), std::string::npos);
    EXPECT_NE(header.find("\nSERIES= " + std::filesystem::path(pictures[0]).filename().string() +
                          " 1/1024 s f/8 ISO 100\n"),
              std::string::npos);
    EXPECT_NE(header.find("\nCALIBRATION= reflected-light meter K 12.5: L = K*N^2/(t*S) * signal/0.18 (mid-grey "
                          "18%)\n"),
              std::string::npos);
    const std::string saturated = "SATURATED= " + std::to_string(report.value().saturated) + " ";
    EXPECT_NE(header.find("\n" + saturated), std::string::npos);
    EXPECT_GT(report.value().saturated, 0u);
    EXPECT_NEAR(report.value().saturated_share, 100.0 * report.value().saturated / (360 * 240), 1e-9);
    // EXPOSURE: 179 * 0.18 * the middle exposure (1/64 s at f/8, ISO 100) / 12.5.
    std::smatch exposure;
    ASSERT_TRUE(std::regex_search(header, exposure, std::regex("\nEXPOSURE=([0-9.e+-]+)\n")));
    EXPECT_NEAR(std::stod(exposure[1].str()), 179 * 0.18 * (100.0 / 64 / 64) / 12.5, 1e-6);
    auto map = load_luminance_map(output);
    ASSERT_TRUE(map.ok());
}

}  // namespace
