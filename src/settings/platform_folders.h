#pragma once
// Where the program keeps its settings and where temporary files go.
//
// The settings live in "candelux" under $XDG_CONFIG_HOME (else $HOME/.config);
// the default cache directory is $TMPDIR (else /tmp).

#include <optional>
#include <string>

struct PlatformFolders {
    std::optional<std::string> appdata;  // the per-user configuration folder
    std::optional<std::string> temp;     // the temporary folder
};

// Reads the folders from the process environment. A folder that cannot be
// determined is left empty.
PlatformFolders platform_folders_from_environment();
