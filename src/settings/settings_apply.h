#pragma once
// The three settings as the program uses them, and how a file value becomes
// one. Comparisons are exact and case-sensitive.

#include <cstdint>
#include <string>
#include <string_view>

#include "settings/settings_file.h"

enum ToneMapper : int { tone_mapper_reinhard = 1, tone_mapper_ward = 2 };

enum DisplayMode : uint16_t {
    display_bmp = 1,         // display copy made by ra_bmp
    display_gif = 2,         // display copy made by ra_gif
    display_falsecolor = 3,  // the falsecolor view is showing
};

// Longest cache directory path kept (a working-file name must still fit).
inline constexpr size_t max_cache_directory_chars = 259;

struct AppliedSettings {
    std::string cache_directory;  // no trailing slash
    int default_tone_mapper = tone_mapper_reinhard;
    uint16_t display_mode = display_gif;
    // The folder last chosen with Browse in the Settings dialog; lives for the
    // whole run, not per dialog.
    std::string pending_cache_path;
};

// Reads CACHE= and keeps at most max_cache_directory_chars characters.
void apply_cache_setting(const SettingsFile& file, AppliedSettings& settings);
// "ward" gives Ward; anything else Reinhard.
void apply_tonemap_setting(std::string_view value, AppliedSettings& settings);
// "bmp" gives BMP; anything else GIF.
void apply_display_setting(std::string_view value, AppliedSettings& settings);
