#include "settings/platform_folders.h"

#include <cstdlib>
#include <filesystem>

namespace {

std::optional<std::string> environment(const char* name) {
    const char* value = std::getenv(name);
    if (!value || !*value) return std::nullopt;
    return std::string(value);
}

std::string without_trailing_slash(std::string path) {
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    return path;
}

}  // namespace

PlatformFolders platform_folders_from_environment() {
    PlatformFolders folders;
    if (auto config = environment("XDG_CONFIG_HOME")) {
        folders.appdata = without_trailing_slash(*config);
    } else if (auto home = environment("HOME")) {
        folders.appdata = without_trailing_slash(*home) + "/.config";
    }
    if (auto tmp = environment("TMPDIR")) {
        folders.temp = without_trailing_slash(*tmp);
    } else {
        std::error_code ec;
        if (std::filesystem::is_directory("/tmp", ec)) folders.temp = "/tmp";
    }
    return folders;
}
