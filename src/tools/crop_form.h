#pragma once
// The "Crop" dialog: edits the selection rectangle as numbers. Nothing is
// cropped here; Edit > Crop does that with the rectangle it leaves.

#include <optional>
#include <string>

#include "tools/geometry_commands.h"

class Desktop;

namespace crop_ids {
inline constexpr int dialog = 139;
inline constexpr int left = 1155;
inline constexpr int top = 1153;
inline constexpr int width = 1151;
inline constexpr int height = 1150;
}  // namespace crop_ids

class CropForm {
public:
    CropForm(Desktop& desktop, CropRectangle& rectangle, int picture_width, int picture_height);

    // The dialog's fields.
    std::string left_text;
    std::string top_text;
    std::string width_text;
    std::string height_text;

    void on_open();
    // The dialog's result, or nothing while it must stay open (a rectangle
    // that does not fit the picture has been refused with a message).
    std::optional<int> on_ok();

private:
    Desktop& desktop_;
    CropRectangle& rectangle_;
    int picture_width_;
    int picture_height_;
};
