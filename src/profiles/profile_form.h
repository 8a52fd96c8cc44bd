#pragma once
// Tools > Camera Profiles...: the profiles of the profiles folder (and any
// opened from elsewhere), and the fields of the chosen one as texts the user
// edits. Saving goes through the profile file's own writer, so the response
// curves, the vignetting and every key this version does not know are kept.

#include <array>
#include <string>
#include <vector>

#include "profiles/camera_profile.h"
#include "profiles/profile_desktop.h"

namespace profile_field {
enum : int {
    name,
    camera,
    lens,
    nd_factor,
    calibration_factor,
    view,  // "" for no projection
    horizontal_angle,
    vertical_angle,
    centre_x,
    centre_y,
    radius,
    note,
    vignetting_picture,  // a path; "" for the radial polynomial
    count
};
}  // namespace profile_field

// The view types a lens's projection may have; "" first for none.
inline constexpr std::array<const char*, 7> profile_view_types = {"", "-vta", "-vth", "-vts", "-vtc", "-vtl", "-vtv"};

struct ProfileEntry {
    std::string name;  // the profile's own name, else the file's
    std::string path;
};

// The profiles in `folder`, sorted by name; none when it does not exist.
std::vector<ProfileEntry> list_profiles(const std::string& folder);

class ProfileForm {
public:
    // `folder` is where New... puts profiles and what the list shows.
    ProfileForm(ProfileDesktop& desktop, std::string folder);

    std::vector<ProfileEntry> entries;
    int selected = -1;
    std::array<std::string, profile_field::count> fields;
    std::string status;  // the line under the fields
    // What the fields do not show: the response curves, the vignetting (made
    // by `candelux-cli profile vignetting`) and the date of the last change.
    std::string details;
    bool changed = false;

    const std::string& folder() const { return folder_; }

    // Reads the folder again, keeping profiles opened from elsewhere.
    void on_refresh();
    // Offers to save unsaved changes first; false when they could not be.
    bool on_select(int index);
    void on_edit(int field, const std::string& text);
    bool on_new();
    bool on_open();
    bool on_save();
    bool on_delete();
    // "Fit Vignetting...": fits the radial fall-off to an assembled picture
    // of a uniform scene around the fields' image circle (found on the
    // picture when none is set); Save keeps it.
    bool on_fit_vignetting();
    // "Choose..." beside the vignetting picture: a path into that field.
    bool on_choose_vignetting_picture();

    // The profile as shown, with a fit not saved yet: what the plot draws.
    const CameraProfile& shown_profile() const { return loaded_; }
    // Before the window closes: offers to save unsaved changes.
    void on_close();

private:
    bool offer_to_save();
    void describe(const CameraProfile& profile);
    void show_profile(const CameraProfile& profile);
    void clear_fields();
    int add_entry(const ProfileEntry& entry);

    ProfileDesktop& desktop_;
    std::string folder_;
    CameraProfile loaded_;
    std::vector<ProfileEntry> opened_;  // from outside the folder
};
