// BMP masks as ra_bmp -r reads them.

#include "fuzz_support.h"
#include "lib/bmp_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const auto image = read_bmp(fuzz_input_file(data, size, ".bmp"));
    if (image && image->rgb.size() != 3 * static_cast<size_t>(image->width) * static_cast<size_t>(image->height))
        __builtin_trap();
    return 0;
}
