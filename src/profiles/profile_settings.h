#pragma once
// What the camera-profile features remember between sessions, in one small
// file beside the settings file (settings.asf keeps its own fixed set of
// keys): KEY=value lines, numbers in the C locale's form.
//
//   CAPTURE_PROFILE=<path>   the profile "Assemble each series" applies; empty for none
//   EV_TOLERANCE=<percent>   the share by which the Ev check lets picture and meter differ
//
// Lines with other keys are kept when the file is rewritten.

#include <optional>
#include <string>

#include "profiles/ev_check.h"

struct ProfileSettings {
    std::string capture_profile;
    double ev_tolerance = default_ev_tolerance;
};

// <configuration folder>/candelux/profile_settings; "" without a folder.
std::string profile_settings_file(const std::optional<std::string>& configuration_folder);

// The defaults for what the file does not say (or when it cannot be read).
ProfileSettings read_profile_settings(const std::string& file);
// False when the file cannot be written.
bool write_profile_settings(const std::string& file, const ProfileSettings& settings);
