#pragma once
// The "Falsecolor" window's rules: the range fields, "Maximum Range", the six
// legend labels and what Apply asks the view to do.

#include <array>
#include <functional>
#include <optional>
#include <string>

#include "tools/falsecolor_scale.h"

class Desktop;

namespace falsecolor_ids {
inline constexpr int dialog = 120;
inline constexpr int top = 1091;
inline constexpr int bottom = 1092;
inline constexpr int maximum_range = 1093;
inline constexpr int first_label = 1094;  // 1094 … 1099, bottom to top
inline constexpr int legend = 1090;
inline constexpr int optimized_range = 1147;  // present but hidden
inline constexpr int apply = 1;
// The scale and export choices, shown by "Options >>".
inline constexpr int options = 1200;
inline constexpr int axis = 1201;
inline constexpr int steps = 1202;
inline constexpr int palette = 1203;
inline constexpr int units = 1204;
inline constexpr int display = 1205;
inline constexpr int load_scale = 1206;
inline constexpr int save_scale = 1207;
inline constexpr int legend_in_picture = 1208;
inline constexpr int extrema_in_picture = 1209;
}  // namespace falsecolor_ids

// What Apply asks for: mode 0 renders the measured range again (pextrem),
// mode 1 the range in `bottom` … `top`.
struct FalsecolorRequest {
    int mode = 0;
    float bottom = 0;
    float top = 0;
    // Axis, steps, palette, units and display (its range is unused); the
    // defaults are the view as it always was.
    FalsecolorScale choice;
};

class FalsecolorForm {
public:
    // Where Apply and closing send their request (the falsecolor command);
    // closing sends mode -1.
    std::function<void(const FalsecolorRequest&)> send;

    // The window opens showing these values; "Maximum Range" is checked.
    void on_open(float label_minimum, float label_maximum, float measured_minimum, float measured_maximum);

    // The window's fields and labels.
    std::string top_text;
    std::string bottom_text;
    bool maximum_range_checked = true;
    std::array<std::string, 6> labels;  // bottom to top

    // The user typed in either field.
    void on_field_edited();
    void on_maximum_range();
    // Nothing unless the range was edited since the last Apply; the request
    // is also sent.
    std::optional<FalsecolorRequest> on_apply();
    // The window is closed or cancelled: the view ends.
    void on_close();

    bool edited() const { return edited_; }

    // --- the scale and export choices behind "Options >>" -------------------
    // Asked for the scale files' dialogs and their messages (may be null:
    // then Load and Save do nothing).
    Desktop* desktop = nullptr;
    bool options_shown = false;
    FalsecolorScale choice;  // its range is unused: the fields hold it
    bool legend_in_picture = false;
    bool extrema_in_picture = false;

    // The window changed `choice`: the labels follow, and Apply renders it.
    void on_choice_changed();
    // "Top (cd/m²)" or "Top (lx)", and the same for the bottom field.
    std::string top_caption() const;
    std::string bottom_caption() const;
    // Load Scale...: the file's range goes into the fields and its choices
    // into `choice`; Apply then renders it. False when nothing was loaded.
    bool on_load_scale();
    // Save Scale...: the fields' range with `choice`. False when nothing was
    // written.
    bool on_save_scale();
    // The scale the fields and choices describe (absolute values, the
    // smaller at the bottom).
    FalsecolorScale scale_of_fields() const;

private:
    std::optional<FalsecolorRequest> read_request();
    void show_range(float minimum, float maximum);
    void show_labels(float minimum, float maximum);

    float measured_minimum_ = 0;
    float measured_maximum_ = 0;
    bool edited_ = false;
};
