#pragma once
// The glare pages' record: what evalglare is asked for. One record per
// wizard run, zero-filled at the start; each glare page fills its part.
//
// Task positions are pixels of the picture as shown, x from its left edge and
// y from its bottom edge; angles are radians, view sizes degrees, Ev lux,
// thresholds cd/m² (or a factor, for a glare threshold up to 100).

#include <array>
#include <cstdint>
#include <string>

enum class FieldOfView : int16_t { none = 0, total = 1, both_eyes = 2 };
enum class GlareViewMode : int16_t { none = 0, by_type = 1, by_file = 2 };

struct GlareViewType {
    const char* name;    // as the list shows it
    const char* option;  // what evalglare is told, blanks included
};

inline constexpr std::array<GlareViewType, 6> glare_view_types = {{
    {"Perspective(-vtv)", " -vtv "},
    {"Parallel(-vtl)", " -vtl "},
    {"Cylinderical Panorama(-vtc)", " -vtc "},
    {"Angular Fish Eye(-vta)", " -vta "},
    {"Hemispherical Fish Eye(-vth)", " -vth "},
    {"Planisphere Fish Eye(-vts)", " -vts "},
}};
inline constexpr int default_glare_view_type = 4;

struct GlareSettings {
    // The pages titled "Task Area Specification" and "Task Position". The
    // position is kept when the user goes back to "Entire Image", but only
    // sent while `task_area` is on.
    bool task_area = false;
    int32_t task_x = 0;
    int32_t task_y = 0;
    float task_angle = 0;
    // Field of View.
    int32_t guth_cut = 0;
    FieldOfView field_of_view = FieldOfView::none;
    // View Types.
    GlareViewMode view_mode = GlareViewMode::none;
    int32_t view_type = 0;  // index in glare_view_types
    float view_vertical = 0;
    float view_horizontal = 0;
    std::string view_file;
    // Advanced Options: which are on, then their values.
    bool smoothing = false;
    bool external_ev = false;
    bool search_radius = false;
    bool peak_extraction = false;
    bool glare_threshold = false;
    float ev = 0;
    float radius = 0;
    float peak_threshold = 0;
    float threshold = 0;
};
