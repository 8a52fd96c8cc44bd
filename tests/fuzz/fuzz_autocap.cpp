// The automatic capture list autocap.asf.

#include "capture/autocap_file.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const auto lines = fuzz_lines(data, size);
    (void)parse_autocap(lines);
    for (const auto& line : lines) (void)strip_white_space(line);
    return 0;
}
