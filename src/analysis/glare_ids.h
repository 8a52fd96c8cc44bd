#pragma once
// Template ids of the glare pages of the analysis wizard and the ids of their
// controls (each control's object name in the window).

namespace glare_page {
inline constexpr int intro = 130;
inline constexpr int task_area = 138;
inline constexpr int task_position = 131;
inline constexpr int field_of_view = 132;
inline constexpr int view_types = 133;
inline constexpr int advanced = 134;
inline constexpr int results = 135;
}  // namespace glare_page

namespace glare_ids {
// 138
inline constexpr int specify_task_area = 1147;
inline constexpr int entire_image = 1148;
// 131
inline constexpr int task_x = 1121;
inline constexpr int task_y = 1122;
inline constexpr int task_angle = 1124;
// 132
inline constexpr int guth = 1123;
inline constexpr int total_field = 1125;
inline constexpr int both_eyes = 1126;
// 133
inline constexpr int view_by_type = 1127;
inline constexpr int view_by_file = 1128;
inline constexpr int view_browse = 1129;
inline constexpr int view_file_label = 1130;
inline constexpr int view_vertical = 1131;
inline constexpr int view_type_list = 1132;
inline constexpr int view_horizontal = 1133;
inline constexpr int view_none = 1134;
// 134
inline constexpr int external_ev = 1135;
inline constexpr int ev = 1136;
inline constexpr int search_radius = 1137;
inline constexpr int radius = 1138;
inline constexpr int smoothing = 1139;
inline constexpr int peak_extraction = 1141;
inline constexpr int peak_threshold = 1142;
inline constexpr int glare_threshold = 1143;
inline constexpr int threshold = 1144;
// 135
inline constexpr int command_line = 1145;
inline constexpr int result_text = 1146;
// The table under it (index, value, comfort class) and the clipped-pixel
// sentence with its link.
inline constexpr int summary_table = 1147;
inline constexpr int overflow = 1148;
}  // namespace glare_ids
