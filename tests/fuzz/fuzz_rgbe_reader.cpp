// The application's RGBE reader, from memory: both results.

#include <cstdio>

#include "picture/rgbe_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    for (int pass = 0; pass < 2; ++pass) {
        std::FILE* file = fmemopen(const_cast<uint8_t*>(data), size, "rb");
        if (!file) return 0;
        if (pass == 0) {
            auto map = load_luminance_map(file);
            if (map.ok() && map.value().data.size() != static_cast<size_t>(map.value().width) * map.value().height)
                __builtin_trap();
        } else {
            auto picture = ra2picarray(file);
            if (picture.ok() && picture.value().pixels.size() != static_cast<size_t>(picture.value().scanline_length) *
                                                                     picture.value().scanline_count)
                __builtin_trap();
        }
        std::fclose(file);
    }
    return 0;
}
