// Reading candelux-cli's command lines into options.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <limits>

#include "cli/cli_arguments.h"
#include "cli/statistics_json.h"

namespace {

template <class Options>
Options parsed(const std::vector<std::string>& words) {
    auto result = parse_cli_arguments(words);
    EXPECT_TRUE(result.ok()) << (result.ok() ? "" : result.failure().message);
    const Options* options = result.ok() ? std::get_if<Options>(&result.value()) : nullptr;
    EXPECT_NE(options, nullptr);
    return options ? *options : Options{};
}

}  // namespace

TEST(CliArguments, RegionsBeforeRegionBAreRegionAsAndAfterItRegionBs) {
    const auto options = parsed<StatsOptions>(
        {"stats", "--circle", "5,50.5,60", "p.hdr", "--region-b", "--polygon", "1,2;3,4;5,6;7,8", "--json"});
    EXPECT_EQ(options.picture, "p.hdr");
    EXPECT_EQ(options.region.tool, RegionKind::circle);
    EXPECT_EQ(options.region.geometry.radius, 5.0f);
    EXPECT_EQ(options.region.geometry.centre_x, 50.5f);
    EXPECT_EQ(options.region.geometry.centre_y, 60.0f);
    ASSERT_TRUE(options.region_b);
    EXPECT_EQ(options.region_b->tool, RegionKind::polygon);
    ASSERT_EQ(options.region_b->geometry.vertex_count, 4);
    EXPECT_EQ(options.region_b->geometry.vertices[3].x, 7.0f);
    EXPECT_EQ(options.region_b->geometry.vertices[3].y, 8.0f);
    EXPECT_TRUE(options.json);
}

TEST(CliArguments, NoRegionMeansTheWholePictureAndAMaskKeepsItsType) {
    EXPECT_EQ(parsed<StatsOptions>({"stats", "p.hdr"}).region.source, RegionChoice::Source::whole_picture);
    const auto masked = parsed<StatsOptions>({"stats", "p.hdr", "--mask", "/m/Mask.TIF"});
    EXPECT_EQ(masked.region.source, RegionChoice::Source::mask_file);
    EXPECT_EQ(masked.region.mask_type, 4);
    EXPECT_EQ(mask_type_of("m.bmp"), 3);
    EXPECT_EQ(mask_type_of("m.PIC"), 2);
    EXPECT_EQ(mask_type_of("dir.hdr/m"), 0);
}

TEST(CliArguments, PercentilesCriterionAndReportAreKeptAsGiven) {
    const auto options = parsed<StatsOptions>(
        {"stats", "p.hdr", "--percentile", "10,20", "--criterion", "equal,2000", "--report", "out/r.csv"});
    EXPECT_EQ(options.upper_percentile, 10.0f);
    EXPECT_EQ(options.lower_percentile, 20.0f);
    EXPECT_EQ(options.criterion_kind, CriterionKind::equal_to);
    EXPECT_EQ(options.criterion_threshold, 2000.0f);
    EXPECT_EQ(options.report_base, "out/r.csv");
}

TEST(CliArguments, FalsecolorKeepsTheRangeAsTypedAndBatchItsChoices) {
    const auto falsecolor = parsed<FalsecolorOptions>({"falsecolor", "p.hdr", "o", "--range", "1e3,0.5"});
    EXPECT_EQ(falsecolor.bottom_text, "1e3");
    EXPECT_EQ(falsecolor.top_text, "0.5");
    const auto batch = parsed<BatchOptions>(
        {"batch", "s.seq", "pics", "--jobs", "3", "--overwrite", "--picture", "a.hdr", "--cache-folder", "/c"});
    EXPECT_EQ(batch.jobs, 3);
    EXPECT_TRUE(batch.overwrite);
    EXPECT_FALSE(batch.emit_jobs);
    EXPECT_EQ(batch.picture, "a.hdr");
    EXPECT_EQ(batch.cache_folder, "/c");
    EXPECT_EQ(parsed<LuminanceOptions>({"luminance", "p.hdr", "7", "0"}).x, 7);
}

TEST(CliArguments, HelpWinsOverEverythingElseOfItsCommand) {
    EXPECT_EQ(parsed<HelpRequest>({"stats", "--rect", "x", "--help"}).command, "stats");
    EXPECT_EQ(parsed<HelpRequest>({}).command, "");
    EXPECT_EQ(parsed<HelpRequest>({"help", "batch"}).command, "batch");
}

TEST(StatisticsJson, NumbersReadBackToTheSameFloatAndNonFiniteOnesAreNull) {
    for (float value : {0.1f, 1.0f / 3.0f, 123456.79f, 1e-7f, 9000000.0f, 3.4e38f}) {
        const std::string text = json_number(value);
        EXPECT_EQ(std::strtof(text.c_str(), nullptr), value) << text;
    }
    EXPECT_EQ(json_number(0.1f), "0.1");
    EXPECT_EQ(json_number(std::numeric_limits<float>::infinity()), "null");
    EXPECT_EQ(json_number(std::numeric_limits<float>::quiet_NaN()), "null");
}
