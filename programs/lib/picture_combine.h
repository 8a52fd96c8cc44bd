#pragma once
// pcomb: computes every output pixel from the same pixel of one or more
// input pictures with calc definitions of ro, go and bo.
//
// ri(n), gi(n), bi(n) are the red, green and blue of input n (from 1) at the
// current pixel: the stored values, or, for an input given with -o, divided
// by its top-level exposure (whose lines are then left out of the output).
// le(n) is input n's exposure: the product of every EXPOSURE= value in its
// header, nested copies included, as the application reads a picture (the
// reference counts only top-level lines); 1 after -o and for an n that names
// no input. An output
// without a definition copies input 1's channel. Negative results become 0.
// A division by zero in a pixel gives 0 quietly (a black pixel in a divisor
// picture is ordinary); a divisor written as zero is refused before any
// pixel is computed.
//
// All inputs must have the same scanline length and count; scanlines are
// rows, and the output is in the standard orientation. Its header nests
// each input's header (EXPOSURE lines included, since the stored values are
// kept, except an -o input's top-level ones) and writes no top-level
// EXPOSURE: a reader that counts nested lines
// takes the output's exposure to be the product of all inputs' exposures,
// which is why the application's expressions scale their operands by le(n).

#include <string>
#include <vector>

#include "lib/program_status.h"

struct CombineInput {
    std::string path;
    bool original_values = false;  // -o
};

struct CombineOptions {
    std::string command;                   // recorded in the output header
    std::vector<std::string> expressions;  // each -e text
    std::vector<CombineInput> inputs;
};

// Writes the picture to standard output.
ProgramStatus combine_pictures(const CombineOptions& options);
