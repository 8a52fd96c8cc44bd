// histo: counts the numbers read from standard input into n equal bins
// between min (default 0) and max, one histogram per column.
//
//   histo [min] max n < numbers

#include <cstdio>

#include "lib/command_line.h"
#include "lib/histogram_counter.h"

namespace {

const char* const usage =
    "Usage: histo [min] max n < numbers\n"
    "   counts each column of numbers in n bins (n at most 1024) between min and max";

ProgramStatus parse_options(int argc, char** argv, HistogramOptions& options) {
    if (argc != 3 && argc != 4) return plain_failure(usage);
    const auto min = argc == 4 ? parse_number(argv[1]) : std::optional<double>(0.0);
    const auto max = parse_number(argv[argc - 2]);
    const auto bins = parse_integer(argv[argc - 1]);
    if (!min || !max || !bins || *bins < 1) return plain_failure(usage);
    if (*bins > max_histogram_bins) {
        std::fprintf(stderr, "%s: maximum number of divisions: %d\n", argv[0], max_histogram_bins);
        return plain_failure(usage);
    }
    if (!(*min < *max)) return plain_failure(usage);
    options.min = *min;
    options.max = *max;
    options.bins = static_cast<int>(*bins);
    return success();
}

}  // namespace

int main(int argc, char** argv) {
    HistogramOptions options;
    if (auto status = parse_options(argc, argv, options); !status.ok()) return finish_program(argv[0], status);
    return finish_program(argv[0], count_histogram(options));
}
