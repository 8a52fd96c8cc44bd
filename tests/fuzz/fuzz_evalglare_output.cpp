// evalglare's printed output as the glare pages judge it, and the glare
// options built for any picture size and task position.

#include <string_view>

#include "analysis/glare_command.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    (void)has_glare_result(text);
    if (size >= 8) {
        const int width = (data[0] << 8 | data[1]) + 1, height = (data[2] << 8 | data[3]) + 1;
        const GlareScale scale = glare_scale(width, height);
        (void)scaled_task_position(scale, data[4] << 8 | data[5], data[6] << 8 | data[7]);
    }
    return 0;
}
