#pragma once
// The "Projections" dialog: the one projection there is, and the output
// size, which is the picture's own unless "Anti-alias" asks for another.

#include <cstdint>
#include <optional>
#include <string>

class Desktop;

namespace projection_ids {
inline constexpr int dialog = 118;
inline constexpr int fisheye_to_hemispherical = 1075;
inline constexpr int anti_alias = 1076;
inline constexpr int width = 1077;
inline constexpr int height = 1079;
}  // namespace projection_ids

inline constexpr int projection_angular_to_hemispherical = 1;

// What the dialog leaves for the projection.
struct ProjectionChoice {
    int choice = projection_angular_to_hemispherical;
    bool anti_alias = false;
    uint32_t width = 0;
    uint32_t height = 0;
};

class ProjectionForm {
public:
    ProjectionForm(Desktop& desktop, ProjectionChoice& choice, int picture_width, int picture_height);

    // The dialog's controls.
    bool fisheye_checked = true;
    bool anti_alias_checked = false;
    bool size_enabled = false;  // X and Y
    std::string width_text;
    std::string height_text;

    void on_open();
    void on_anti_alias_clicked(bool checked);
    void on_fisheye_clicked();
    // The dialog's result, or nothing while it stays open (a size that is
    // not a number or too large has been refused with a message).
    std::optional<int> on_ok();

private:
    Desktop& desktop_;
    ProjectionChoice& choice_;
    int picture_width_;
    int picture_height_;
};
