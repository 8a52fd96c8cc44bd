#include "lib/histogram_counter.h"

#include <cstdio>
#include <cstring>
#include <vector>

#include "lib/text_stream.h"

namespace {

constexpr size_t max_columns = 4096;

}  // namespace

ProgramStatus count_histogram(const HistogramOptions& options) {
    const double min = options.min;
    const double max = options.max;
    const double range = max - min;
    const double bins = options.bins;
    // counts[column * n + bin]
    std::vector<long> counts;
    size_t columns = 0;
    LineReader lines(stdin);
    std::string_view line;
    // Sorted input (the statistics' samples) repeats lines; a repeated line
    // counts into the same bins as the line before, found without reading
    // its numbers again. Only lines of one column are remembered; the view
    // of the last line stays valid while repeats are skipped, since skipping
    // reads nothing.
    std::string_view last_line;
    bool remembered = false;
    long* last_bin = nullptr;  // null: the line counted nowhere
    for (;;) {
        if (remembered && starts_with_line(lines.buffered(), last_line.data(), last_line.size())) {
            lines.skip(last_line.size() + 1);
            if (last_bin) ++*last_bin;
            continue;
        }
        if (!lines.next(line)) break;
        const char* at = line.data();
        const char* end = at + line.size();
        size_t numbers = 0;
        long* counted = nullptr;
        for (size_t column = 0; column < max_columns; ++column) {
            at = skip_blanks(at, end);
            if (at == end) break;
            double d = 0;
            const char* after = read_number(at, end, d);
            if (after == at) break;
            at = after;
            ++numbers;
            if (column >= columns) {
                columns = column + 1;
                counts.resize(columns * static_cast<size_t>(options.bins), 0);
            }
            if (d <= min || d >= max) continue;
            const int bin = static_cast<int>(bins * (d - min) / range);
            if (bin < options.bins) {
                counted = &counts[column * static_cast<size_t>(options.bins) + static_cast<size_t>(bin)];
                ++*counted;
            }
        }
        // The remembered bin stays valid: counts grows only for a line of
        // more columns, which forgets the line remembered.
        remembered = numbers == 1;
        last_line = line;
        last_bin = counted;
    }
    if (lines.failed()) return program_failure("read error");

    TextWriter out(stdout);
    for (int i = 0; i < options.bins; ++i) {
        char* text = out.reserve(64 + 24 * columns);
        text += std::snprintf(text, 64, "%g", min + range * (i + 0.5) / bins);
        for (size_t c = 0; c < columns; ++c)
            text += std::snprintf(text, 24, "\t%ld", counts[c * static_cast<size_t>(options.bins) + static_cast<size_t>(i)]);
        *text++ = '\n';
        out.commit(text);
    }
    out.flush();
    return out.failed() ? program_failure("write error") : success();
}
