#pragma once
// The three comma-separated reports of an analysis, written next to each
// other: <base>_stats.csv (the figures), <base>_hist.csv (the 256 bins) and
// <base>_region.csv (the region's geometry and every sample).
//
// Lines end with CR LF on every platform; numbers are "%f" (six decimals) and
// "%d" (geometry coordinates truncated toward zero), always in the C form.

#include <string>
#include <vector>

#include "analysis/analysis_settings.h"
#include "analysis/compute_statistics.h"
#include "analysis/lens_figures.h"
#include "view/region.h"

class Desktop;

// A region's type by its geometry: a rectangle of non-zero width and height,
// else a circle, else a polygon of more than three vertices, else unknown
// (a mask-file region, whose geometry is empty).
enum class ReportRegionType { rectangle, circle, polygon, unknown };
ReportRegionType report_region_type(const Region& region);

struct ReportRegion {
    const Region& geometry;
    const RegionAnalysis& analysis;
};

struct ReportInput {
    const AnalysisSettings& main;  // kind, general statistics, percentile, criterion
    ReportRegion single;
    ReportRegion a;
    ReportRegion b;
    // With the picture's lens, a fourth file <base>_geometry.csv follows
    // (lens_report.h); the picture's name as opened.
    const PictureLens* lens = nullptr;
    std::string picture_name;
};

// The file names for a folder (with its trailing separator) and a base: the
// three reports and, last, the geometry report.
std::vector<std::string> report_paths(const std::string& folder, const std::string& base);

// Folder and base name of the path chosen in the save dialog: the folder keeps
// its trailing separator; a ".csv" ending (any case) is cut from the name.
struct ReportName {
    std::string folder;
    std::string base;
};
ReportName report_name(const std::string& chosen_path);

// Writes the reports in the order stats, hist, region (and geometry). Nothing is written when
// the general statistics are off or the analysis is neither one region nor
// two. A file that cannot be opened or written completely stops the writer
// with "File IO Error!" naming it; the files before it stay. False on failure.
bool write_statistics_reports(Desktop& desktop, const std::string& folder, const std::string& base,
                              const ReportInput& input);
