#pragma once
// The picture header as getinfo prints it, as the header dialog shows it,
// and as it is written back in front of the pixel data.
//
// getinfo prints the picture's name and a colon on its first line, then each
// header line after a tab, then a lone tab: the header lines are the pieces
// between line feed + tab pairs.

#include <string>
#include <string_view>
#include <vector>

// "/C getinfo I  > T": the header as text into T.
std::string header_read_for_editing_command(const std::string& input, const std::string& text_file);
// "/C getinfo - < I>> T": appends I's pixel data (without its header) to T.
std::string header_put_back_command(const std::string& input, const std::string& text_file);
// "/C getinfo I": the header on standard output.
std::string header_read_command(const std::string& input);

// The header lines of getinfo's output, without the name line. Lines are cut
// at each line feed + tab (a carriage return before the line feed belongs to
// the cut); whatever follows the last cut counts too unless it is blank.
std::vector<std::string> header_lines_of(std::string_view output);

// What the header dialog shows of getinfo's output in the text file: the
// name line left out, tabs dropped, one line per line.
std::string header_edit_text(std::string_view file_text);

// The edit text as a text widget can show it and hand it back unchanged:
// every byte that is not part of well-formed UTF-8 (a Latin-1 letter, a
// stray byte of a camera's header) and every NUL becomes U+FFFD.
std::string readable_edit_text(std::string_view edit_text);

// The edited text with each line that still reads as `readable_edit_text`
// showed a line of `original` given that line's own bytes back, so a header
// line that was not edited keeps bytes the widget could not show.
std::string with_unedited_bytes(std::string_view edited, std::string_view original);

// What the dialog writes back: every line of the edit longer than one
// character, each ending in a line feed, then the empty line that ends a
// header.
std::string header_file_text(std::string_view edit_text);

// The view line a projection's input gets: an angular fisheye of 180°.
inline constexpr const char* fisheye_view_line = "VIEW= -vta -vh 180 -vv 180";

// The header of the projection's input: the lines that describe the picture
// itself (#?RADIANCE, CAMERA=, PRIMARIES=, FORMAT=, SOFTWARE=) as they are,
// one EXPOSURE= line with the picture's whole exposure (where the first
// EXPOSURE= line stood, else after the others), the fisheye view line, and
// the empty line. Every other line (earlier views, command lines, further
// exposures) is dropped.
std::string projection_header(const std::vector<std::string>& lines, float exposure);

// An EXPOSURE= line that reads back as exactly `exposure`.
std::string exposure_line(float exposure);
