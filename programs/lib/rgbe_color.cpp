#include "lib/rgbe_color.h"

void encode_colors(const float* __restrict red, const float* __restrict green, const float* __restrict blue, int n,
                   uint8_t* __restrict planes) {
    const size_t count = static_cast<size_t>(n);
    uint8_t* __restrict out_r = planes;
    uint8_t* __restrict out_g = planes + count;
    uint8_t* __restrict out_b = planes + 2 * count;
    uint8_t* __restrict out_e = planes + 3 * count;
    for (size_t i = 0; i < count; ++i) {
        const float r = red[i], g = green[i], b = blue[i];
        float largest = r < g ? g : r;
        largest = largest < b ? b : largest;
        const uint32_t biased = std::bit_cast<uint32_t>(largest) >> 23;
        // Limiting the exponent keeps every product below 512 (no overflow
        // in the conversion); saturated pixels are replaced below anyway.
        const uint32_t limited = biased < 253u ? biased : 253u;
        const float scale = std::bit_cast<float>((261u - limited) << 23);
        const uint32_t mr = static_cast<uint32_t>(static_cast<int32_t>((r < 0.0f ? 0.0f : r) * scale));
        const uint32_t mg = static_cast<uint32_t>(static_cast<int32_t>((g < 0.0f ? 0.0f : g) * scale));
        const uint32_t mb = static_cast<uint32_t>(static_cast<int32_t>((b < 0.0f ? 0.0f : b) * scale));
        // Masks instead of branches: all ones to keep a value or to saturate it.
        const uint32_t keep = 0u - static_cast<uint32_t>(largest > 1e-32f);
        const uint32_t full = 0u - static_cast<uint32_t>(biased >= 254u);
        out_r[i] = static_cast<uint8_t>((mr | full) & keep);
        out_g[i] = static_cast<uint8_t>((mg | full) & keep);
        out_b[i] = static_cast<uint8_t>((mb | full) & keep);
        out_e[i] = static_cast<uint8_t>(((biased + 2u) | full) & keep);
    }
}
