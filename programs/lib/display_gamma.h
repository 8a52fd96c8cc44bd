#pragma once
// The 8-bit display mapping of the picture converters: gamma 2.2, no
// exposure change, no dithering, and the inverse used to turn an 8-bit mask
// back into an RGBE picture.
//
// Forward, per channel from mantissa m and x = E - 128 (rules of ra_bmp):
//   x > 8            255 (so a very bright pixel is white whatever its colour)
//   0 < x <= 8       i = (2m + 1) 2^(x-1); 255 if i > 255, else
//                    trunc(256 ((i + 0.5) / 256)^(1/2.2))
//   -31 <= x <= 0    trunc(256 ((m + 0.5) / 256 * 2^x)^(1/2.2))
//   -39 <= x < -31   as for x = -31 with mantissa ((m >> (-32 - x)) + 1) >> 1
//   x < -39          0 (E = 0 included)
// Inverse, per byte b: t = ((b + 0.5) / 256)^2.2, mantissa trunc(256 2^n t)
// with the smallest n >= 0 that makes it at least 128; a pixel takes the
// smallest n of its channels and the other mantissas are shifted down to it.
// Black therefore comes back as 1.1e-6, not 0.

#include <cstddef>
#include <cstdint>

#include "picture/rgbe_pixel.h"

struct DisplayByteTable {
    uint8_t byte[256][256];  // [exponent][mantissa]
    DisplayByteTable();
};

const DisplayByteTable& display_byte_table();

inline uint8_t display_byte(uint8_t mantissa, uint8_t exponent) {
    return display_byte_table().byte[exponent][mantissa];
}

enum class DisplayOrder { rgb, bgr };

// One scanline as PictureInput::read_planes gives it (n red mantissas, then
// n green, n blue and n exponents) as 8-bit display colours, three bytes a
// pixel in `order`.
inline void display_scanline(const uint8_t* planes, size_t n, DisplayOrder order, uint8_t* out) {
    const auto& table = display_byte_table();
    const uint8_t* first = planes + (order == DisplayOrder::rgb ? 0 : 2 * n);
    const uint8_t* green = planes + n;
    const uint8_t* last = planes + (order == DisplayOrder::rgb ? 2 * n : 0);
    const uint8_t* exponent = planes + 3 * n;
    for (size_t i = 0; i < n; ++i) {
        const uint8_t* to_byte = table.byte[exponent[i]];
        out[3 * i] = to_byte[first[i]];
        out[3 * i + 1] = to_byte[green[i]];
        out[3 * i + 2] = to_byte[last[i]];
    }
}

// The RGBE pixel of one 8-bit display colour.
RgbePixel pixel_from_display(uint8_t r, uint8_t g, uint8_t b);

// The RGBE pixel of 16-bit display channels, with the same gamma.
RgbePixel pixel_from_display16(uint16_t r, uint16_t g, uint16_t b);
