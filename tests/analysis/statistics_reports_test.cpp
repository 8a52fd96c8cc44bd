// The three CSV reports: exact lines, CR LF, the region types, the padded
// two-region table, the base-name rule and a file that cannot be written.

#include <gtest/gtest.h>

#include <filesystem>

#include "analysis/statistics_reports.h"
#include "common/text_file.h"
#include "support/regions.h"
#include "support/scripted_desktop.h"
#include "support/temp_folder.h"

namespace {

namespace fs = std::filesystem;

RegionAnalysis analysis_with(int samples) {
    RegionAnalysis r;
    RegionStatistics& s = r.statistics;
    s.minimum = 1.5f;
    s.maximum = 2000.0f;
    s.mean = 100.25f;
    s.median = 50.125f;
    s.standard_deviation = 12.0f;
    s.criterion_percentage = 12.5f;
    s.percentile_ratio = 3.75f;
    for (int i = 0; i < samples; ++i) {
        s.samples.push_back(10.0f + static_cast<float>(i));
        s.positions.push_back({static_cast<uint32_t>(i), static_cast<uint32_t>(2 * i)});
    }
    for (int i = 0; i < histogram_bins; ++i)
        r.histogram[static_cast<size_t>(i)] = {static_cast<float>(i % 5), -1.0f + 0.01f * static_cast<float>(i)};
    r.peak = 4;
    return r;
}

class Reports : public ::testing::Test {
protected:
    AnalysisSettings main_settings(AnalysisKind kind) {
        AnalysisSettings s;
        s.kind = kind;
        s.general_statistics = true;
        return s;
    }
    bool write(const AnalysisSettings& main, const Region& single_geometry, const RegionAnalysis& single,
               const Region& a_geometry = {}, const RegionAnalysis& a = {}, const Region& b_geometry = {},
               const RegionAnalysis& b = {}) {
        const ReportInput input{main, {single_geometry, single}, {a_geometry, a}, {b_geometry, b}, nullptr, {}};
        return write_statistics_reports(desktop, folder.str() + "/", "room", input);
    }
    std::vector<std::string> lines(const std::string& file) { return *read_text_lines(folder / file); }

    TempFolder folder;
    ScriptedDesktop desktop;
};

TEST_F(Reports, ASingleRegionWithoutOptionsHasASevenLineStatisticsFile) {
    ASSERT_TRUE(write(main_settings(AnalysisKind::single_region), rectangle_region(10.7f, 5.2f, 20.2f, 9.9f),
                      analysis_with(3)));
    EXPECT_EQ(read_file(folder / "room_stats.csv"),
              "SINGLE REGION OF INTEREST\r\n"
              "TYPE,Rectangle\r\n"
              "MIN,1.500000\r\n"
              "MAX,2000.000000\r\n"
              "MEAN,100.250000\r\n"
              "MEDIAN,50.125000\r\n"
              "STANDARD_DEVIATION,12.000000\r\n");
    EXPECT_TRUE(desktop.messages.empty());
}

TEST_F(Reports, PercentileAndCriterionAddTheirLines) {
    AnalysisSettings main = main_settings(AnalysisKind::single_region);
    main.percentile_enabled = true;
    main.criterion_enabled = true;
    ASSERT_TRUE(write(main, circle_region(3, 10, 10), analysis_with(3)));
    const auto stats = lines("room_stats.csv");
    ASSERT_EQ(stats.size(), 9u);
    EXPECT_EQ(stats[1], "TYPE,Circle");
    EXPECT_EQ(stats[7], "PERCENTILE_RATIO,3.750000");
    EXPECT_EQ(stats[8], "CRITERIA,12.500000%");
}

TEST_F(Reports, TheHistogramFileListsEveryBin) {
    ASSERT_TRUE(write(main_settings(AnalysisKind::single_region), Region{}, analysis_with(1)));
    const auto hist = lines("room_hist.csv");
    ASSERT_EQ(hist.size(), 258u);
    EXPECT_EQ(hist[0], "HISTOGRAM");
    EXPECT_EQ(hist[1], "BIN_NO,LUMINANCE_RANGE,COUNT");
    EXPECT_EQ(hist[2], "0,-1.000000,0.000000");
    EXPECT_EQ(hist[9], "7,-0.930000,2.000000");
    EXPECT_EQ(hist[257], "255,1.550000,0.000000");
}

TEST_F(Reports, TheRegionFileGivesTheGeometryAndEverySampleInScanOrder) {
    ASSERT_TRUE(write(main_settings(AnalysisKind::single_region), rectangle_region(20.2f, 9.9f, 10.7f, 5.2f),
                      analysis_with(3)));
    EXPECT_EQ(read_file(folder / "room_region.csv"),
              "REGION\r\n"
              "TYPE,Rectangle=left(20);top(9);right(10);bottom(5)\r\n"
              "X-COORDINATE,Y-COORDINATE,LUMINANCE_VALUE\r\n"
              "0,0,10.000000\r\n"
              "1,2,11.000000\r\n"
              "2,4,12.000000\r\n");
    ASSERT_TRUE(
        write(main_settings(AnalysisKind::single_region), circle_region(12.9f, 100.5f, 80.99f), analysis_with(0)));
    EXPECT_EQ(lines("room_region.csv")[1], "TYPE,Circle=radius(12px);center(100 80)");
}

TEST_F(Reports, AFiveVertexPolygonListsItsPointsOnOneLine) {
    Region polygon;
    const PointF points[] = {{1.5f, 2.5f}, {10, 2}, {12.9f, 8.1f}, {6, 12}, {0.2f, 7}};
    for (PointF p : points) polygon.vertices[static_cast<size_t>(polygon.vertex_count++)] = p;
    ASSERT_TRUE(write(main_settings(AnalysisKind::single_region), polygon, analysis_with(1)));
    EXPECT_EQ(lines("room_stats.csv")[1], "TYPE,Polygon");
    const auto region = lines("room_region.csv");
    EXPECT_EQ(region[1], "TYPE,Polygon=NumVertices(5)");
    EXPECT_EQ(region[2], "POINTS=(1 2)POINTS=(10 2)POINTS=(12 8)POINTS=(6 12)POINTS=(0 7)");
    EXPECT_EQ(region[3], "X-COORDINATE,Y-COORDINATE,LUMINANCE_VALUE");
}

TEST_F(Reports, AMaskRegionIsUnknownButItsSamplesAreListed) {
    ASSERT_TRUE(write(main_settings(AnalysisKind::single_region), Region{}, analysis_with(2)));
    EXPECT_EQ(lines("room_stats.csv")[1], "TYPE,Unknown");
    const auto region = lines("room_region.csv");
    ASSERT_EQ(region.size(), 5u);
    EXPECT_EQ(region[1], "TYPE,Unknown");
    EXPECT_EQ(region[4], "1,2,11.000000");
}

TEST_F(Reports, TwoRegionsWriteSideBySideFiles) {
    AnalysisSettings main = main_settings(AnalysisKind::multiple_regions);
    main.percentile_enabled = true;  // "Contrast"
    RegionAnalysis a = analysis_with(3), b = analysis_with(5);
    a.statistics.mean = 50;
    b.statistics.mean = 200;
    b.statistics.minimum = 0.25f;
    ASSERT_TRUE(write(main, Region{}, {}, rectangle_region(1, 2, 30, 40), a, circle_region(5.5f, 20.7f, 30.2f), b));
    EXPECT_EQ(read_file(folder / "room_stats.csv"),
              "MULTIPLE REGION OF INTEREST\r\n"
              "TYPE-A,Rectangle\r\n"
              "TYPE-B,Circle\r\n"
              ",REGION-A,REGION-B\r\n"
              "MIN,1.500000,0.250000\r\n"
              "MAX,2000.000000,2000.000000\r\n"
              "MEAN,50.000000,200.000000\r\n"
              "MEDIAN,50.125000,50.125000\r\n"
              "STANDARD_DEVIATION,12.000000,12.000000\r\n"
              "CONTRAST_RATIO,0.750000\r\n");
    const auto hist = lines("room_hist.csv");
    EXPECT_EQ(hist[1], "BIN_NO,LUMINANCE_RANGE-A,COUNT-A,LUMINANCE_RANGE-B,COUNT-B");
    EXPECT_EQ(hist[3], "1,-0.990000,1.000000,-0.990000,1.000000");
    EXPECT_EQ(hist.size(), 258u);
}

TEST_F(Reports, TheTwoRegionSampleTableIsAsLongAsTheLongerRegion) {
    const AnalysisSettings main = main_settings(AnalysisKind::multiple_regions);
    ASSERT_TRUE(write(main, Region{}, {}, rectangle_region(1, 2, 30, 40), analysis_with(3),
                      circle_region(5.5f, 20.7f, 30.2f), analysis_with(5)));
    EXPECT_EQ(lines("room_stats.csv").size(), 9u);  // no contrast line
    EXPECT_EQ(read_file(folder / "room_region.csv"),
              "REGION-A\r\n"
              "TYPE,Rectangle=left(1);top(2);right(30);bottom(40)\r\n"
              "REGION-B\r\n"
              "TYPE,Circle=radius(5px),center(20,30)\r\n"
              "REGION-A,,,REGION-B\r\n"
              "X-COORDINATE,Y-COORDINATE,LUMINANCE_VALUE,X-COORDINATE,Y-COORDINATE,LUMINANCE_VALUE\r\n"
              "0,0,10.000000,0,0,10.000000\r\n"
              "1,2,11.000000,1,2,11.000000\r\n"
              "2,4,12.000000,2,4,12.000000\r\n"
              ",,,3,6,13.000000\r\n"
              ",,,4,8,14.000000\r\n");
    // The other way round, Region B's side is padded.
    ASSERT_TRUE(write(main, Region{}, {}, Region{}, analysis_with(2), Region{}, analysis_with(1)));
    EXPECT_EQ(lines("room_region.csv").back(), "1,2,11.000000,,,");
}

TEST_F(Reports, SavingAgainReplacesAllThreeFiles) {
    ASSERT_TRUE(write(main_settings(AnalysisKind::single_region), rectangle_region(0, 0, 9, 9), analysis_with(4)));
    ASSERT_TRUE(write(main_settings(AnalysisKind::single_region), circle_region(2, 5, 5), analysis_with(1)));
    EXPECT_EQ(lines("room_stats.csv")[1], "TYPE,Circle");
    EXPECT_EQ(lines("room_region.csv").size(), 4u);
    EXPECT_EQ(lines("room_hist.csv").size(), 258u);
}

TEST_F(Reports, NothingIsWrittenWithoutGeneralStatisticsOrForOtherKinds) {
    AnalysisSettings main = main_settings(AnalysisKind::single_region);
    main.general_statistics = false;
    EXPECT_FALSE(write(main, Region{}, analysis_with(1)));
    EXPECT_FALSE(write(main_settings(AnalysisKind::glare), Region{}, analysis_with(1)));
    EXPECT_TRUE(fs::is_empty(folder.path()));
}

TEST_F(Reports, AFileThatCannotBeWrittenStopsTheWriterAndIsNamed) {
    fs::create_directory(folder / "room_hist.csv");  // a folder where the file should go
    EXPECT_FALSE(write(main_settings(AnalysisKind::single_region), Region{}, analysis_with(1)));
    ASSERT_EQ(desktop.messages.size(), 1u);
    EXPECT_EQ(desktop.messages[0].text, "Could not access file " + folder.str() + "/room_hist.csv");
    EXPECT_EQ(desktop.messages[0].caption, "File IO Error!");
    EXPECT_EQ(desktop.messages[0].owner, Owner::none);
    EXPECT_TRUE(fs::exists(folder / "room_stats.csv"));
    EXPECT_FALSE(fs::exists(folder / "room_region.csv"));
}

TEST_F(Reports, AFullDiskIsAFailureToo) {
    if (!fs::exists("/dev/full")) GTEST_SKIP() << "no /dev/full here";
    const ReportInput input{main_settings(AnalysisKind::single_region), {Region{}, analysis_with(1)}, {Region{}, {}},
                            {Region{}, {}}, nullptr, {}};
    // "/dev/" + "full" + "_stats.csv" does not exist; name the device itself.
    fs::create_symlink("/dev/full", folder / "disk_stats.csv");
    EXPECT_FALSE(write_statistics_reports(desktop, folder.str() + "/", "disk", input));
    ASSERT_EQ(desktop.messages.size(), 1u);
    EXPECT_EQ(desktop.messages[0].text, "Could not access file " + folder.str() + "/disk_stats.csv");
}

TEST(ReportName, TheFolderKeepsItsSeparatorAndACsvEndingIsCut) {
    const ReportName name = report_name("/home/u/results/office.csv");
    EXPECT_EQ(name.folder, "/home/u/results/");
    EXPECT_EQ(name.base, "office");
    EXPECT_EQ(report_name("/data/office").base, "office");
    EXPECT_EQ(report_name("/data/office.CSV").base, "office");
    EXPECT_EQ(report_name("/data/office.v2.txt").base, "office.v2.txt");
    EXPECT_EQ(report_name("/data/a.b.csv").base, "a.b");
    EXPECT_EQ(report_paths("/d/", "x"),
              (std::vector<std::string>{"/d/x_stats.csv", "/d/x_hist.csv", "/d/x_region.csv", "/d/x_geometry.csv"}));
}

TEST(ReportRegionType, DecidedByTheGeometryInOrder) {
    EXPECT_EQ(report_region_type(rectangle_region(1, 1, 2, 2)), ReportRegionType::rectangle);
    EXPECT_EQ(report_region_type(rectangle_region(1, 1, 1, 2)), ReportRegionType::unknown);
    EXPECT_EQ(report_region_type(circle_region(1, 5, 5)), ReportRegionType::circle);
    Region three;
    three.vertex_count = 3;
    EXPECT_EQ(report_region_type(three), ReportRegionType::unknown);
    three.vertex_count = 4;
    EXPECT_EQ(report_region_type(three), ReportRegionType::polygon);
}

}  // namespace
