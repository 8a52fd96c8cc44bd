#pragma once
// One region's statistics, end to end: the samples from the luminance map,
// the figures, the sample file "pvalues" in the cache directory and the
// histogram made by rcalc | histo.
//
// Runs on the caller's thread and waits for the programs (the runner keeps the
// windows painting). Failures are shown through the Desktop and give an
// all-zero result with no samples.

#include <optional>
#include <string>

#include "analysis/analysis_settings.h"
#include "analysis/lens_figures.h"
#include "analysis/region_statistics.h"
#include "picture/luminance_map.h"
#include "view/region.h"

class Desktop;
class ProcessRunner;

struct StatisticsContext {
    const LuminanceMap& map;
    std::string cache_directory;
    ProcessRunner& runner;
    Desktop& desktop;
    // While the calibration wizard or the falsecolor view is open only the
    // mean is wanted: no sorting, no sample file, no histogram.
    bool mean_only = false;
    // Without the histogram no sample file is written and no program runs;
    // every other figure is the same.
    bool histogram = true;
};

// The lens figures of the picture as it is now: the map of `context` with
// the header of the working copy (none when it cannot be read).
PictureLens working_copy_lens(const StatisticsContext& context);

struct RegionAnalysis {
    RegionStatistics statistics;
    LuminanceHistogram histogram{};
    float peak = 0;
    LensFigures lens;  // filled by the results page, which knows the picture's view
    int32_t count() const { return statistics.count(); }
};

// The statistics of `region` sampled with `tool`, with the percentile and
// criterion choices of `settings` (a default record asks for neither).
RegionAnalysis compute_region_statistics(StatisticsContext& context, const Region& region, RegionKind tool,
                                         const AnalysisSettings& settings);
// The same, but nothing when the sample file or the histogram's programs
// failed (the Desktop has shown why), where the above gives an empty result.
std::optional<RegionAnalysis> region_statistics_or_failure(StatisticsContext& context, const Region& region,
                                                           RegionKind tool, const AnalysisSettings& settings);
