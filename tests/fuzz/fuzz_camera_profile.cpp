// A camera profile as a user might have edited it: read, and what reads
// is written and read back to the same fields.

#include <cstdlib>
#include <string>

#include "profiles/camera_profile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    auto profile = parse_camera_profile(text);
    if (!profile) return 0;
    auto again = parse_camera_profile(camera_profile_text(profile.value()));
    if (!again || again.value().name != profile.value().name ||
        again.value().vignetting != profile.value().vignetting)
        std::abort();
    return 0;
}
