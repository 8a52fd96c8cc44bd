// <base>_geometry.csv beside the three reports, which stay as they were.

#include <gtest/gtest.h>

#include <filesystem>

#include "analysis/lens_report.h"
#include "common/text_format.h"
#include "support/scripted_desktop.h"
#include "support/temp_folder.h"

namespace fs = std::filesystem;

namespace {

// A 4 × 4 angular fisheye of 90° with a bright 2 × 2 patch, analysed whole.
struct Analysed {
    LuminanceMap map;
    PictureLens lens;
    RegionAnalysis region;
    AnalysisSettings main;
    Region geometry;

    Analysed() {
        map.width = map.height = 4;
        map.data.assign(16, 10.0f);
        for (size_t p : {5u, 6u, 9u, 10u}) map.data[p] = 500.0f;
        lens = picture_lens(map, {"VIEW= -vta -vh 90 -vv 90"});
        for (uint32_t y = 0; y < 4; ++y)
            for (uint32_t x = 0; x < 4; ++x) {
                region.statistics.samples.push_back(map.at(int32_t(x), int32_t(y)));
                region.statistics.positions.push_back({x, y});
            }
        region.statistics.mean = 132.5f;
        region.statistics.maximum = 500;
        region.statistics.minimum = 10;
        region.lens = lens_figures(lens, region.statistics.samples, region.statistics.positions, 4);
        main.kind = AnalysisKind::single_region;
        main.general_statistics = true;
        main.percentile_enabled = true;
        main.upper_percentile = 10;
        main.lower_percentile = 20;
        geometry.x0 = geometry.y0 = 0;
        geometry.x1 = geometry.y1 = 4;
    }
};

}  // namespace

TEST(GeometryReport, ListsThePictureTheSettingsAndEachRegionsLensFigures) {
    const Analysed a;
    const ReportInput input{a.main, {a.geometry, a.region}, {a.geometry, {}}, {a.geometry, {}}, &a.lens, "/p/room,1.hdr"};
    const std::string text = geometry_report_text(input);
    const LensFigures& f = a.region.lens;
    ASSERT_TRUE(f.has_view);
    EXPECT_EQ(f.count_in_view, 16);  // the rim cuts the corner pixels: they hold part of the circle
    EXPECT_EQ(f.ceiling_pixels, 4);
    const std::string expected =
        "PICTURE,\"/p/room,1.hdr\"\r\n"
        "VIEW,-vta -vp 0 0 0 -vd 0 1 0 -vu 0 0 1 -vh 90 -vv 90 -vo 0 -va 0 -vs 0 -vl 0\r\n"
        "WEIGHTING,none\r\n"
        "PERCENTILE,10.000000,20.000000\r\n"
        "CRITERION,off\r\n"
        "PIXELS IN VIEW,16\r\n" +
        strprintf("VERTICAL ILLUMINANCE (lx),%f\r\n", a.lens.vertical_illuminance) +
        "HEMISPHERICAL ILLUMINANCE (lx),\r\n"
        "CLIPPED PIXELS,4,25.000000\r\n"
        "REGION,PIXELS SAMPLED,PIXELS IN VIEW,SOLID ANGLE (sr),WEIGHTED MEAN (cd/m2),ILLUMINANCE (lx),ILLUMINANCE "
        "SHARE,CLIPPED PIXELS\r\n" +
        strprintf("Region,16,16,%f,%f,%f,1.000000,4\r\n", f.solid_angle, f.weighted_mean, f.vertical_illuminance);
    EXPECT_EQ(text, expected);

    // Without a view the lens figures are empty fields; the clipped patch is
    // still counted.
    Analysed flat;
    flat.lens = picture_lens(flat.map, {});
    flat.region.lens = lens_figures(flat.lens, flat.region.statistics.samples, flat.region.statistics.positions, 4);
    flat.main.kind = AnalysisKind::multiple_regions;
    flat.main.weight_by_solid_angle = true;
    const std::string two = geometry_report_text(
        {flat.main, {flat.geometry, {}}, {flat.geometry, flat.region}, {flat.geometry, flat.region}, &flat.lens, "x"});
    EXPECT_NE(two.find("VIEW,none\r\nWEIGHTING,solid angle\r\nPERCENTILE,off\r\n"), std::string::npos) << two;
    EXPECT_NE(two.find("VERTICAL ILLUMINANCE (lx),\r\n"), std::string::npos);
    EXPECT_NE(two.find("Region A,16,,,,,,4\r\nRegion B,16,,,,,,4\r\n"), std::string::npos) << two;
}

TEST(GeometryReport, TheThreeReportsStayByteForByte) {
    const Analysed a;
    TempFolder folder;
    ScriptedDesktop desktop;
    ASSERT_TRUE(write_statistics_reports(desktop, folder.str() + "/", "plain",
                                         {a.main, {a.geometry, a.region}, {a.geometry, {}}, {a.geometry, {}}, nullptr, {}}));
    ASSERT_TRUE(write_statistics_reports(desktop, folder.str() + "/", "lens",
                                         {a.main, {a.geometry, a.region}, {a.geometry, {}}, {a.geometry, {}}, &a.lens, "p"}));
    for (const char* file : {"_stats.csv", "_hist.csv", "_region.csv"}) {
        const std::string plain = read_file(folder / ("plain" + std::string(file)));
        EXPECT_FALSE(plain.empty());
        EXPECT_EQ(read_file(folder / ("lens" + std::string(file))), plain) << file;
    }
    EXPECT_FALSE(fs::exists(folder / "plain_geometry.csv"));
    EXPECT_EQ(read_file(folder / "lens_geometry.csv"),
              geometry_report_text({a.main, {a.geometry, a.region}, {a.geometry, {}}, {a.geometry, {}}, &a.lens, "p"}));
    EXPECT_TRUE(desktop.messages.empty());
}
