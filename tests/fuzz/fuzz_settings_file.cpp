// The settings file as a user might have edited it: every read and write.

#include <filesystem>

#include "fuzz_support.h"
#include "settings/settings_apply.h"
#include "settings/settings_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // The settings live in <appdata>/candelux/settings.asf.
    const std::string marker = fuzz_input_file(nullptr, 0, "-settings");
    const std::filesystem::path appdata = marker + ".d";
    std::error_code ec;
    std::filesystem::create_directories(appdata / "candelux", ec);
    const std::string written = fuzz_input_file(data, size, "-settings.asf");
    std::filesystem::rename(written, appdata / "candelux" / "settings.asf", ec);
    SettingsFile file(PlatformFolders{appdata.string(), appdata.string()});
    AppliedSettings settings;
    apply_cache_setting(file, settings);
    apply_tonemap_setting(file.read_setting("DEFTONEMAP="), settings);
    apply_display_setting(file.read_setting("IMGDISP="), settings);
    file.write_setting("CACHE=", "/tmp/cache");
    file.write_setting("IMGDISP=", "bmp");
    (void)file.read_setting("CACHE=");
    return 0;
}
