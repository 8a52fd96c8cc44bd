#pragma once
// pfilt: exposure scaling and resizing with a box filter.
//
// Sizes act in scan coordinates: x along the scanlines, y across them,
// whatever the orientation. Reducing averages, for output index c, the input
// indices k with c <= k * n / N < c + 1 over the x-by-y rectangle; keeping or
// enlarging a size takes input index trunc((c + 0.5) * N / n). Values are
// decoded, multiplied by the exposure factor and averaged in single
// precision, then encoded again.
//
// Without `one_pass`, the factor also brings the picture's mean brightness to
// 0.5: the mean over pixels brighter than 0 and darker than 100 times the
// picture's own exposure.
//
// The output header copies every input line, then the command, a PIXASPECT
// line when the pixel shape changes by more than 2 %, and an EXPOSURE line
// whenever the factor is not exactly 1 (a reader that multiplies header
// exposures then sees the original values, however small the change).

#include <string>

#include "lib/program_status.h"

struct FilterSize {
    bool set = false;
    bool reduce = false;  // "/F": the input size divided by value
    double value = 0;
};

struct FilterOptions {
    std::string command;  // program name and options, recorded in the header
    bool one_pass = false;
    double exposure = 1.0;
    FilterSize x;
    FilterSize y;
    std::string input;  // standard input when empty
};

// Writes the picture to standard output.
ProgramStatus filter_picture(const FilterOptions& options);

// The output size of one axis of `input` pixels; 0 or less is illegal.
long filtered_size(const FilterSize& size, int input);
