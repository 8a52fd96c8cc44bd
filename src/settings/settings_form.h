#pragma once
// The Settings dialog's rules: the cache directory (changed only through
// Browse), the tone mapper used for JPG export and the display format.

#include <string>

#include "desktop/desktop.h"
#include "settings/settings_apply.h"
#include "settings/settings_file.h"

namespace settings_ids {
inline constexpr int dialog = 103;
inline constexpr int cache_edit = 1002;
inline constexpr int browse = 1001;
inline constexpr int reinhard = 1069;
inline constexpr int ward = 1068;
inline constexpr int uncompressed = 1080;
inline constexpr int compressed = 1078;
}  // namespace settings_ids

// Shows the folder chooser; refuses a path the shell would misread with
// "Cache path cannot contain spaces". "" when cancelled or refused.
std::string browse_for_folder(Desktop& desktop, Owner owner, const std::string& title);

class SettingsForm {
public:
    SettingsForm(Desktop& desktop, const SettingsFile& file, AppliedSettings& settings);

    // The dialog's fields.
    std::string cache_text;
    bool reinhard_checked = false;
    bool ward_checked = false;
    bool uncompressed_checked = false;
    bool compressed_checked = false;

    void on_open();
    void on_browse();
    // Stores the choices; returns the dialog's result.
    int on_ok();

private:
    Desktop& desktop_;
    const SettingsFile& file_;
    AppliedSettings& settings_;
};
