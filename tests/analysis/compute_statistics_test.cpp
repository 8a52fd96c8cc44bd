// One region's statistics end to end: samples, figures, the sample file and
// the histogram from our rcalc | histo; mean-only mode and the failures.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>

#include "analysis/compute_statistics.h"
#include "macro/macro_recorder.h"
#include "support/regions.h"
#include "support/scripted_desktop.h"
#include "support/temp_folder.h"
#include "tools/process_runner.h"

namespace {

namespace fs = std::filesystem;

// Writes an executable shell script.
void write_program(const fs::path& path, const std::string& body) {
    write_file(path, "#!/bin/sh\n" + body);
    fs::permissions(path, fs::perms::owner_all);
}

class ComputeStatistics : public ::testing::Test {
protected:
    void SetUp() override { runner.set_program_folder(CANDELUX_PROGRAMS_DIR); }
    RegionAnalysis compute(const Region& region, RegionKind tool, const AnalysisSettings& settings = {},
                           bool mean_only = false) {
        StatisticsContext context{map, cache.str(), runner, desktop, mean_only};
        return compute_region_statistics(context, region, tool, settings);
    }
    std::string pvalues() const { return read_file(cache / "pvalues"); }

    TempFolder cache;
    ScriptedDesktop desktop;
    MacroRecorder recorder;
    ProcessRunner runner{desktop, recorder};
    LuminanceMap map = numbered_map(40, 30);
};

TEST_F(ComputeStatistics, ARectangleGivesItsFiguresSamplesAndHistogram) {
    AnalysisSettings settings;
    settings.criterion_enabled = true;
    settings.criterion_kind = CriterionKind::greater_than;
    settings.criterion_threshold = 7000;
    settings.percentile_enabled = true;
    settings.upper_percentile = 25;
    settings.lower_percentile = 25;
    const RegionAnalysis result = compute(rectangle_region(10.7f, 5.2f, 20.2f, 9.9f), RegionKind::rectangle, settings);
    const RegionStatistics& s = result.statistics;
    ASSERT_EQ(result.count(), 36);
    EXPECT_EQ(s.minimum, 5011.0f);
    EXPECT_EQ(s.maximum, 8019.0f);
    EXPECT_EQ(s.mean, 6515.0f);
    EXPECT_EQ(s.median, (6019.0f + 7011.0f) / 2.0f);
    EXPECT_FLOAT_EQ(s.standard_deviation, std::sqrt(1e6f * 1.25f + 20.0f / 3.0f));
    EXPECT_EQ(s.criterion_percentage, 50.0f);  // rows 7 and 8 of four
    EXPECT_FLOAT_EQ(s.percentile_ratio, (8011.0f + 8012 + 8013 + 8014 + 8015 + 8016 + 8017 + 8018 + 8019) /
                                            (5011.0f + 5012 + 5013 + 5014 + 5015 + 5016 + 5017 + 5018 + 5019));
    EXPECT_EQ(s.contrast, 0.0f);
    EXPECT_EQ(s.positions.size(), 36u);
    EXPECT_EQ(s.samples.front(), 5011.0f);  // scan order, not sorted
    EXPECT_EQ(s.samples[9], 6011.0f);

    float total = 0;
    for (const HistogramBin& bin : result.histogram) total += bin.count;
    EXPECT_EQ(total, 36.0f);
    EXPECT_EQ(result.peak, histogram_peak(result.histogram));
    EXPECT_GT(result.peak, 0.0f);
    // The bins span log10 of the minimum and maximum, a hundredth beyond.
    EXPECT_NEAR(result.histogram[0].centre, std::log10(5011.0) - 0.01, 0.01);
    EXPECT_NEAR(result.histogram[255].centre, std::log10(8019.0) + 0.01, 0.01);

    const std::string text = pvalues();
    EXPECT_EQ(text.substr(0, 24), "5011.000000\n5012.000000\n");
    EXPECT_EQ(text.find('\r'), std::string::npos);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 36);
    EXPECT_TRUE(desktop.messages.empty());
    EXPECT_EQ(desktop.progress_shows, 1);
    EXPECT_FALSE(desktop.progress_shown());
}

TEST_F(ComputeStatistics, CriterionAndPercentilesOffGiveZeroAndOne) {
    const RegionAnalysis result = compute(rectangle_region(0, 0, 5, 5), RegionKind::rectangle);
    EXPECT_EQ(result.statistics.criterion_percentage, 0.0f);
    EXPECT_EQ(result.statistics.percentile_ratio, 1.0f);
}

TEST_F(ComputeStatistics, ABlackRegionGivesNothingAtAllSilently) {
    std::fill(map.data.begin(), map.data.end(), 0.0f);
    write_file(cache / "pvalues", "earlier\n");
    const RegionAnalysis result = compute(rectangle_region(2, 2, 9, 9), RegionKind::rectangle);
    EXPECT_EQ(result.count(), 0);
    EXPECT_TRUE(result.statistics.samples.empty());
    EXPECT_TRUE(result.statistics.positions.empty());
    EXPECT_EQ(result.statistics.mean, 0.0f);
    EXPECT_EQ(result.peak, 0.0f);
    EXPECT_EQ(pvalues(), "earlier\n");
    EXPECT_TRUE(desktop.messages.empty());
    EXPECT_EQ(desktop.progress_shows, 0);
}

TEST_F(ComputeStatistics, MeanOnlyModeTouchesNeitherSampleFileNorHistogram) {
    write_file(cache / "pvalues", "earlier\n");
    AnalysisSettings settings;
    settings.criterion_enabled = true;
    settings.criterion_threshold = 1;
    const RegionAnalysis result = compute(rectangle_region(0, 0, 2, 1), RegionKind::rectangle, settings, true);
    EXPECT_EQ(result.statistics.mean, 1.5f);
    EXPECT_EQ(result.statistics.minimum, 0.0f);
    EXPECT_EQ(result.statistics.criterion_percentage, 0.0f);
    EXPECT_TRUE(result.statistics.samples.empty());
    EXPECT_EQ(result.count(), 0);
    EXPECT_EQ(result.peak, 0.0f);
    EXPECT_EQ(pvalues(), "earlier\n");
    EXPECT_EQ(desktop.progress_shows, 0);
}

TEST_F(ComputeStatistics, ASampleFileThatCannotBeWrittenIsShownAndGivesNothing) {
    StatisticsContext context{map, (cache / "missing").string(), runner, desktop, false};
    const RegionAnalysis result =
        compute_region_statistics(context, rectangle_region(0, 0, 4, 4), RegionKind::rectangle, {});
    EXPECT_EQ(result.count(), 0);
    EXPECT_EQ(result.statistics.mean, 0.0f);
    ASSERT_EQ(desktop.messages.size(), 1u);
    EXPECT_EQ(desktop.messages[0].text, "Failed to initialize header file");
    EXPECT_EQ(desktop.messages[0].caption, "File IO Error!");
    EXPECT_EQ(desktop.messages[0].icon, MessageIcon::warning);
    EXPECT_EQ(desktop.messages[0].owner, Owner::none);
}

TEST_F(ComputeStatistics, OutputThatIsNoHistogramIsShownAsAProgramError) {
    TempFolder programs;
    write_program(programs / "rcalc", "cat >/dev/null\n");
    write_program(programs / "histo", "cat >/dev/null\necho 'histo: something went wrong'\n");
    runner.set_program_folder(programs.str());
    const RegionAnalysis result = compute(rectangle_region(0, 0, 4, 4), RegionKind::rectangle);
    EXPECT_EQ(result.count(), 0);
    EXPECT_EQ(result.statistics.maximum, 0.0f);
    EXPECT_EQ(result.peak, 0.0f);
    ASSERT_EQ(desktop.messages.size(), 1u);
    EXPECT_EQ(desktop.messages[0].text, "histo: something went wrong\n");
    EXPECT_EQ(desktop.messages[0].caption, "Radiance Process Error!");
    EXPECT_FALSE(desktop.progress_shown());
}

TEST_F(ComputeStatistics, NoOutputAtAllIsShownWithAnEmptyText) {
    TempFolder programs;
    write_program(programs / "rcalc", "cat >/dev/null\n");
    write_program(programs / "histo", "cat >/dev/null\n");
    runner.set_program_folder(programs.str());
    const RegionAnalysis result = compute(rectangle_region(0, 0, 4, 4), RegionKind::rectangle);
    EXPECT_EQ(result.count(), 0);
    ASSERT_EQ(desktop.messages.size(), 1u);
    EXPECT_EQ(desktop.messages[0].text, "");
    EXPECT_EQ(desktop.messages[0].caption, "Radiance Process Error!");
}

}  // namespace
