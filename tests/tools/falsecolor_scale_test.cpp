// Falsecolor on a fixed scale: the scale file, positions and colours checked
// by hand, one colour per luminance across pictures, contour lines on the
// iso-luminance circles of a radial gradient, bands, and the unchanged
// original picture.

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <functional>
#include <random>

#include "support/temp_folder.h"
#include "tools/falsecolor.h"
#include "tools/falsecolor_render.h"
#include "tools/falsecolor_scale.h"

namespace {

bool same(const uint8_t* bgr, const Rgb8& c) { return bgr[0] == c.b && bgr[1] == c.g && bgr[2] == c.r; }

LuminanceMap make_map(int width, int height, const std::function<float(int, int)>& f) {
    LuminanceMap map;
    map.width = width;
    map.height = height;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) map.data.push_back(f(x, y));
    return map;
}

FalsecolorScale scale_of(float bottom, float top, bool log, FalsecolorPalette palette, FalsecolorDisplay display,
                         int steps = 8) {
    FalsecolorScale s;
    s.bottom = bottom, s.top = top, s.logarithmic = log, s.palette = palette, s.display = display, s.steps = steps;
    return s;
}

TEST(FalsecolorScaleFile, RoundTripsEveryChoiceAndIsReadableText) {
    TempFolder folder;
    const std::string path = (folder / "study.fcs").string();
    FalsecolorScale scale = scale_of(0.5f, 2500, false, FalsecolorPalette::viridis, FalsecolorDisplay::contours, 5);
    scale.units = FalsecolorUnits::lux;
    ASSERT_TRUE(write_scale_file(path, scale));
    EXPECT_EQ(read_file(path),
              "candelux falsecolor scale 1\r\nbottom 0.5\r\ntop 2500\r\naxis linear\r\nsteps 5\r\n"
              "palette viridis\r\nunits lx\r\ndisplay contours\r\n");
    const auto back = read_scale_file(path);
    ASSERT_TRUE(back) << back.failure().message;
    EXPECT_EQ(back.value().bottom, 0.5f);
    EXPECT_EQ(back.value().top, 2500.0f);
    EXPECT_FALSE(back.value().logarithmic);
    EXPECT_EQ(back.value().steps, 5);
    EXPECT_EQ(back.value().palette, FalsecolorPalette::viridis);
    EXPECT_EQ(back.value().units, FalsecolorUnits::lux);
    EXPECT_EQ(back.value().display, FalsecolorDisplay::contours);
}

TEST(FalsecolorScaleFile, TakesDefaultsCommentsAndLfLinesAndNamesTheBadLine) {
    auto scale = parse_scale_lines({"candelux falsecolor scale 1", "# office study", "top 1000  # cd/m2", "bottom 10"});
    ASSERT_TRUE(scale) << scale.failure().message;
    EXPECT_TRUE(scale.value().logarithmic);
    EXPECT_EQ(scale.value().steps, 8);
    EXPECT_TRUE(scale.value().classic());

    const std::pair<std::vector<std::string>, std::string> bad[] = {
        {{"candelux falsecolor scale 1", "bottom 1", "top 10", "colour red"}, "line 4: unknown key \"colour\""},
        {{"candelux falsecolor scale 1", "bottom 1", "top 10", "axis sqrt"}, "line 4: axis is log or linear"},
        {{"candelux falsecolor scale 1", "bottom x", "top 10"}, "line 2: bottom needs a number"},
        {{"candelux falsecolor scale 1", "bottom 1", "top 10", "steps 2.5"}, "line 4: steps needs a whole number"},
        {{"candelux falsecolor scale 1", "bottom 1", "top 10", "steps 65"}, "line 4: steps needs a whole number"},
        {{"candelux falsecolor scale 1", "bottom 0", "top 10"}, "a logarithmic scale must start above 0"},
        {{"candelux falsecolor scale 1", "bottom 10", "top 10", "axis linear"}, "top of the range must lie above"},
        {{"candelux falsecolor scale 1", "top 10"}, "must give both bottom and top"},
        {{"bottom 1", "top 10"}, "not a falsecolor scale file"},
    };
    for (const auto& [lines, why] : bad) {
        const auto result = parse_scale_lines(lines);
        ASSERT_FALSE(result) << why;
        EXPECT_NE(result.failure().message.find(why), std::string::npos) << result.failure().message;
    }
    TempFolder folder;
    EXPECT_FALSE(read_scale_file((folder / "none.fcs").string()));
}

TEST(FalsecolorScaleAxis, PlacesValuesAsComputedByHandOnBothAxes) {
    // Log 10 … 10000: three decades, so 100 cd/m² lies at 1/3 and 1000 at 2/3.
    const ScaleAxis log(scale_of(10, 10000, true, FalsecolorPalette::viridis, FalsecolorDisplay::smooth));
    EXPECT_NEAR(log.position(100), 1.0f / 3.0f, 1e-6f);
    EXPECT_NEAR(log.position(1000), 2.0f / 3.0f, 1e-6f);
    EXPECT_NEAR(log.position(1), -1.0f / 3.0f, 1e-6f);
    EXPECT_LT(log.position(0), -1e20f);
    EXPECT_NEAR(log.value(0.5f), std::sqrt(10.0f * 10000.0f), 0.05f);  // 316.2
    // 1/3 × 256 = 85.3 → index 85; 2/3 × 256 = 170.7 → 170.
    EXPECT_EQ(ScaleAxis::index(log.position(100)), 85);
    EXPECT_EQ(ScaleAxis::index(log.position(1000)), 170);
    EXPECT_EQ(ScaleAxis::index(log.position(10000)), 255);
    EXPECT_EQ(ScaleAxis::index(log.position(5)), 0);

    // Linear 0 … 1000: 250 at 0.25 → index 64; 999 at 0.999 → 255.7 → 255.
    const ScaleAxis linear(scale_of(0, 1000, false, FalsecolorPalette::viridis, FalsecolorDisplay::smooth));
    EXPECT_FLOAT_EQ(linear.position(250), 0.25f);
    EXPECT_EQ(ScaleAxis::index(linear.position(250)), 64);
    EXPECT_EQ(ScaleAxis::index(linear.position(999)), 255);
    EXPECT_EQ(ScaleAxis::index(linear.position(-5)), 0);
    EXPECT_FLOAT_EQ(linear.value(0.5f), 500.0f);

    // Step values: 4 steps of 250, and of a decade on log 1 … 10000.
    EXPECT_EQ(step_values(scale_of(0, 1000, false, FalsecolorPalette::classic, FalsecolorDisplay::bands, 4)),
              (std::vector<float>{0, 250, 500, 750, 1000}));
    const auto decades = step_values(scale_of(1, 10000, true, FalsecolorPalette::viridis, FalsecolorDisplay::bands, 4));
    ASSERT_EQ(decades.size(), 5u);
    for (size_t k = 0; k < decades.size(); ++k) EXPECT_NEAR(decades[k], std::pow(10.0f, k), 1e-3f * decades[k]);
}

TEST(FalsecolorScaleRender, ColoursPixelsAsComputedByHand) {
    const auto map = make_map(4, 1, [](int x, int) { return std::array<float, 4>{100, 1000, 5, 1e6f}[x]; });
    // Log 10 … 10000 in viridis: indices 85, 170, 0, 255 (above).
    const auto& viridis = palette_colours(FalsecolorPalette::viridis);
    const BgrRaster log = render_on_scale(map, scale_of(10, 10000, true, FalsecolorPalette::viridis,
                                                        FalsecolorDisplay::smooth), {});
    EXPECT_TRUE(same(log.at(0, 0), viridis[85]));
    EXPECT_TRUE(same(log.at(1, 0), viridis[170]));
    EXPECT_TRUE(same(log.at(2, 0), viridis[0]));
    EXPECT_TRUE(same(log.at(3, 0), viridis[255]));
    EXPECT_TRUE(same(log.at(0, 0), Rgb8{49, 104, 142})) << "viridis at 1/3 (#31688e), as published";
    // Linear 0 … 2000 with the classic palette: 100 → 12.8 → 12, 1000 → 128.
    const auto& classic = falsecolor_palette();
    const BgrRaster linear = render_on_scale(map, scale_of(0, 2000, false, FalsecolorPalette::classic,
                                                           FalsecolorDisplay::smooth), {});
    EXPECT_TRUE(same(linear.at(0, 0), classic[12]));
    EXPECT_TRUE(same(linear.at(1, 0), classic[128]));
    EXPECT_TRUE(same(linear.at(2, 0), classic[0]));  // 0.64 → index 0
    // Posterised in 4 steps of 500: 100 in step 0 (centre 1/8 → index 32),
    // 1000 in step 2 (5/8 → 160), above the top in step 3 (7/8 → 224).
    const BgrRaster poster = render_on_scale(map, scale_of(0, 2000, false, FalsecolorPalette::classic,
                                                           FalsecolorDisplay::posterised, 4), {});
    EXPECT_TRUE(same(poster.at(0, 0), classic[32]));
    EXPECT_TRUE(same(poster.at(1, 0), classic[160]));
    EXPECT_TRUE(same(poster.at(3, 0), classic[224]));
}

TEST(FalsecolorScaleRender, GivesTwoPicturesOneColourPerLuminance) {
    std::mt19937 random(7);
    std::uniform_real_distribution<float> exponent(-1.0f, 4.5f);
    std::vector<float> values(200);
    for (float& v : values) v = std::pow(10.0f, exponent(random));
    // Two pictures of different size holding the same values at other places.
    const auto a = make_map(20, 10, [&](int x, int y) { return values[static_cast<size_t>(y * 20 + x)]; });
    const auto b = make_map(8, 25, [&](int x, int y) { return values[static_cast<size_t>(199 - (y * 8 + x))]; });
    for (const FalsecolorScale& scale :
         {scale_of(2, 20000, true, FalsecolorPalette::classic, FalsecolorDisplay::smooth),
          scale_of(0.5f, 5000, true, FalsecolorPalette::viridis, FalsecolorDisplay::smooth),
          scale_of(0, 30000, false, FalsecolorPalette::spectral, FalsecolorDisplay::smooth),
          scale_of(1, 1000, true, FalsecolorPalette::classic, FalsecolorDisplay::posterised, 6)}) {
        const BgrRaster ra = render_on_scale(a, scale, {}), rb = render_on_scale(b, scale, {});
        for (size_t i = 0; i < values.size(); ++i) {
            const int ax = static_cast<int>(i % 20), ay = static_cast<int>(i / 20);
            const size_t j = 199 - i;
            const int bx = static_cast<int>(j % 8), by = static_cast<int>(j / 8);
            ASSERT_EQ(0, std::memcmp(ra.at(ax, ay), rb.at(bx, by), 3)) << "value " << values[i];
        }
    }
}

TEST(FalsecolorScaleRender, KeepsTheOriginalPictureByteForByteOnTheClassicScale) {
    const auto map = make_map(37, 11, [](int x, int y) { return 0.01f * std::pow(1.3f, static_cast<float>(x + y)); });
    const FalsecolorScale scale = scale_of(0.2f, 4000, true, FalsecolorPalette::classic, FalsecolorDisplay::smooth);
    ASSERT_TRUE(scale.classic());
    const BgrRaster on_scale = render_on_scale(map, scale, {});
    EXPECT_EQ(on_scale.bgr, render_falsecolor(log_luminance(map), 37, 11, falsecolor_log_range(0.2f, 4000)));
    // Units change only words.
    FalsecolorScale lux = scale;
    lux.units = FalsecolorUnits::lux;
    EXPECT_EQ(render_on_scale(map, lux, {}).bgr, on_scale.bgr);
}

// L falls by a decade every 25 pixels from the centre of a 241 × 241
// picture: on a log scale 1 … 10000 in 4 steps, the step values 1000, 100
// and 10 cd/m² lie on circles of radius 25, 50 and 75.
TEST(FalsecolorContours, LieOnTheIsoLuminanceCirclesOfARadialGradient) {
    constexpr int size = 241;
    constexpr float centre = 120.0f;
    const auto radius = [](int x, int y) { return std::hypot(x - centre, y - centre); };
    for (bool log : {true, false}) {
        // Linear: L = 1000 - 10 r on 0 … 1000 in 4 steps puts 750, 500 and
        // 250 on the same radii.
        const auto map = make_map(size, size, [&](int x, int y) {
            const float r = radius(x, y);
            return log ? 10000.0f * std::pow(10.0f, -r / 25.0f) : 1000.0f - 10.0f * r;
        });
        const FalsecolorScale scale = log ? scale_of(1, 10000, true, FalsecolorPalette::viridis,
                                                     FalsecolorDisplay::contours, 4)
                                          : scale_of(0, 1000, false, FalsecolorPalette::classic,
                                                     FalsecolorDisplay::contours, 4);
        const auto levels = contour_levels(scale_positions(map, scale), size, size, 4);
        // By level: 1 cd/m² (or 0) at r = 100, and the top value only at the
        // centre itself, where it is reached exactly.
        const float wanted[5] = {100, 75, 50, 25, 0};
        int counted[5] = {};
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x) {
                const int k = levels[static_cast<size_t>(y * size + x)];
                if (k < 0) continue;
                ASSERT_LE(k, 4);
                const float r_k = wanted[k];
                EXPECT_LE(std::fabs(radius(x, y) - r_k), 1.0f) << "level " << k << " at " << x << "," << y;
                ++counted[k];
            }
        // Closed circles: every direction meets its line within one pixel.
        for (int k = 0; k < 4; ++k) {
            const float r_k = wanted[k];
            EXPECT_GT(counted[k], static_cast<int>(4 * r_k)) << "level " << k;
            for (int a = 0; a < 720; ++a) {
                const double angle = a * M_PI / 360.0;
                const int px = static_cast<int>(std::lround(centre + r_k * std::cos(angle)));
                const int py = static_cast<int>(std::lround(centre + r_k * std::sin(angle)));
                bool found = false;
                for (int dy = -1; dy <= 1 && !found; ++dy)
                    for (int dx = -1; dx <= 1 && !found; ++dx)
                        found = levels[static_cast<size_t>((py + dy) * size + px + dx)] == k;
                ASSERT_TRUE(found) << "level " << k << " missing at angle " << a / 2.0;
            }
        }
        // Drawn over the base picture in the level's colour, the rest untouched.
        BgrRaster base(size, size, 77);
        const BgrRaster drawn = render_on_scale(map, scale, base);
        const size_t on = static_cast<size_t>(120 * size + 120 + 50);  // (170, 120): r = 50, level 2
        EXPECT_EQ(levels[on], 2);
        EXPECT_TRUE(same(drawn.at(170, 120), level_colour(scale, 2)));
        EXPECT_EQ(drawn.at(160, 120)[0], 77);
    }
}

TEST(FalsecolorContours, ThickenOnRequestAndGrowWithLargePictures) {
    const auto map = make_map(40, 1, [](int x, int) { return static_cast<float>(x); });
    const FalsecolorScale scale = scale_of(0, 40, false, FalsecolorPalette::classic, FalsecolorDisplay::contours, 2);
    const auto thin = contour_levels(scale_positions(map, scale), 40, 1, 2);
    const auto thick = contour_levels(scale_positions(map, scale), 40, 1, 2, 3);
    // Level 1 (20) is first reached at x = 20.
    EXPECT_EQ(thin[20], 1);
    EXPECT_EQ(thin[19], -1);
    EXPECT_EQ(thin[21], -1);
    EXPECT_EQ(thick[19], 1);
    EXPECT_EQ(thick[21], 1);
    EXPECT_EQ(thick[22], -1);
    EXPECT_EQ(contour_line_width(640, 480), 1);
    EXPECT_EQ(contour_line_width(4000, 1800), 5);
}

TEST(FalsecolorBands, CoverAQuarterStepAroundEachStepValue) {
    const auto map = make_map(101, 1, [](int x, int) { return static_cast<float>(x) * 10.0f; });  // 0 … 1000
    const FalsecolorScale scale = scale_of(0, 1000, false, FalsecolorPalette::viridis, FalsecolorDisplay::bands, 4);
    const auto levels = band_levels(scale_positions(map, scale), 4);
    // Step 250: the band is 187.5 … 312.5, so 190 … 310.
    EXPECT_EQ(levels[18], -1);
    EXPECT_EQ(levels[19], 1);
    EXPECT_EQ(levels[25], 1);
    EXPECT_EQ(levels[31], 1);
    EXPECT_EQ(levels[32], -1);
    EXPECT_EQ(levels[0], 0);
    EXPECT_EQ(levels[100], 4);
    EXPECT_EQ(levels[50], 2);
}

TEST(FalsecolorToneMappedGrey, SpreadsThePicturesLuminancesByRankOverGreyLevels) {
    // 100 values, rising in x, but half of them packed into one decade: the
    // grey follows the rank, not the value.
    const auto map = make_map(100, 1, [](int x, int) {
        return x < 50 ? 1.0f + 0.01f * static_cast<float>(x) : 1.5f * std::pow(10.0f, static_cast<float>(x - 49) / 10.0f);
    });
    const BgrRaster grey = tone_mapped_grey(map);
    EXPECT_EQ(grey.at(0, 0)[0], 24);
    EXPECT_EQ(grey.at(1, 0)[0], 26);    // 24 + 200 × 1/99 = 26.02
    EXPECT_EQ(grey.at(50, 0)[1], 125);  // 24 + 200 × 50/99 = 125.01
    EXPECT_EQ(grey.at(99, 0)[0], 224);
    EXPECT_EQ(grey.at(50, 0)[0], grey.at(50, 0)[2]);
    // Equal values share their grey; pixels without a logarithm are darkest.
    auto flat = make_map(4, 1, [](int x, int) { return x == 0 ? 0.0f : 7.0f; });
    const BgrRaster flat_grey = tone_mapped_grey(flat);
    EXPECT_EQ(flat_grey.at(0, 0)[0], 24);
    EXPECT_EQ(flat_grey.at(1, 0)[0], flat_grey.at(3, 0)[0]);
    LuminanceMap dark = make_map(3, 1, [](int, int) { return 0.0f; });
    EXPECT_EQ(tone_mapped_grey(dark).bgr, std::vector<uint8_t>(9, 0));
}

TEST(FalsecolorPalettes, AreTheNamedColourMaps) {
    const auto& viridis = palette_colours(FalsecolorPalette::viridis);
    EXPECT_TRUE((viridis[0].r == 68 && viridis[0].g == 1 && viridis[0].b == 84));        // #440154
    EXPECT_TRUE((viridis[255].r == 253 && viridis[255].g == 231 && viridis[255].b == 37));  // #fde725
    const auto& spectral = palette_colours(FalsecolorPalette::spectral);
    EXPECT_GT(spectral[0].b, 200);
    EXPECT_EQ(spectral[255].r, 255);
    EXPECT_EQ(spectral[255].g, 0);
    EXPECT_EQ(&palette_colours(FalsecolorPalette::classic), &falsecolor_palette());
}

TEST(FalsecolorWindowLegend, ShowsTheChosenPaletteAndStepsAndStaysTheOriginalByDefault) {
    EXPECT_EQ(falsecolor_legend(FalsecolorScale{}), falsecolor_legend());
    FalsecolorScale poster = scale_of(1, 100, true, FalsecolorPalette::viridis, FalsecolorDisplay::posterised, 4);
    const auto legend = falsecolor_legend(poster);
    const size_t last_row = static_cast<size_t>(legend_height - 1) * legend_width * 3;
    EXPECT_TRUE(same(legend.data(), step_colour(poster, 3)));
    EXPECT_TRUE(same(legend.data() + last_row, step_colour(poster, 0)));
    // Row 63 from the bottom is still step 0, row 64 step 1.
    EXPECT_TRUE(same(legend.data() + static_cast<size_t>(legend_height - 1 - 63) * legend_width * 3,
                     step_colour(poster, 0)));
    EXPECT_TRUE(same(legend.data() + static_cast<size_t>(legend_height - 1 - 64) * legend_width * 3,
                     step_colour(poster, 1)));
    poster.display = FalsecolorDisplay::smooth;
    EXPECT_TRUE(same(falsecolor_legend(poster).data(), palette_colours(FalsecolorPalette::viridis)[255]));
}

TEST(FalsecolorExtrema, FindTheFirstDarkestAndBrightestPixel) {
    auto map = make_map(5, 4, [](int x, int y) { return 10.0f + static_cast<float>(x + 10 * y); });
    map.data[7] = 0.5f;
    map.data[13] = 900.0f;
    map.data[14] = 900.0f;
    map.data[3] = NAN;
    const PictureExtrema e = find_extrema(map);
    ASSERT_TRUE(e.found);
    EXPECT_EQ(e.minimum, 0.5f);
    EXPECT_EQ(e.min_x, 2);
    EXPECT_EQ(e.min_y, 1);
    EXPECT_EQ(e.maximum, 900.0f);
    EXPECT_EQ(e.max_x, 3);
    EXPECT_EQ(e.max_y, 2);
}

TEST(FalsecolorExtrema, TheDarkestMarkGoesToALitPixelUnlessNothingIsLit) {
    // A fisheye's black corners read as a vanishing value (1e-39), not as scene.
    auto map = make_map(4, 3, [](int x, int y) { return x == 0 ? 1.03e-39f : 5.0f + static_cast<float>(x + y); });
    map.data[0] = 0.0f;
    map.data[6] = 2.0f;
    PictureExtrema e = find_extrema(map);
    EXPECT_EQ(e.minimum, 2.0f);
    EXPECT_EQ(e.min_x, 2);
    EXPECT_EQ(e.min_y, 1);
    auto black = make_map(3, 2, [](int x, int y) { return x == 1 && y == 1 ? 0.0f : 1.03e-39f; });
    e = find_extrema(black);
    EXPECT_EQ(e.minimum, 0.0f);
    EXPECT_EQ(e.min_x, 1);
    EXPECT_EQ(e.min_y, 1);
}

}  // namespace
