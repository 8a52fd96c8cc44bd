#pragma once
// The text header of an RGBE picture as the picture programs handle it: the
// lines are kept exactly (without their line ends) so that they can be copied
// into an output header, and the few lines with a meaning to a program are
// found by their start ("top-level": a line that begins with the key).
//
// A header starts with a printable byte and ends at the first empty line (LF
// or CR LF alone). Lines longer than header_piece_chars come back in pieces,
// each counted as a line of its own.

#include <string>
#include <string_view>
#include <vector>

#include "picture/block_reader.h"
#include "picture/header_limit.h"

inline constexpr size_t header_piece_chars = 2046;
inline constexpr std::string_view rgbe_format_name = "32-bit_rle_rgbe";

struct PictureHeader {
    std::vector<std::string> lines;

    // True when a line begins with "FORMAT=".
    bool has_format() const;
    // The first word after the last top-level "FORMAT=", "" without one.
    std::string format() const;
    // No FORMAT line, or one naming RGBE.
    bool is_rgbe() const { return !has_format() || format() == rgbe_format_name; }
    // The product of every top-level EXPOSURE= value, 1 without any.
    double exposure() const;
    // The product of the values of every line that holds "EXPOSURE=",
    // nested (tab-indented) copies included, as the application reads a
    // picture's exposure; values that are not positive finite numbers are
    // skipped, and the product of none is 1.
    double exposure_anywhere() const;
};

bool is_format_line(std::string_view line);
bool is_exposure_line(std::string_view line);
// The identifying first line, "#?RADIANCE" or another program's "#?...".
bool is_magic_line(std::string_view line);

// Reads lines up to and including the empty line into `lines` (which then
// holds whatever was read, also on failure). False for a first byte that is
// not printable, an end of file before the empty line (`partial` then holds
// a last line that had no line end) or a header longer than
// max_header_bytes (header_too_long then tells).
bool read_header_lines(BlockReader& in, std::vector<std::string>& lines, std::string* partial = nullptr);
bool header_too_long(const BlockReader& in);

// Appends "<name>:" and the header's lines, each after a TAB, leaving out the
// identifying line and FORMAT lines, and the top-level EXPOSURE lines unless
// `keep_exposure` (a program that writes the exposure itself at top level
// must not leave a second copy for readers that count nested lines).
void append_nested_header(std::vector<std::string>& out, std::string_view name, const PictureHeader& header,
                          bool keep_exposure);

// "CAPDATE= YYYY:MM:DD hh:mm:ss" (local time) and "GMT= ..." (UTC) for now.
std::vector<std::string> date_lines();

// "EXPOSURE=%e".
std::string exposure_line(double factor);
