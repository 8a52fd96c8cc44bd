#pragma once
// tm_linear: a display-referred RGBE picture (pcond's output) to a JPEG.
//
// The stored values are shown as they are: the exposure is ignored, each
// channel is clipped to [0, 1] and given the display gamma 2.2 of ra_bmp
// (lib/display_gamma.h), and scanlines are rows, so the JPEG looks like the
// display copy of the same picture.

#include <string>

#include "lib/program_status.h"

struct LinearJpegOptions {
    std::string input;
    std::string output;
};

ProgramStatus convert_linear_jpeg(const LinearJpegOptions& options);
