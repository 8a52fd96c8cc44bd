// The table of every region of a file: its rows are the figures the single
// region's analysis gives, and its CSV says them to the digit.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "analysis/analyse_region.h"
#include "common/text_format.h"
#include "macro/macro_recorder.h"
#include "picture/rgbe_reader.h"
#include "regions/picture_regions.h"
#include "regions/region_table.h"
#include "support/formula_pictures.h"
#include "support/regions.h"
#include "support/scripted_desktop.h"
#include "support/temp_folder.h"
#include "tools/process_runner.h"

using ::testing::HasSubstr;

namespace {

class RegionTableTest : public ::testing::Test {
protected:
    void SetUp() override {
        runner.set_program_folder(CANDELUX_PROGRAMS_DIR);
        file.width = map.width;
        file.height = map.height;
        file.regions = {
            drawn_named_region("Task", "#ff0000", rectangle_region(10.7f, 5.2f, 20.2f, 9.9f), RegionKind::rectangle),
            drawn_named_region("Lamp, left", "#00ff00", circle_region(4, 30, 15), RegionKind::circle),
            drawn_named_region("Window", "#0000ff", polygon_region({{2, 20}, {12, 21}, {11, 28}, {3, 27}}),
                               RegionKind::polygon),
        };
    }
    StatisticsContext context() { return {map, cache.str(), runner, desktop, false}; }
    RegionTable table(const AnalysisSettings& settings, bool histograms) {
        StatisticsContext c = context();
        auto made = analyse_region_table(c, file, (cache / "r.regions.json").string(), {settings, histograms});
        EXPECT_TRUE(made) << made.failure().message;
        return made ? std::move(made).value() : RegionTable{};
    }

    TempFolder cache;
    ScriptedDesktop desktop;
    MacroRecorder recorder;
    ProcessRunner runner{desktop, recorder};
    LuminanceMap map = numbered_map(40, 30);
    RegionFile file;
};

AnalysisSettings percentiles_and_criterion() {
    AnalysisSettings settings;
    settings.percentile_enabled = true;
    settings.upper_percentile = 25;
    settings.lower_percentile = 10;
    settings.criterion_enabled = true;
    settings.criterion_kind = CriterionKind::greater_than;
    settings.criterion_threshold = 15000;
    return settings;
}

}  // namespace

TEST_F(RegionTableTest, EachRowHoldsTheFiguresOfItsRegionAnalysedAlone) {
    const AnalysisSettings settings = percentiles_and_criterion();
    const RegionTable rows = table(settings, true);
    ASSERT_EQ(rows.rows.size(), 3u);
    EXPECT_FALSE(rows.lens.has_view());  // no working copy: no view
    for (size_t i = 0; i < 3; ++i) {
        SCOPED_TRACE(file.regions[i].name);
        const RegionRow& row = rows.rows[i];
        EXPECT_EQ(row.name, file.regions[i].name);
        EXPECT_EQ(row.kind, file.regions[i].kind);
        EXPECT_TRUE(row.has_histogram);
        StatisticsContext c = context();
        AnalysisSettings record = settings;
        record.source = RegionSource::from_image;
        const RegionAttempt alone = analyse_region(
            c, rows.lens, {file.regions[i].geometry, file.regions[i].kind}, record, "/dmask_single.hdr");
        ASSERT_TRUE(alone.analysis);
        const RegionStatistics& a = alone.analysis->statistics;
        const RegionStatistics& r = row.analysis.statistics;
        EXPECT_GT(row.analysis.count(), 10);
        EXPECT_EQ(row.analysis.count(), alone.analysis->count());
        EXPECT_EQ(r.minimum, a.minimum);
        EXPECT_EQ(r.maximum, a.maximum);
        EXPECT_EQ(r.mean, a.mean);
        EXPECT_EQ(r.median, a.median);
        EXPECT_EQ(r.standard_deviation, a.standard_deviation);
        EXPECT_EQ(r.criterion_percentage, a.criterion_percentage);
        EXPECT_EQ(r.percentile_ratio, a.percentile_ratio);
        for (int bin = 0; bin < histogram_bins; ++bin)
            EXPECT_EQ(row.analysis.histogram[size_t(bin)].count, alone.analysis->histogram[size_t(bin)].count);
        EXPECT_TRUE(r.positions.empty());  // not kept
    }
    // The rectangle's figures by hand: rows 5 to 8, columns 10 to 18.
    EXPECT_EQ(rows.rows[0].analysis.count(), 36);
    EXPECT_EQ(rows.rows[0].analysis.statistics.minimum, 5011.0f);
    EXPECT_EQ(rows.rows[0].analysis.statistics.maximum, 8019.0f);
    EXPECT_EQ(rows.rows[0].analysis.statistics.mean, 6515.0f);
    EXPECT_TRUE(desktop.messages.empty());
}

TEST_F(RegionTableTest, WithoutHistogramsNoProgramRunsAndTheFiguresAreTheSame) {
    runner.set_program_folder((cache / "no-programs").string());
    runner.set_shell("/nonexistent/sh");  // any program run would fail
    const RegionTable quick = table(percentiles_and_criterion(), false);
    ASSERT_EQ(quick.rows.size(), 3u);
    EXPECT_FALSE(quick.rows[0].has_histogram);
    EXPECT_EQ(quick.rows[0].analysis.histogram[0].count, 0);
    EXPECT_EQ(quick.rows[0].analysis.statistics.mean, 6515.0f);
    EXPECT_TRUE(desktop.messages.empty());
    // The row's histogram made afterwards fails here, and says so.
    StatisticsContext c = context();
    auto row = analyse_region_row(c, quick, file, "r.json", 0);
    EXPECT_FALSE(row);
    EXPECT_FALSE(desktop.messages.empty());
}

TEST_F(RegionTableTest, ARowsHistogramCanBeMadeAfterwards) {
    const RegionTable quick = table({}, false);
    StatisticsContext c = context();
    auto row = analyse_region_row(c, quick, file, "r.json", 2);
    ASSERT_TRUE(row) << row.failure().message;
    EXPECT_EQ(row.value().statistics.mean, quick.rows[2].analysis.statistics.mean);
    float total = 0;
    for (const HistogramBin& bin : row.value().histogram) total += bin.count;
    EXPECT_EQ(total, static_cast<float>(quick.rows[2].analysis.count()));
    EXPECT_FALSE(analyse_region_row(c, quick, file, "r.json", 3));
}

TEST_F(RegionTableTest, TheCsvHasAHeaderAndOneRowPerRegionInTheShortestForm) {
    const RegionTable rows = table(percentiles_and_criterion(), false);
    const std::string csv = region_table_csv(rows);
    const std::string header =
        "name,kind,count,minimum,maximum,mean,median,standard_deviation,criterion_percentage,percentile_ratio,"
        "count_in_view,solid_angle_sr,weighted_mean,vertical_illuminance_lx,illuminance_share,ceiling_pixels\r\n";
    ASSERT_EQ(csv.rfind(header, 0), 0u) << csv;
    std::vector<std::string> lines;
    for (size_t at = 0; at < csv.size();) {
        const size_t end = csv.find("\r\n", at);
        ASSERT_NE(end, std::string::npos);
        lines.push_back(csv.substr(at, end - at));
        at = end + 2;
    }
    ASSERT_EQ(lines.size(), 4u);
    const RegionStatistics& s = rows.rows[0].analysis.statistics;
    EXPECT_EQ(lines[1], "Task,rectangle,36,5011,8019,6515," + format_shortest(s.median) + "," +
                            format_shortest(s.standard_deviation) + "," + format_shortest(s.criterion_percentage) +
                            "," + format_shortest(s.percentile_ratio) + ",,,,,,0");
    // A name holding a comma is quoted.
    EXPECT_EQ(lines[2].rfind("\"Lamp, left\",circle,", 0), 0u) << lines[2];
    EXPECT_EQ(regions_csv_name("/out/room"), "/out/room_regions.csv");

    TempFolder out;
    ASSERT_TRUE(write_region_table_csv((out / "room_regions.csv").string(), rows));
    EXPECT_EQ(read_file(out / "room_regions.csv"), csv);
}

TEST_F(RegionTableTest, AMaskThatCannotBeAppliedStopsTheTableAndNamesTheRegion) {
    file.regions.push_back(mask_named_region("Wall", "#ffffff", "wall.hdr"));
    StatisticsContext c = context();
    auto made = analyse_region_table(c, file, (cache / "r.regions.json").string(), {{}, false});
    ASSERT_FALSE(made);
    EXPECT_THAT(made.failure().message, HasSubstr("Region \"Wall\""));
}

TEST_F(RegionTableTest, APictureFileIsMeasuredInTheCallersFolderAndRefusalsCarryTheirCode) {
    TempFolder pictures;
    const std::string picture = (pictures / "room.hdr").string();
    ASSERT_TRUE(write_grey_picture(picture, 40, 30, [](int x, int y) { return float(x + 10 * y + 1); }));
    const LuminanceMap room = load_luminance_map(picture).value();
    // Drawn on a picture twice the size: scaled, and said so.
    RegionFile twice = file;
    twice.width = 80;
    twice.height = 60;
    for (NamedRegion& region : twice.regions) region = scaled_region(region, 2, 2);
    auto measured = measure_picture_regions(picture, room, twice, "r.json", cache.str(), runner, desktop, {{}, false});
    ASSERT_TRUE(measured) << measured.failure().message;
    EXPECT_THAT(measured.value().scaled_message, HasSubstr("scaled to this one's 40 x 30"));
    ASSERT_EQ(measured.value().table.rows.size(), 3u);
    EXPECT_EQ(measured.value().table.rows[0].analysis.count(), 36);
    EXPECT_TRUE(std::filesystem::exists(cache / "dtemp.hdr"));  // the working copy

    twice.regions.push_back(drawn_named_region("Beyond", "#ffffff", circle_region(10, 75, 30), RegionKind::circle));
    auto refused = measure_picture_regions(picture, room, twice, "r.json", cache.str(), runner, desktop, {{}, false});
    ASSERT_FALSE(refused);
    EXPECT_EQ(refused.failure().code, regions_refused);
    EXPECT_EQ(refused.failure().message, "Region \"Beyond\" reaches outside the picture (40 x 30 pixels)");
    EXPECT_EQ(picture_regions_csv_path(picture), (pictures / "room_regions.csv").string());
}
