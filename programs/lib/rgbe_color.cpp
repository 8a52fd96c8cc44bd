#include "lib/rgbe_color.h"

#include "common/vector_clones.h"

namespace {

// Encodes one colour as encode_color() does, without branches, so that a
// loop of them runs on whole vectors.
inline void encode_lane(float r, float g, float b, uint8_t& out_r, uint8_t& out_g, uint8_t& out_b, uint8_t& out_e) {
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
    out_r = static_cast<uint8_t>((mr | full) & keep);
    out_g = static_cast<uint8_t>((mg | full) & keep);
    out_b = static_cast<uint8_t>((mb | full) & keep);
    out_e = static_cast<uint8_t>(((biased + 2u) | full) & keep);
}

// rgbe_scale(e) from the exponent's bits: 2^(e - 136) is a normal float
// from e = 10 on, a subnormal one below, and 0 for e = 0.
inline float scale_of_exponent(uint32_t e) {
    const uint32_t normal = (e - 9u) << 23;
    const uint32_t subnormal = e == 0 ? 0u : 1u << ((e + 13u) & 31u);
    return std::bit_cast<float>(e >= 10u ? normal : subnormal);
}

}  // namespace

CANDELUX_VECTOR_CLONES
void encode_colors(const float* __restrict red, const float* __restrict green, const float* __restrict blue, int n,
                   uint8_t* __restrict planes) {
    const size_t count = static_cast<size_t>(n);
    uint8_t* __restrict out_r = planes;
    uint8_t* __restrict out_g = planes + count;
    uint8_t* __restrict out_b = planes + 2 * count;
    uint8_t* __restrict out_e = planes + 3 * count;
    for (size_t i = 0; i < count; ++i) encode_lane(red[i], green[i], blue[i], out_r[i], out_g[i], out_b[i], out_e[i]);
}

CANDELUX_VECTOR_CLONES
void scale_planes(uint8_t* planes, int n, float factor) {
    const size_t count = static_cast<size_t>(n);
    uint8_t* __restrict pr = planes;
    uint8_t* __restrict pg = planes + count;
    uint8_t* __restrict pb = planes + 2 * count;
    uint8_t* __restrict pe = planes + 3 * count;
    // A block at a time: decoded into floats, then encoded over itself.
    constexpr size_t block = 64;
    float r[block], g[block], b[block];
    for (size_t first = 0; first < count; first += block) {
        const size_t m = count - first < block ? count - first : block;
        for (size_t j = 0; j < m; ++j) {
            const size_t i = first + j;
            const float f = scale_of_exponent(pe[i]) * factor;
            r[j] = (static_cast<float>(pr[i]) + 0.5f) * f;
            g[j] = (static_cast<float>(pg[i]) + 0.5f) * f;
            b[j] = (static_cast<float>(pb[i]) + 0.5f) * f;
        }
        for (size_t j = 0; j < m; ++j) {
            const size_t i = first + j;
            encode_lane(r[j], g[j], b[j], pr[i], pg[i], pb[i], pe[i]);
        }
    }
}
