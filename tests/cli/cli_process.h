#pragma once
// Runs the built candelux-cli as a script would, with its own configuration
// and cache folders, and keeps what it printed on each stream apart.

#include <string>

#include "support/temp_folder.h"

struct CliRun {
    int status = -1;
    std::string out;
    std::string err;
};

// The words are passed to the shell as written (quote what it must not
// split). The program reads its settings from `config` (XDG_CONFIG_HOME) and
// keeps its default cache in `cache_home` (XDG_CACHE_HOME).
CliRun run_candelux_cli(const std::string& words, const std::string& config, const std::string& cache_home);

// Every file below `folder`, with its size, one per line, sorted: what a run
// must leave unchanged.
std::string folder_listing(const std::filesystem::path& folder);
