#pragma once
// What the results page shows in its labels, for the single region or, with
// two regions, for Region A, Region B or the ratio A:B.

#include <map>
#include <string>

#include "analysis/analysis_settings.h"
#include "analysis/compute_statistics.h"

namespace results_ids {
inline constexpr int page = 113;
inline constexpr int histogram_frame = 1029;
inline constexpr int axis_minimum = 1038;
inline constexpr int axis_maximum = 1039;
inline constexpr int peak = 1040;  // carried, never shown
inline constexpr int minimum_caption = 1026;
inline constexpr int maximum_caption = 1027;
inline constexpr int mean_caption = 1028;
inline constexpr int median_caption = 1031;
inline constexpr int deviation_caption = 1030;
inline constexpr int minimum = 1032;
inline constexpr int maximum = 1033;
inline constexpr int mean = 1034;
inline constexpr int median = 1035;
inline constexpr int deviation = 1036;
inline constexpr int percentile_caption = 1042;
inline constexpr int percentile = 1043;
inline constexpr int criterion_caption = 1044;
inline constexpr int criterion = 1037;
inline constexpr int contrast_caption = 1046;
inline constexpr int contrast = 1041;
inline constexpr int view_a = 1061;
inline constexpr int view_b = 1062;
inline constexpr int view_ratio = 1063;
inline constexpr int ratio_mark = 1064;
inline constexpr int save = 1065;
// Through the lens: the group, its rows (caption 1071 + 2k, value 1072 + 2k),
// the clipped-pixel sentence with its link, and "Weight by solid angle".
inline constexpr int lens_group = 1070;
inline constexpr int lens_first_caption = 1071;
inline constexpr int lens_rows = 8;
inline constexpr int overflow = 1090;
inline constexpr int weight_box = 1091;
}  // namespace results_ids

// The captions of the five general figures, shown beside them in every view.
struct FigureCaption {
    int caption_id;
    int value_id;
    const char* text;
};
inline constexpr FigureCaption general_captions[] = {
    {results_ids::minimum_caption, results_ids::minimum, "Minimum:"},
    {results_ids::maximum_caption, results_ids::maximum, "Maximum:"},
    {results_ids::mean_caption, results_ids::mean, "Mean:"},
    {results_ids::median_caption, results_ids::median, "Median:"},
    {results_ids::deviation_caption, results_ids::deviation, "Standard Deviation:"},
};

// The value as a default stream prints a float, cut (not rounded) after
// `decimals` characters past the point. The full text stays when cutting
// would lose more than 1 from the value, and always for a number in exponent
// form (1.23457e+06 and 1.5e-05 alike).
std::string format_truncated(float value, int decimals);

struct ResultLines {
    std::map<int, std::string> texts;  // label id -> text, for every label the page fills
    bool axis_labels_shown = true;     // 1038 and 1039
    bool ratio_mark_shown = false;     // 1064
};

ResultLines result_lines(const AnalysisSettings& main, const RegionAnalysis& single, const RegionAnalysis& a,
                         const RegionAnalysis& b);

// The contrast of a two-region analysis: |A mean - B mean| / B mean.
float region_contrast(float mean_a, float mean_b);
