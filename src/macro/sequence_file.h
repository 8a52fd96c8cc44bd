#pragma once
// Sequence files (".seq"): the command lines a macro recording collected, one
// per line, as "number#command line#value".
//
// The number is the menu command that led to the line, the value "NULL" or,
// for an exposure change, the exposure the user asked for. Lines end in
// CR LF; readers accept LF as well. A command line never holds "#", since
// readers split at the first two.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/result.h"

// The menu command whose lines carry an exposure value.
inline constexpr unsigned long exposure_command_number = 40018;

struct SequenceEntry {
    std::string line;                     // as read, without its line end
    std::optional<unsigned long> number;  // field 1; none when the line holds no "#"
    std::string command;                  // field 2; the whole line when it holds no "#"
    std::string value;                    // after the last "#"; "" when there is none
};

// Splits at every "\n" (a "\r" before it is dropped). A final line end leaves
// one more, empty entry, as it does in the file. A UTF-8 byte-order mark at
// the start (some editors write one) is not part of the first line.
std::vector<SequenceEntry> parse_sequence(std::string_view text);

// A recording is a few lines; a file far larger is not one, and replaying it
// on a folder would only multiply the damage.
inline constexpr size_t max_sequence_bytes = 1 << 20;
inline constexpr size_t max_sequence_lines = 10000;

// The text of a sequence file, read once: it must be a regular file of at
// most max_sequence_bytes and max_sequence_lines. Fails with the message.
Result<std::string> read_sequence_file(const std::string& path);

// An unsigned number whose base its prefix gives: "0x" hexadecimal, a
// leading 0 octal, decimal otherwise; reading stops at the first character
// that is not a digit of that base. 0 when there is no digit.
unsigned long parse_command_number(std::string_view text);

// One line as the recorder writes it, without its line end.
std::string format_sequence_line(int command_number, std::string_view command_line, std::string_view value);

// The name a recording is saved under: the chosen path, with ".seq" appended
// unless its file name already ends in ".seq".
std::string with_sequence_extension(const std::string& path);
