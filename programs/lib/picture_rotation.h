#pragma once
// protate: a clockwise quarter turn of the scan grid. Output scanline k,
// pixel j is input scanline S-1-j, pixel k; the resolution line keeps each
// axis with its own count and turns the orientation, so programs that honour
// orientation see the same image while viewers that treat scanlines as rows
// see it turned clockwise. Pixel bytes are copied.

#include <string>

#include "lib/program_status.h"
#include "picture/resolution_line.h"

struct RotateOptions {
    std::string command;  // the line recorded in the output header
    std::string input;
    std::string output;
};

ProgramStatus rotate_picture(const RotateOptions& options);

// The resolution line after a clockwise turn.
ResolutionLine rotated_resolution(const ResolutionLine& line);
