#pragma once
// What a recorded command line may be before replay hands it to the shell.
//
// A sequence file is a list of shell command lines that anyone can edit, so
// replay reads each line as the recorder writes them and refuses anything
// else: "/C ", then one or more of our picture programs joined by "|", with
// their arguments, the redirections "<", ">" and ">>", and double-quoted
// expressions (pcomb's -e) that hold no "$", "`", "\" or "!". Outside the
// quotes only letters, digits, blanks and "/._-+,=:%@" may appear. Lines
// that pass still run through /bin/sh, but the shell then has nothing to
// expand or chain.

#include <string>
#include <string_view>
#include <vector>

#include "common/result.h"

struct ReplayableLine {
    std::vector<std::string> programs;        // the first word of each piped command
    std::vector<std::string> output_targets;  // the word after each ">" or ">>"
};

// The line's programs and output files, or why the line may not be replayed.
Result<ReplayableLine> read_replayable_line(std::string_view command_line);

// True for the programs the application runs on pictures.
bool is_picture_program(std::string_view name);
