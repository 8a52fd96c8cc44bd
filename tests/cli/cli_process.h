#pragma once
// Runs the built candelux-cli as a script would, with its own configuration
// and cache folders, and keeps what it printed on each stream apart.

#include <sys/types.h>

#include <functional>
#include <string>
#include <vector>

#include "support/temp_folder.h"

struct CliRun {
    int status = -1;
    std::string out;
    std::string err;
};

// The words are passed to the shell as written (quote what it must not
// split). The program reads its settings from `config` (XDG_CONFIG_HOME) and
// keeps its default cache in `cache_home` (XDG_CACHE_HOME), and runs in
// `working_folder` when one is given.
CliRun run_candelux_cli(const std::string& words, const std::string& config, const std::string& cache_home,
                        const std::string& working_folder = "");

// A candelux-cli started in the background, for what a test does while it
// runs (signal it, start a second one). Its standard error goes to a file.
struct BackgroundCli {
    pid_t pid = -1;
    std::filesystem::path err_file;

    // Waits for the program to end: its exit status, or 128 + the signal
    // that killed it.
    int wait() const;
    std::string err() const;
};

// `words` as separate arguments (no shell); `programs` is put in
// CANDELUX_PROGRAMS when not empty.
BackgroundCli start_candelux_cli(const std::vector<std::string>& words, const std::string& config,
                                 const std::string& cache_home, const std::string& programs,
                                 const std::filesystem::path& err_file);

// Polls `condition` until it holds; false only after a minute without it,
// which means the run under test hangs.
bool eventually(const std::function<bool()>& condition);

// A folder of programs: every built picture program, with `name` replaced
// by a shell script of `body`.
void write_program_folder(const std::filesystem::path& folder, const std::string& name, const std::string& body);

// Every file below `folder`, with its size, one per line, sorted: what a run
// must leave unchanged.
std::string folder_listing(const std::filesystem::path& folder);
