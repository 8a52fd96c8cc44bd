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
    const auto home = environment("HOME");
    if (auto config = environment("XDG_CONFIG_HOME")) {
        folders.appdata = without_trailing_slash(*config);
    } else if (home) {
        folders.appdata = without_trailing_slash(*home) + "/.config";
    }
    if (auto cache = environment("XDG_CACHE_HOME")) {
        folders.cache = without_trailing_slash(*cache) + "/candelux";
    } else if (home) {
        folders.cache = without_trailing_slash(*home) + "/.cache/candelux";
    }
    return folders;
}

std::string program_folder_beside(const std::string& executable_folder) {
    if (auto own = environment("CANDELUX_PROGRAMS")) return *own;
    const std::string folder = without_trailing_slash(executable_folder);
    const std::string beside = folder + "/programs";
    // An installation keeps the programs out of bin/, in the private folder
    // below lib/ of the same prefix; the build tree keeps them beside the
    // executable. Both are found from the executable's own place, so a moved
    // installation still finds its programs.
    const std::string installed = folder + "/" + installed_program_folder;
    std::error_code ec;
    if (!std::filesystem::is_directory(beside, ec) && std::filesystem::is_directory(installed, ec)) return installed;
    return beside;
}

bool ensure_private_folder(const std::string& folder) {
    namespace fs = std::filesystem;
    std::error_code ec;
    if (fs::is_directory(folder, ec)) return true;
    const fs::path path(folder);
    if (path.has_parent_path()) fs::create_directories(path.parent_path(), ec);
    if (fs::create_directory(path, ec)) {
        fs::permissions(path, fs::perms::owner_all, fs::perm_options::replace, ec);
    }
    return fs::is_directory(path, ec);
}
