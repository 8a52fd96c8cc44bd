#pragma once
// The "Falsecolor" window's rules: the range fields, "Maximum Range", the six
// legend labels and what Apply asks the view to do.

#include <array>
#include <functional>
#include <optional>
#include <string>

namespace falsecolor_ids {
inline constexpr int dialog = 120;
inline constexpr int top = 1091;
inline constexpr int bottom = 1092;
inline constexpr int maximum_range = 1093;
inline constexpr int first_label = 1094;  // 1094 … 1099, bottom to top
inline constexpr int legend = 1090;
inline constexpr int optimized_range = 1147;  // present but hidden
inline constexpr int apply = 1;
}  // namespace falsecolor_ids

// What Apply asks for: mode 0 renders the measured range again (pextrem),
// mode 1 the range in `bottom` … `top`.
struct FalsecolorRequest {
    int mode = 0;
    float bottom = 0;
    float top = 0;
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

private:
    std::optional<FalsecolorRequest> read_request();
    void show_range(float minimum, float maximum);

    float measured_minimum_ = 0;
    float measured_maximum_ = 0;
    bool edited_ = false;
};
