#pragma once
// Template ids of the analysis wizard's pages and the ids of their controls
// (each control's object name in the window). The results page's controls are
// in result_lines.h.

namespace analysis_pages {
inline constexpr int type = 108;
inline constexpr int single_region = 109;
inline constexpr int statistics = 110;
inline constexpr int percentiles = 111;
inline constexpr int criterion = 112;
inline constexpr int results = 113;
inline constexpr int region_a = 114;
inline constexpr int region_b = 115;
inline constexpr int two_region_statistics = 116;
inline constexpr int glare_first = 130;
}  // namespace analysis_pages

namespace analysis_ids {
// 108
inline constexpr int single_kind = 1010;
inline constexpr int multiple_kind = 1011;
inline constexpr int glare_kind = 1012;
inline constexpr int all_regions_kind = 1060;  // "All regions in the list": offered when the list has any
// 109, 114, 115 (the status label differs per page: region_page::single,
// region_page::region_a, region_page::region_b)
inline constexpr int from_image = 1016;
inline constexpr int from_mask = 1017;
inline constexpr int tool_list = 1019;
inline constexpr int click_to_select = 1020;
inline constexpr int browse = 1021;
inline constexpr int file_label = 1022;
inline constexpr int help_text = 1023;
inline constexpr int help_tail = 1024;
inline constexpr int whole_picture = 1025;  // "Whole Picture": the entire scene as the region
// 110
inline constexpr int general_statistics = 1006;
inline constexpr int percentile_box = 1007;
inline constexpr int criterion_box = 1008;
// 111
inline constexpr int upper_percentile = 1013;
inline constexpr int lower_percentile = 1015;
// 112
inline constexpr int criterion_list = 1056;
inline constexpr int threshold = 1057;
// 116
inline constexpr int two_region_general = 1058;
inline constexpr int contrast_box = 1059;
}  // namespace analysis_ids
