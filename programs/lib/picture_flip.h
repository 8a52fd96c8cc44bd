#pragma once
// pflip: mirrors a picture. With `scan_order` (-c) the flips act on the file
// as it stands: horizontal reverses every scanline, vertical reverses the
// order of the scanlines, and the resolution line is kept. Without it they
// act on the image as its orientation shows it, which for a picture whose
// scanlines are columns swaps the two. Pixel bytes are copied.

#include <string>

#include "lib/program_status.h"

struct FlipOptions {
    std::string command;  // recorded in the output header
    bool scan_order = false;
    bool horizontal = false;
    bool vertical = false;
    std::string input;
    std::string output;
};

ProgramStatus flip_picture(const FlipOptions& options);
