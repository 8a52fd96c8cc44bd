#pragma once
// Where a run of candelux-cli finds its programs and keeps its working files.
//
// The programs are found as the application finds them (programs beside the
// executable, or CANDELUX_PROGRAMS). The cache folder is the application's:
// the settings file's CACHE value, or the private default when it has none
// or names a folder the shell would misread. Each run works in a fresh
// folder of its own inside it, so that runs side by side never share a
// working file (the statistics' sample file, a masked copy, a rendering).

#include <string>

#include "common/result.h"
#include "settings/platform_folders.h"

struct CliPlaces {
    std::string executable;      // this program, for the commands it prints
    std::string program_folder;  // first on the PATH of every program it runs
    std::string cache_folder;    // the application's cache folder
    std::string cache_warning;   // why the settings file's folder is not used; "" when it is
    // Why the cache folder cannot be used at all (the window would refuse to
    // open a picture with it: a blank or a shell character in HOME or
    // XDG_CACHE_HOME, say); "" when it can.
    std::string cache_problem;
};

CliPlaces cli_places(const PlatformFolders& folders, const std::string& executable);

// A folder of the run's own in the cache folder, created readable by its
// owner alone and removed with everything in it when the run ends.
class RunFolder {
public:
    explicit RunFolder(const std::string& cache_folder);
    ~RunFolder();
    RunFolder(const RunFolder&) = delete;
    RunFolder& operator=(const RunFolder&) = delete;

    bool created() const { return !path_.empty(); }
    const std::string& path() const { return path_; }
    const std::string& error() const { return error_; }

private:
    std::string path_;
    std::string error_;
};
