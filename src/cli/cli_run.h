#pragma once
// What the commands of candelux-cli share: the two output streams, the exit
// codes, the one-line error, and reading the picture a command is given.

#include <ostream>
#include <string>

#include "common/result.h"
#include "picture/luminance_map.h"
#include "picture/radiance_luminance.h"

// The work itself failed: a program, a write, a step of a batch.
inline constexpr int exit_failed = 1;
// The command line or a file it names was refused before anything was
// written.
inline constexpr int exit_bad_input = 2;

struct CliOutput {
    std::ostream& out;  // results
    std::ostream& err;  // errors, warnings and progress
    std::string command;
    bool err_is_terminal = false;  // progress may then be rewritten in place

    // "candelux-cli COMMAND: message" on one line of `err`; returns `code`.
    int fail(int code, const std::string& message) const;
    void warn(const std::string& message) const;
};

// The picture's luminance map (the readout's BT.709 weights, or Radiance's
// as evalglare weighs colour); a failure names the file and why, in one line.
Result<LuminanceMap> read_picture(const std::string& path, LuminanceWeights weights = LuminanceWeights::bt709);

// Why an output may not be written: it is there already (a symbolic link
// counts, even one that leads nowhere) and --overwrite was not given; ""
// when it may.
std::string existing_output_problem(const std::string& path, bool overwrite);

// A word the shell reads back as `text`, in single quotes: the same for the
// POSIX shell and for bash, whatever it holds (braces, globs, quotes).
std::string quoted_word(const std::string& text);

// The path without slashes at its end ("/" stays).
std::string without_trailing_slash(std::string path);
// The path made absolute and normal, as the commands a run prints name
// files (the path as it is when that fails).
std::string absolute_path(const std::string& path);

// A relative path that begins with "-" as "./-name", so that no program
// takes it for an option; any other path as it is.
std::string not_an_option(const std::string& path);
