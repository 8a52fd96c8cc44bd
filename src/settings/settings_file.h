#pragma once
// The settings file "settings.asf" in the folder "candelux" of the per-user
// configuration folder.
//
// One setting per line, KEY=<value>, CR LF line ends. A key matches a line
// that contains it anywhere; the value is what stands between the line's first
// '<' and its first '>'; the last matching line wins. The file is read again
// for every get and set: it is the only copy of the settings.

#include <filesystem>
#include <string>
#include <string_view>

#include "settings/platform_folders.h"

inline constexpr const char* settings_folder_name = "candelux";
inline constexpr const char* settings_file_name = "settings.asf";

class SettingsFile {
public:
    enum class Status {
        ok,               // the file exists or was written with the defaults
        temp_missing,     // written, but without a default cache folder to offer
        appdata_missing,  // no configuration folder: the program cannot go on
        cannot_open,      // the file can be neither read nor created
    };

    explicit SettingsFile(PlatformFolders folders);

    // Creates the folder and, when there is no file yet, the file with the
    // three default lines. An existing file is never examined or repaired.
    Status ensure_settings_file() const;

    // The value for `key` (e.g. "CACHE="), or "" when the file cannot be read
    // or no line yields a value.
    std::string read_setting(std::string_view key) const;

    // Replaces the value on every line that holds `key` and a non-empty value,
    // and rewrites the file. A key without such a line is not added.
    void write_setting(std::string_view key, std::string_view value) const;

    bool has_appdata() const { return folders_.appdata.has_value(); }
    const PlatformFolders& folders() const { return folders_; }
    std::filesystem::path folder() const;
    std::filesystem::path path() const;

    // The cache directory written into a new file when there is no default
    // cache folder: a folder of our own beside the settings file.
    std::filesystem::path fallback_cache_folder() const;

private:
    PlatformFolders folders_;
};
