#pragma once
// What the two JPEG exporters (tm_linear, ReinhardTM) share: their failure
// texts and the last step, writing the display image.
//
// Whoever runs them recognises a failure only by the word "Unknown" in what
// they print, so every failure text of theirs contains it.

#include <string>

#include "lib/jpeg_file.h"
#include "lib/picture_messages.h"
#include "lib/program_status.h"

// "Unknown input: cannot open FILE", "Unknown input format: FILE is not a
// Radiance picture", ...
const PictureMessages& export_input_messages();

// "Unknown option: -x".
ProgramStatus unknown_option(const std::string& option);

// "Unknown usage: -i and -o are required".
ProgramStatus missing_files();

// Writes the JPEG; "Unknown output: cannot write FILE" when that fails.
ProgramStatus save_display_image(const std::string& path, const DisplayImage& image);
