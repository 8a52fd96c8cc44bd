#pragma once
// ra_gif: RGBE picture to a 256-colour GIF for display, with the same
// mapping as ra_bmp (gamma 2.2, stored values, scanlines as rows) before the
// colours are reduced.

#include <string>

#include "lib/program_status.h"

struct GifOptions {
    std::string input;
    std::string output;
};

ProgramStatus convert_gif(const GifOptions& options);
