#pragma once
// ra_bmp: RGBE picture to 24-bit BMP with the display mapping, and with
// `reverse` (-r) a BMP back to an RGBE picture.
//
// Scanlines are rows whatever the picture's orientation, and the picture's
// exposure is ignored: the stored values are what is shown.

#include <string>

#include "lib/program_status.h"

struct BmpOptions {
    bool reverse = false;
    std::string command;  // program name and options, for the -r header
    std::string input;
    std::string output;
};

ProgramStatus convert_bmp(const BmpOptions& options);
