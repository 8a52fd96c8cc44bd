#pragma once
// Every region of a region file analysed on one picture: one row per region,
// each with exactly the figures a single-region analysis of that region
// gives (the general statistics, the percentile ratio and criterion
// percentage the settings ask for, and the figures through the lens),
// computed by the same functions.
//
// The picture's lens (its view, illuminance at the lens and clipped pixels)
// is worked out once for all rows; each region then reads only the pixels of
// its own box. A mask region is applied to a scratch copy of the working
// copy in the cache folder, as the analysis wizard does.
//
// Luminance in cd/m², solid angles in sr, illuminance in lx.

#include <cstddef>
#include <string>
#include <vector>

#include "analysis/analysis_settings.h"
#include "analysis/compute_statistics.h"
#include "analysis/lens_figures.h"
#include "common/result.h"
#include "regions/region_file.h"

struct RegionRow {
    std::string name;
    std::string color;
    RegionKind kind = RegionKind::rectangle;
    // The figures; the histogram only when it was asked for. The samples
    // are kept (they give the count), where they lay is not.
    RegionAnalysis analysis;
    bool has_histogram = false;
};

struct RegionTable {
    std::vector<RegionRow> rows;  // in the file's order
    PictureLens lens;
    AnalysisSettings settings;
};

// The choices a table is made with: the statistics of `settings` (general
// statistics always; percentile ratio, criterion and solid-angle weighting
// as it asks), and whether each row's histogram is made too. A histogram
// runs the picture programs once per region; without it no program runs
// except to apply a mask.
struct RegionTableRequest {
    AnalysisSettings settings;
    bool histograms = false;
};

// The analysis record of one named region: `settings` with its source.
AnalysisSettings region_record(const AnalysisSettings& settings, const RegionChoice& choice);

// One region's figures, as the results page computes them for the same
// region and record: its samples, figures, lens figures and (when asked)
// histogram, and the solid-angle weighting when the record asks for it.
// Fails (after the Desktop of `context` showed why) when a mask could not
// be applied or the histogram's programs failed.
Result<RegionAnalysis> analyse_region_choice(StatisticsContext& context, const PictureLens& lens,
                                             const RegionChoice& choice, const AnalysisSettings& record,
                                             bool histogram);

// Every region of `file`, whose regions must already fit the picture of
// `context` (fit_region_file). `region_file_path` finds mask files.
Result<RegionTable> analyse_region_table(StatisticsContext& context, const RegionFile& file,
                                         const std::string& region_file_path, const RegionTableRequest& request);

// The histogram of one row made afterwards (for the row a window shows):
// the region analysed again with its histogram.
Result<RegionAnalysis> analyse_region_row(StatisticsContext& context, const RegionTable& table,
                                          const RegionFile& file, const std::string& region_file_path,
                                          size_t row);

// "<base>_regions.csv"
std::string regions_csv_name(const std::string& base);

// The table as CSV: a header row, then one row per region. Lines end with
// CR LF; numbers are in the C form, each in the fewest digits that read back
// as the same number (as the JSON of candelux-cli stats gives them); a
// figure the picture cannot give (the lens figures without a view, a
// percentile ratio over an empty lower share) is an empty field. A name
// holding a comma, a quote or a line break is quoted.
//
//   name,kind,count,minimum,maximum,mean,median,standard_deviation,
//   criterion_percentage,percentile_ratio,count_in_view,solid_angle_sr,
//   weighted_mean,vertical_illuminance_lx,illuminance_share,ceiling_pixels
std::string region_table_csv(const RegionTable& table);
// Written into a regular file only (see common/regular_file.h); false when
// it cannot be written completely.
bool write_region_table_csv(const std::string& path, const RegionTable& table);
