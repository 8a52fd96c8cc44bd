#pragma once
// Template ids of the calibration wizard's pages and the ids of their
// controls (each control's object name in the window).

namespace calibration_pages {
inline constexpr int options = 122;
inline constexpr int luminance_intro = 123;
inline constexpr int region = 124;
inline constexpr int measured_luminance = 125;
inline constexpr int illuminance_intro = 128;
inline constexpr int measured_illuminance = 140;
}  // namespace calibration_pages

namespace calibration_ids {
// 122
inline constexpr int luminance_kind = 1161;
inline constexpr int illuminance_kind = 1163;
// 124
inline constexpr int from_image = 1164;
inline constexpr int from_mask = 1165;
inline constexpr int tool_list = 1166;
inline constexpr int click_to_select = 1167;
inline constexpr int status_label = 1168;
inline constexpr int browse = 1169;
inline constexpr int file_label = 1170;
// 125, 140
inline constexpr int luminance_field = 1171;
inline constexpr int illuminance_field = 1172;
// 140: the illuminance this picture gives, and by which rule
inline constexpr int computed_illuminance = 1173;
// 122, 140: the clipped-pixel sentence with its link
inline constexpr int overflow = 1174;
// 125, 140: "Save the factor into profile …" and the profiles to choose from
inline constexpr int save_to_profile = 1175;
inline constexpr int profile_list = 1176;
}  // namespace calibration_ids
