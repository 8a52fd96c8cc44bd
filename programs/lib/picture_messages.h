#pragma once
// Opening an input picture with each program's own wording of what went
// wrong. The picture programs have always disagreed on those words
// ("x.hdr: cannot open", "can't open file \"x.hdr\"", perror's text), and
// callers may look for them, so every program names its own.
//
// In a text, "{file}" stands for the file name, "{error}" for the system's
// reason and "{y}" for the number of scanlines still unread. A text that
// begins with "{file}" is printed as it stands; any other gets the program's
// name in front.

#include <string>
#include <string_view>
#include <vector>

#include "lib/picture_input.h"
#include "lib/picture_output.h"
#include "lib/program_status.h"

struct PictureMessages {
    std::string_view cannot_open;
    std::string_view bad_header;      // not a header at all
    std::string_view foreign_format;  // a FORMAT other than RGBE
    std::string_view bad_size;        // no resolution line
    std::string_view read_error;      // damaged or truncated pixels
};

ProgramStatus picture_failure(std::string_view text, const std::string& file, int y = 0);

// The status for an input that could not be opened: the program's own words,
// or what the file is when it is not a regular file.
ProgramStatus open_failure(const PictureMessages& messages, const PictureInput& in, const std::string& path);

// The read-error status for the scanline that could not be read.
ProgramStatus read_failure(const PictureMessages& messages, const PictureInput& in, const std::string& file);

// Opens `path` (standard input when empty) and reads its preamble; with
// `rgbe_only`, a picture in another FORMAT is refused.
ProgramStatus open_picture(PictureInput& in, const std::string& path, const PictureMessages& messages,
                           bool rgbe_only = true);

// Opens the input, creates the output, then reads the input's preamble: the
// order in which the programs that name both files have always failed.
ProgramStatus open_picture_pair(PictureInput& in, const std::string& input, PictureOutput& out,
                                const std::string& output, const PictureMessages& messages);

// The input's header lines with FORMAT lines moved to the end as one
// "FORMAT=32-bit_rle_rgbe" (when the input had one), followed by `command`:
// the header of a program that moves pixels without changing their values.
std::vector<std::string> header_with_command(const PictureHeader& header, const std::string& command);
