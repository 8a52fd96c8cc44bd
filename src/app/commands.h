#pragma once
// Menu command identifiers of the main window.

namespace command {
inline constexpr int open = 40001;
inline constexpr int exit = 40002;
inline constexpr int settings = 40003;
inline constexpr int crop = 40004;
inline constexpr int rectangle_tool = 40006;
inline constexpr int polygon_tool = 40007;
inline constexpr int guidelines = 40009;
inline constexpr int analyze = 40011;
inline constexpr int rotate_90 = 40013;
inline constexpr int rotate_180 = 40014;
inline constexpr int flip_horizontal = 40015;
inline constexpr int flip_vertical = 40016;
inline constexpr int resize = 40017;
inline constexpr int exposure = 40018;
inline constexpr int edit_header = 40019;
inline constexpr int circle_tool = 40020;
inline constexpr int mask_from_region = 40021;
inline constexpr int vignetting_equation = 40024;
inline constexpr int vignetting_maskfile = 40025;
inline constexpr int apply_maskfile = 40029;
inline constexpr int save_as = 40034;
inline constexpr int operation = 40035;
inline constexpr int projections = 40036;
inline constexpr int falsecolor = 40040;
inline constexpr int ward = 40042;
inline constexpr int reinhard = 40043;
inline constexpr int calibration = 40044;
inline constexpr int fit_to_display = 40045;
inline constexpr int about = 40047;
inline constexpr int capture_setup = 40048;
inline constexpr int stop_recording = 40051;
inline constexpr int record_macro = 40052;
inline constexpr int batch_process = 40054;
inline constexpr int assemble_hdr = 40060;
inline constexpr int camera_profiles = 40061;
inline constexpr int regions_panel = 40070;
inline constexpr int analyze_all_regions = 40071;
inline constexpr int series = 40064;
}  // namespace command
