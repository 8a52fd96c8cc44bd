#pragma once
// The words of a recorded command line, read as data.
//
// A sequence file is a list of shell command lines that anyone can edit, so
// replay never hands one to a shell. It reads the line as the recorder writes
// them: "/C ", one program and its words, and the redirections "<", ">" and
// ">>". A word may be double-quoted in whole or in part (pcomb's -e
// expression); inside quotes there is no "$", "`", "\" or "!", outside them
// only letters, digits, blanks and "/._-+,=:%@". A "|" or any other character
// a shell acts on refuses the line. What the words mean is decided by
// replay_operation.h; the command that runs is built anew from that meaning.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/result.h"

struct CommandWord {
    std::string text;     // without its quotes
    bool quoted = false;  // some of it stood in double quotes
};

struct RecordedCommand {
    std::string program;
    std::vector<CommandWord> words;  // after the program, redirections left out
    std::optional<std::string> input;   // the file after "<"
    std::optional<std::string> output;  // the file after ">" or ">>"
    bool appends = false;               // the output came after ">>"
};

// The line's program, words and redirections, or why it is not a single
// command of the recorder's shape.
Result<RecordedCommand> read_recorded_command(std::string_view command_line);

// `text` in a form a terminal shows as it is: control characters (C0, DEL
// and C1) become "\t", "\r", "\n" or "\xNN". Sequence lines and picture
// names come from files anyone can edit.
std::string escaped_for_display(std::string_view text);
