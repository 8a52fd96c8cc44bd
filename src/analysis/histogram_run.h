#pragma once
// The 256-bin histogram of log10 luminance is made by our picture programs:
// rcalc turns each line of the sample file into its log10 (dropping values
// not above 1e-7) and histo counts them into equal bins between lo and hi,
// printing one line per bin, "centre<TAB>count".
//
// The expression carries rcalc's field names ($1), which /bin/sh would expand
// inside double quotes, so it is passed in single quotes.

#include <optional>
#include <string>
#include <string_view>

#include "analysis/region_statistics.h"

struct HistogramRange {
    std::string lo;  // log10(minimum) - 0.01, as a default stream prints a float
    std::string hi;  // log10(maximum) + 0.01
};

HistogramRange histogram_range(float minimum, float maximum);

// "/C rcalc -e '...' <samples> | histo lo hi 256".
std::string histogram_command(const std::string& sample_file, const HistogramRange& range);

// histo's table: exactly 256 lines, each two numbers separated by a tab,
// ended by LF or CR LF. Anything else is not a histogram.
std::optional<LuminanceHistogram> parse_histogram(std::string_view output);
