#include "lib/display_gamma.h"

#include <cmath>

#include "lib/rgbe_color.h"

namespace {

constexpr double display_gamma = 2.2;

uint8_t gamma_byte(double value) {
    const double byte = std::trunc(256.0 * std::pow(value, 1.0 / display_gamma));
    return static_cast<uint8_t>(byte > 255 ? 255 : byte);
}

uint8_t forward(int m, int x) {
    if (x > 8) return 255;
    if (x > 0) {
        const int i = (2 * m + 1) << (x - 1);
        return i > 255 ? 255 : gamma_byte((i + 0.5) / 256.0);
    }
    if (x >= -31) return gamma_byte((m + 0.5) / 256.0 * std::ldexp(1.0, x));
    if (x >= -39) return forward(((m >> (-32 - x)) + 1) >> 1, -31);
    return 0;
}

struct InverseChannel {
    int mantissa = 0;
    int shift = 0;
};

struct InverseTable {
    InverseChannel channel[256];
    InverseTable() {
        for (int b = 0; b < 256; ++b) {
            const double t = std::pow((b + 0.5) / 256.0, display_gamma);
            int n = 0;
            while (std::trunc(std::ldexp(256.0 * t, n)) < 128) ++n;
            channel[b] = {static_cast<int>(std::trunc(std::ldexp(256.0 * t, n))), n};
        }
    }
};

RgbePixel combine(const InverseChannel& r, const InverseChannel& g, const InverseChannel& b) {
    int n = r.shift < g.shift ? r.shift : g.shift;
    if (b.shift < n) n = b.shift;
    return {static_cast<uint8_t>(r.mantissa >> (r.shift - n)), static_cast<uint8_t>(g.mantissa >> (g.shift - n)),
            static_cast<uint8_t>(b.mantissa >> (b.shift - n)), static_cast<uint8_t>(128 - n)};
}

}  // namespace

DisplayByteTable::DisplayByteTable() {
    for (int e = 0; e < 256; ++e)
        for (int m = 0; m < 256; ++m) byte[e][m] = e == 0 ? 0 : forward(m, e - 128);
}

const DisplayByteTable& display_byte_table() {
    static const DisplayByteTable table;
    return table;
}

RgbePixel pixel_from_display(uint8_t r, uint8_t g, uint8_t b) {
    static const InverseTable table;
    return combine(table.channel[r], table.channel[g], table.channel[b]);
}

RgbePixel pixel_from_display16(uint16_t r, uint16_t g, uint16_t b) {
    auto linear = [](uint16_t v) { return static_cast<float>(std::pow((v + 0.5) / 65536.0, display_gamma)); };
    return encode_color(linear(r), linear(g), linear(b));
}
