// histo's printed histogram as the statistics take it: 256 lines of two
// numbers, anything else refused.

#include <string_view>

#include "analysis/histogram_run.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    if (auto histogram = parse_histogram(text)) (void)histogram_peak(*histogram);
    return 0;
}
