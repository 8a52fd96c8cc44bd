#pragma once
// Per-pixel conversions between RGBE pixels and float colours, for the loops
// that touch every pixel of a picture (filtering, combining, ranking).
//
// The results are exactly those of decode_rgbe() and encode_rgbe(): channel
// values are (m + 0.5) * 2^(E - 136), 0 when E = 0, and encoding truncates
// each mantissa against the largest channel's power of two. Only the way of
// getting there is cheaper: a table for the scale and the float's own bits
// instead of frexp/ldexp.

#include <bit>
#include <cstdint>

#include "picture/rgbe_pixel.h"

struct Color3 {
    float r = 0, g = 0, b = 0;
};

// 2^(E - 136) for every exponent byte, 0 for E = 0.
struct RgbeScaleTable {
    float scale[256];
    RgbeScaleTable() {
        scale[0] = 0.0f;
        for (int e = 1; e < 256; ++e) scale[e] = rgbe_scale(static_cast<uint8_t>(e));
    }
};

inline const RgbeScaleTable& rgbe_scale_table() {
    static const RgbeScaleTable table;
    return table;
}

inline Color3 decode_color(uint8_t r, uint8_t g, uint8_t b, uint8_t e) {
    const float f = rgbe_scale_table().scale[e];
    return {(static_cast<float>(r) + 0.5f) * f, (static_cast<float>(g) + 0.5f) * f,
            (static_cast<float>(b) + 0.5f) * f};
}

inline Color3 decode_color(const RgbePixel& p) { return decode_color(p.r, p.g, p.b, p.e); }

inline RgbePixel encode_color(float r, float g, float b) {
    float largest = r > g ? r : g;
    if (b > largest) largest = b;
    if (!(largest > 1e-32f)) return {};
    // largest is a normal positive float: its biased exponent gives frexp's
    // exponent e = biased - 126, and 2^(8 - e) is built from bits directly.
    const uint32_t biased = std::bit_cast<uint32_t>(largest) >> 23;
    if (biased >= 254) return {255, 255, 255, 255};
    const float scale = std::bit_cast<float>((261u - biased) << 23);
    auto mantissa = [scale](float v) -> uint8_t {
        return v > 0.0f ? static_cast<uint8_t>(static_cast<int>(v * scale)) : uint8_t{0};
    };
    return {mantissa(r), mantissa(g), mantissa(b), static_cast<uint8_t>(biased + 2)};
}

inline RgbePixel encode_color(const Color3& c) { return encode_color(c.r, c.g, c.b); }

// Encodes n colours given as three float arrays into planar RGBE bytes
// (red[n], green[n], blue[n], exponent[n]), exactly as encode_color() does,
// in a loop without branches that the compiler can vectorise.
void encode_colors(const float* red, const float* green, const float* blue, int n, uint8_t* planes);

// Multiplies every pixel of a planar RGBE scanline by `factor` in place:
// exactly decode_color(), each channel times factor, then encode_color().
void scale_planes(uint8_t* planes, int n, float factor);
