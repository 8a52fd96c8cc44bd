// The fast colour conversions give exactly the core codec's results.

#include <gtest/gtest.h>

#include <limits>
#include <random>

#include "lib/rgbe_color.h"
#include "test_picture.h"

namespace {

std::vector<float> awkward_values() {
    std::mt19937 random(11);
    std::uniform_real_distribution<float> unit(0.0f, 1.0f);
    std::uniform_int_distribution<int> power(-110, 127);
    std::vector<float> values = {0.0f, -1.0f, 1e-32f, 1.1e-32f, 1.0f, 0.5f, 255.5f / 256, 1e30f, 3.4e38f, 1.7e38f,
                                 std::ldexp(1.0f, 127), -0.0f};
    for (int i = 0; i < 30000; ++i) values.push_back(std::ldexp(unit(random), power(random)) * (i % 17 == 0 ? -1 : 1));
    return values;
}

TEST(RgbeColor, EncodesExactlyAsTheCoreCodec) {
    const auto values = awkward_values();
    std::vector<float> r, g, b;
    for (size_t i = 0; i + 2 < values.size(); ++i) {
        r.push_back(values[i]);
        g.push_back(values[i + 1] * 0.3f);
        b.push_back(values[(i * 7) % values.size()]);
    }
    std::vector<uint8_t> planes(4 * r.size());
    encode_colors(r.data(), g.data(), b.data(), static_cast<int>(r.size()), planes.data());
    const size_t n = r.size();
    for (size_t i = 0; i < n; ++i) {
        const RgbePixel expected = encode_rgbe(r[i], g[i], b[i]);
        ASSERT_EQ(encode_color(r[i], g[i], b[i]), expected) << std::hexfloat << r[i] << " " << g[i] << " " << b[i];
        ASSERT_EQ((RgbePixel{planes[i], planes[n + i], planes[2 * n + i], planes[3 * n + i]}), expected)
            << r[i] << " " << g[i] << " " << b[i];
    }
}

TEST(RgbeColor, DecodesExactlyAsTheCoreCodecAndReEncodesToTheSameBytes) {
    for (int e = 0; e < 256; ++e)
        for (int m = 0; m < 256; m += 5) {
            const RgbePixel p{static_cast<uint8_t>(m), static_cast<uint8_t>(255 - m), 128, static_cast<uint8_t>(e)};
            const Color3 fast = decode_color(p);
            const RgbColor core = decode_rgbe(p);
            ASSERT_EQ(fast.r, core.r);
            ASSERT_EQ(fast.g, core.g);
            ASSERT_EQ(fast.b, core.b);
            if (e >= 30 && e < 255) {
                ASSERT_EQ(encode_color(fast), p);
            }
        }
}

TEST(RgbeColor, SaturatesValuesBeyondTheLargestExponent) {
    const float inf = std::numeric_limits<float>::infinity();
    const RgbePixel white{255, 255, 255, 255};
    EXPECT_EQ(encode_color(inf, 0, 0), white);
    EXPECT_EQ(encode_color(3.4e38f, 1, 1), white);
    std::vector<uint8_t> planes(4);
    const float r = inf, g = 0, b = 0;
    encode_colors(&r, &g, &b, 1, planes.data());
    EXPECT_EQ((RgbePixel{planes[0], planes[1], planes[2], planes[3]}), white);
}

// Every exponent (the subnormal scales of 1 to 8 among them) and mantissas
// across the byte, under factors that underflow, overflow or round.
TEST(RgbeColor, ScalingPlanesInPlaceIsDecodingTimesTheFactorThenEncoding) {
    constexpr int n = 256 * 13;
    std::vector<uint8_t> planes(4 * n);
    for (int i = 0; i < n; ++i) {
        planes[i] = static_cast<uint8_t>(i * 37);
        planes[n + i] = static_cast<uint8_t>(255 - i * 11);
        planes[2 * n + i] = static_cast<uint8_t>(i % 3 == 0 ? 0 : i * 5);
        planes[3 * n + i] = static_cast<uint8_t>(i);
    }
    for (const float factor : {1.0f, 2.0f, 0.37f, 1e-30f, 3.1e20f, 1e20f * 1e18f, 5e-20f}) {
        std::vector<uint8_t> scaled = planes;
        scale_planes(scaled.data(), n, factor);
        for (int i = 0; i < n; ++i) {
            const Color3 c = decode_color(planes[i], planes[n + i], planes[2 * n + i], planes[3 * n + i]);
            const RgbePixel expected = encode_color(c.r * factor, c.g * factor, c.b * factor);
            ASSERT_EQ((RgbePixel{scaled[i], scaled[n + i], scaled[2 * n + i], scaled[3 * n + i]}), expected)
                << "pixel " << i << " factor " << factor;
        }
    }
}

}  // namespace
