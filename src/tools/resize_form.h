#pragma once
// The "Resize Image" dialog's rules: Width and Height start at the picture's
// size, and while "Maintain aspect ratio" is checked a change of one field
// sets the other to keep the picture's proportions.
//
// Setting the other field is itself a change of that field, which would set
// the first one back; a one-shot flag per field marks a change the dialog
// made itself, so the echo is recognised and ignored.

#include <cstdint>
#include <string>

namespace resize_ids {
inline constexpr int dialog = 105;
inline constexpr int width = 1005;
inline constexpr int height = 1006;
inline constexpr int keep_aspect = 1007;
}  // namespace resize_ids

// Kept for the whole run, from one opening of the dialog to the next.
struct ResizeLock {
    bool locked = true;
    int64_t last_width = 0;
    int64_t last_height = 0;
    double ratio = 1.0;
    bool width_set_by_dialog = false;
    bool height_set_by_dialog = false;
};

class ResizeForm {
public:
    ResizeForm(ResizeLock& lock, int picture_width, int picture_height);

    // The dialog's fields.
    std::string width_text;
    std::string height_text;
    bool keep_aspect = true;

    // After OK: the picture's size divided by the new size, as pfilt reads
    // them.
    std::string factor_x;
    std::string factor_y;

    void on_open();
    // A change of a field's text, typed or set by the dialog.
    void on_width_changed(const std::string& text);
    void on_height_changed(const std::string& text);
    void on_keep_aspect_clicked(bool checked);
    // 1 when there is something to resize, 0 for nothing to do.
    int on_ok();

private:
    ResizeLock& lock_;
    int picture_width_;
    int picture_height_;
};
