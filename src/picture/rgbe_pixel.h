#pragma once
// One RGBE pixel: red, green and blue mantissas sharing one biased exponent.
// A channel's value is (mantissa + 0.5) * 2^(E - 136); E = 0 means black to
// the picture programs, while the application's luminance map keeps the tiny
// positive value the formula gives (see luminance()).

#include <cmath>
#include <cstdint>

#include "common/physics.h"

struct RgbePixel {
    uint8_t r = 0, g = 0, b = 0, e = 0;
    friend bool operator==(const RgbePixel&, const RgbePixel&) = default;
};
static_assert(sizeof(RgbePixel) == 4);

// 2^(E - 136) in single precision (exact for every E: the smallest is a
// denormal float, 2^-136).
inline float rgbe_scale(uint8_t exponent) {
    return std::ldexp(1.0f, static_cast<int>(exponent) - physics::rgbe_exponent_bias);
}

// Luminance in cd/m² of one pixel under an exposure product, with the
// application's exact single-precision steps: each channel (m + 0.5) * f,
// each BT.709-weighted term rounded to float, the float sum times 179 rounded
// to float, then divided by the exposure.
inline float rgbe_luminance(uint8_t r, uint8_t g, uint8_t b, uint8_t e, float exposure) {
    const float f = rgbe_scale(e);
    const float rr = (static_cast<float>(r) + 0.5f) * f;
    const float gg = (static_cast<float>(g) + 0.5f) * f;
    const float bb = (static_cast<float>(b) + 0.5f) * f;
    const float tr = static_cast<float>(physics::weight_red * rr);
    const float tg = static_cast<float>(physics::weight_green * gg);
    const float tb = static_cast<float>(physics::weight_blue * bb);
    const float sum = tr + tg + tb;
    const float scaled = static_cast<float>(physics::luminous_efficacy * sum);
    return scaled / exposure;
}

// Decoded channel values as the picture programs see them: 0 when E = 0.
struct RgbColor {
    float r = 0, g = 0, b = 0;
};

inline RgbColor decode_rgbe(const RgbePixel& p) {
    if (p.e == 0) return {};
    const float f = rgbe_scale(p.e);
    return {(p.r + 0.5f) * f, (p.g + 0.5f) * f, (p.b + 0.5f) * f};
}

// Radiance's encoding: the largest channel sets the exponent, each mantissa is
// truncated (so re-encoding a decoded value gives back the same mantissas);
// negative channels become 0, anything at or below 1e-32 is black.
inline RgbePixel encode_rgbe(float r, float g, float b) {
    float largest = r > g ? r : g;
    if (b > largest) largest = b;
    if (!(largest > 1e-32f)) return {};
    int exponent = 0;
    const double fraction = std::frexp(static_cast<double>(largest), &exponent);
    (void)fraction;
    const double scale = std::ldexp(256.0, -exponent);
    auto mantissa = [scale](float v) -> uint8_t {
        if (v <= 0) return 0;
        const double m = std::floor(v * scale);
        return static_cast<uint8_t>(m > 255 ? 255 : m);
    };
    if (exponent + 128 > 255) return {255, 255, 255, 255};
    if (exponent + 128 < 1) return {};
    return {mantissa(r), mantissa(g), mantissa(b), static_cast<uint8_t>(exponent + 128)};
}
