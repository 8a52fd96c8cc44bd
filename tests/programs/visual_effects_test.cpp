// Veiling glare over the foveal image and the acuity filter's rates and
// pyramid.

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "lib/acuity_filter.h"
#include "lib/human_vision.h"
#include "lib/veiling_glare.h"

namespace {

Direction at_degrees(double degrees) {
    const double a = degrees * std::numbers::pi / 180;
    return {std::sin(a), 0, std::cos(a)};
}

ColourGrid row_of(std::vector<float> values) {
    ColourGrid grid(static_cast<int>(values.size()), 1);
    grid.red = values;
    grid.green = values;
    grid.blue = values;
    return grid;
}

TEST(VeilingGlare, EachPixelGetsItsShareOfTheOthersWeightedByInverseAngleSquared) {
    const auto fovea = row_of({1.0f, 100.0f, 1000.0f});
    const std::vector<Direction> directions = {at_degrees(0), at_degrees(1), at_degrees(10)};
    const auto veil = veil_image(fovea, directions);
    auto weight = [](double degrees) {
        const double c = std::cos(degrees * std::numbers::pi / 180);
        return 0.5 * c / (1 - c);
    };
    const double w1 = weight(1), w10 = weight(10), w9 = weight(9);
    EXPECT_NEAR(veil.red[0], 0.08 * (100 * w1 + 1000 * w10) / (w1 + w10), 1e-3 * veil.red[0]);
    EXPECT_NEAR(veil.red[1], 0.08 * (1 * w1 + 1000 * w9) / (w1 + w9), 1e-3 * veil.red[1]);
    EXPECT_NEAR(veil.green[2], 0.08 * (1 * w10 + 100 * w9) / (w10 + w9), 1e-3 * veil.green[2]);
}

TEST(VeilingGlare, UniformFoveaKeepsItsValueAndBlindPixelsTakeNoPart) {
    auto fovea = row_of({5.0f, 5.0f, 5.0f, 500.0f});
    // The last pixel has no direction: it neither gives nor gets a veil, and
    // a pixel behind the others (more than 90 degrees away) gives none.
    const std::vector<Direction> directions = {at_degrees(0), at_degrees(3), at_degrees(100), {0, 0, 0}};
    const auto veil = veil_image(fovea, directions);
    EXPECT_NEAR(veil.red[0], 0.08 * 5, 1e-5);
    EXPECT_NEAR(veil.red[1], 0.08 * 5, 1e-5);
    EXPECT_EQ(veil.red[3], 0.0f);
    add_veil(fovea, veil);
    EXPECT_NEAR(fovea.red[0], 5.0f, 1e-5);
    EXPECT_NEAR(fovea.blue[3], 0.92f * 500, 1e-3);
}

// A 40-degree perspective fovea of 42 x 42 pixels over a 420 x 420 picture.
std::vector<Direction> perspective_directions(int n) {
    View v;
    v.horizontal = v.vertical = 40;
    std::vector<Direction> directions(static_cast<size_t>(n) * n);
    for (int j = 0; j < n; ++j)
        for (int i = 0; i < n; ++i)
            image_direction(v, (i + 0.5) / n - 0.5, 0.5 - (j + 0.5) / n, directions[static_cast<size_t>(j * n + i)]);
    return directions;
}

ColourGrid uniform_grid(int n, float value) {
    ColourGrid grid(n, n);
    std::fill(grid.red.begin(), grid.red.end(), value);
    std::fill(grid.green.begin(), grid.green.end(), value);
    std::fill(grid.blue.begin(), grid.blue.end(), value);
    return grid;
}

TEST(AcuityRates, DarkPixelsNeedCoarserSamplingThanBrightOnes) {
    const auto directions = perspective_directions(42);
    // Brightness 1/179: 1 cd/m² at exposure 1.
    const auto bright = acuity_rates(uniform_grid(42, 100.0f / 179), directions, 420, 420, 179.0);
    const auto dark = acuity_rates(uniform_grid(42, 1e-4f / 179), directions, 420, 420, 179.0);
    const size_t middle = 21 * 42 + 21;
    EXPECT_LT(bright[middle], 1.0f);
    EXPECT_GT(dark[middle], 2.0f);
    // Picture pixels per degree over cycles per degree: about 10.5 / 1.9.
    const double pixel = std::sqrt(0.5) * (0.7279 / 420);  // rad, with the half of the area
    EXPECT_NEAR(dark[middle], (std::numbers::pi / 180) / pixel / visual_acuity(1e-4), 0.05 * dark[middle]);
    // The border copies its inner neighbour.
    EXPECT_EQ(dark[0], dark[43]);
    EXPECT_EQ(dark[41], dark[82]);
}

TEST(AcuityFilter, SharpWhereResolvedAndAveragedWhereNot) {
    ColourGrid picture(64, 64);
    for (int r = 0; r < 64; ++r)
        for (int c = 0; c < 64; ++c) picture.red[picture.index(c, r)] = ((c + r) % 2) ? 1.0f : 0.0f;
    // Left half of the fovea resolves every pixel, right half one in four.
    std::vector<float> rates(16 * 16);
    for (int j = 0; j < 16; ++j)
        for (int i = 0; i < 16; ++i) rates[static_cast<size_t>(j * 16 + i)] = i < 8 ? 0.5f : 4.0f;
    const AcuityFilter filter(picture, rates, 16, 16);
    EXPECT_EQ(filter.levels(), 3);
    EXPECT_EQ(filter.sample(5, 20).r, picture.red[picture.index(5, 20)]);
    EXPECT_EQ(filter.sample(6, 20).r, picture.red[picture.index(6, 20)]);
    EXPECT_NEAR(filter.sample(50, 20).r, 0.5f, 1e-6);
    EXPECT_NEAR(filter.sample(51, 21).r, 0.5f, 1e-6);
}

}  // namespace
