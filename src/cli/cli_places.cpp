#include "cli/cli_places.h"

#include <stdlib.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <vector>

#include "settings/settings_apply.h"
#include "settings/settings_file.h"
#include "tools/command_path.h"
#include "tools/working_files.h"

namespace fs = std::filesystem;

CliPlaces cli_places(const PlatformFolders& folders, const std::string& executable) {
    CliPlaces places;
    places.executable = executable;
    places.program_folder = program_folder_beside(fs::path(executable).parent_path().string());

    const SettingsFile file(folders);
    AppliedSettings settings;
    apply_cache_setting(file, settings);
    std::string cache = settings.cache_directory;
    const std::string fallback = folders.cache ? *folders.cache : file.fallback_cache_folder().string();
    if (!cache.empty() && !is_command_safe_path(cache)) {
        places.cache_warning = "the cache folder " + cache +
                               " of the settings file holds a blank or a shell character; working in " + fallback;
        cache.clear();
    }
    places.cache_folder = cache.empty() ? fallback : cache;
    places.cache_problem = cache_directory_problem(places.cache_folder);
    return places;
}

RunFolder::RunFolder(const std::string& cache_folder) {
    if (cache_folder.empty()) {
        error_ = "there is no cache folder (neither HOME nor XDG_CACHE_HOME is set)";
        return;
    }
    if (!ensure_private_folder(cache_folder)) {
        error_ = "could not create the cache folder " + cache_folder;
        return;
    }
    std::string pattern = cache_folder + "/cli-XXXXXX";
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    if (!mkdtemp(buffer.data())) {
        error_ = "could not create a working folder in " + cache_folder + ": " + std::strerror(errno);
        return;
    }
    path_ = buffer.data();
    // The run's working files live one folder deeper than the window's.
    if (const std::string problem = cache_directory_problem(path_); !problem.empty()) {
        error_ = problem + " (" + path_ + ")";
        std::error_code ec;
        fs::remove(path_, ec);
        path_.clear();
    }
}

RunFolder::~RunFolder() {
    if (path_.empty()) return;
    std::error_code ec;
    fs::remove_all(path_, ec);
}
