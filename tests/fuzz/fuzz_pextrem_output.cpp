// pextrem's printed output as the extremes reader takes it apart.

#include <cmath>
#include <string_view>

#include "tools/extremes.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    for (float exposure : {1.0f, 0.5f, 0.0f}) (void)parse_extremes(text, exposure);
    return 0;
}
