#pragma once
// histo: counts numbers into equal bins between min and max.
//
// Every number on every input line is counted in the histogram of its
// column; a value at or below min or at or above max is ignored, any other
// falls in bin trunc(n (d - min) / (max - min)). The output has one line per
// bin: the bin centre (%g), then a TAB and the count for each column.

#include "lib/program_status.h"

struct HistogramOptions {
    double min = 0;
    double max = 1;
    int bins = 1;
};

inline constexpr int max_histogram_bins = 1024;

// Reads standard input, writes the table to standard output.
ProgramStatus count_histogram(const HistogramOptions& options);
