#pragma once
// Where the program keeps its settings and its working files.
//
// The settings live in "candelux" under $XDG_CONFIG_HOME (else $HOME/.config);
// the default cache directory is "candelux" under $XDG_CACHE_HOME (else
// $HOME/.cache). Working copies of the user's pictures go there, so it is
// private to the user, unlike the shared /tmp.

#include <optional>
#include <string>

struct PlatformFolders {
    std::optional<std::string> appdata;  // the per-user configuration folder
    std::optional<std::string> cache;    // the default cache directory (ours alone)
};

// Reads the folders from the process environment. A folder that cannot be
// determined is left empty. Nothing is created.
PlatformFolders platform_folders_from_environment();

// Where an installation keeps the picture programs, relative to the folder
// of the executables (PREFIX/bin).
inline constexpr const char* installed_program_folder = "../lib/candelux/programs";

// The folder of our picture programs: "programs" beside the executable (the
// build tree), else the installation's folder above, unless
// CANDELUX_PROGRAMS names another one (the bin folder of a Radiance
// installation, say).
std::string program_folder_beside(const std::string& executable_folder);

// Creates `folder` (and its parents) when missing; a folder we create is
// readable by its owner alone. False when it does not exist afterwards.
bool ensure_private_folder(const std::string& folder);
