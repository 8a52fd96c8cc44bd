#include "settings/settings_apply.h"

void apply_cache_setting(const SettingsFile& file, AppliedSettings& settings) {
    std::string value = file.read_setting("CACHE=");
    if (value.size() > max_cache_directory_chars) value.resize(max_cache_directory_chars);
    settings.cache_directory = value;
}

void apply_tonemap_setting(std::string_view value, AppliedSettings& settings) {
    settings.default_tone_mapper = value == "ward" ? tone_mapper_ward : tone_mapper_reinhard;
}

void apply_display_setting(std::string_view value, AppliedSettings& settings) {
    settings.display_mode = value == "bmp" ? display_bmp : display_gif;
}
