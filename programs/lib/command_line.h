#pragma once
// Helpers for the programs' command lines: reading option values the way the
// picture programs always have (numbers as strtod reads them, offsets as atoi
// reads them) and writing a command back into a picture header.

#include <optional>
#include <span>
#include <string>
#include <string_view>

// A number that fills the whole word as strtod reads it ("2", "1e+020",
// "-0.5", "inf"); nothing for an empty word or trailing characters.
std::optional<double> parse_number(std::string_view word);

// A whole-word decimal integer; nothing otherwise.
std::optional<long> parse_integer(std::string_view word);

// atoi's reading: optional blanks and sign, then digits, anything else
// ignored; 0 when there are no digits ("--5" reads as 0).
long leading_integer(std::string_view word);

// The words joined by single blanks; a word containing white space is put in
// double quotes, or in single quotes when it contains a double quote.
std::string command_line_text(std::span<const std::string> words);
std::string command_line_text(int argc, char** argv);

// The program's name without directory and extension ("/x/pfilt.exe" ->
// "pfilt").
std::string program_base_name(std::string_view argv0);
