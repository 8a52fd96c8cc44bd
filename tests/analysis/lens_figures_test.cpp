// Figures through the lens: solid angles, the illuminance at the lens, the
// solid-angle weighting, and the pixels at the picture's ceiling.

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <tuple>

#include "analysis/lens_figures.h"
#include "analysis/vertical_illuminance.h"
#include "lib/luminance_picture.h"
#include "picture/rgbe_reader.h"
#include "picture/view_projection.h"
#include "support/temp_folder.h"

namespace {

constexpr double pi = std::numbers::pi;

LuminanceMap flat_map(int w, int h, float l) {
    LuminanceMap map;
    map.width = w;
    map.height = h;
    map.data.assign(size_t(w) * size_t(h), l);
    return map;
}

// Every sample of the picture, as the whole-picture region gives them.
RegionSamples everything(const LuminanceMap& map) {
    RegionSamples s;
    for (int32_t y = 0; y < map.height; ++y)
        for (int32_t x = 0; x < map.width; ++x) {
            const float l = map.at(x, y);
            if (!(l > sample_threshold)) continue;
            s.values.push_back(l);
            s.positions.push_back({uint32_t(x), uint32_t(y)});
        }
    return s;
}

struct Whole {
    PictureLens lens;
    LensFigures figures;
};

Whole whole(const LuminanceMap& map, const std::vector<std::string>& header) {
    Whole w{picture_lens(map, header), {}};
    const RegionSamples s = everything(map);
    w.figures = lens_figures(w.lens, s.values, s.positions, map.width);
    return w;
}

}  // namespace

TEST(LensGeometry, A180DegreeViewOfEveryKindSeesTheHemisphereAndItsIlluminance) {
    // Uniform luminance everywhere, the corners too: the corners outside the
    // image circle must not count. A cylinder cannot see straight up
    // (tan 90°), so it is taken at 172° high, where it still holds 99.6 % of
    // the hemisphere's solid angle and nearly all its illuminance.
    const float l = 250.0f;
    for (const char* options : {"-vta -vh 180 -vv 180", "-vth -vh 180 -vv 180", "-vts -vh 180 -vv 180",
                                "-vtc -vh 180 -vv 172"}) {
        const bool cylinder = options[3] == 'c';
        const LuminanceMap map = flat_map(cylinder ? 400 : 500, cylinder ? 1600 : 500, l);
        const Whole w = whole(map, {std::string("VIEW= ") + options});
        ASSERT_TRUE(w.figures.has_view) << options;
        EXPECT_NEAR(w.figures.solid_angle, 2 * pi, 2 * pi * 0.005) << options;
        EXPECT_NEAR(w.figures.weighted_mean, l, l * 1e-5) << options;
        EXPECT_NEAR(w.lens.vertical_illuminance, pi * l, pi * l * 0.005) << options;
        EXPECT_NEAR(w.figures.vertical_illuminance, w.lens.vertical_illuminance, 1e-6 * w.lens.vertical_illuminance);
        EXPECT_DOUBLE_EQ(w.figures.illuminance_share, 1.0);
        EXPECT_EQ(w.lens.geometry->full_hemisphere, !cylinder);
        EXPECT_EQ(w.lens.ceiling_pixels, 0) << "a flat picture has no clipped patch";
        if (!cylinder) {
            EXPECT_LT(w.figures.count_in_view, int64_t(map.data.size()) * 80 / 100) << options;
        }
    }
}

TEST(LensGeometry, ACentredViewIsAQuarterMirrored) {
    // Every kind of view, odd and even sizes, tilted and turned: the mirrored
    // quarter gives every pixel what working it out on its own gives, to
    // rounding. A shifted view is not symmetric and is worked out whole.
    for (const char* options :
         {"-vta -vh 180 -vv 180", "-vth -vh 180 -vv 180 -vd 1 2 3", "-vts -vh 170 -vv 120", "-vtv -vh 60 -vv 40",
          "-vtc -vh 200 -vv 100 -vu 0 1 1", "-vta -vh 180 -vv 180 -vs 0.1", "-vtv -vh 50 -vv 50 -vl -0.2"}) {
        for (auto [w, h] : {std::pair{61, 61}, std::pair{64, 48}, std::pair{45, 70}}) {
            View view;
            apply_view_options(view, options);
            const auto quarter = lens_geometry(view, w, h, LensSymmetry::use);
            const auto whole = lens_geometry(view, w, h, LensSymmetry::ignore);
            ASSERT_TRUE(quarter && whole) << options;
            for (size_t k = 0; k < whole->solid_angle.size(); ++k) {
                ASSERT_NEAR(quarter->solid_angle[k], whole->solid_angle[k], 1e-5 * whole->solid_angle[k] + 1e-12)
                    << options << " " << w << "x" << h << " pixel " << k;
                ASSERT_NEAR(quarter->illuminance_weight[k], whole->illuminance_weight[k],
                            1e-5 * whole->illuminance_weight[k] + 1e-12)
                    << options << " " << w << "x" << h << " pixel " << k;
            }
        }
    }
}

TEST(LensGeometry, TheRimIsIntegratedNotDropped) {
    // Even a small hemispherical picture, whose rim pixels each cover a wide
    // band of sky, sums to the hemisphere (dropping the rim pixels would
    // lose a fifth of it at this size; the corner solid angles of the inner
    // pixels leave half a per cent).
    const Whole w = whole(flat_map(60, 60, 1.0f), {"VIEW= -vth -vh 180 -vv 180"});
    EXPECT_NEAR(w.figures.solid_angle, 2 * pi, 2 * pi * 0.006);
    EXPECT_NEAR(w.lens.vertical_illuminance, pi, pi * 0.002);
    // A narrower view sees its own cap: 2π(1 − cos 60°) for 120°.
    for (const char* options : {"-vta -vh 120 -vv 120", "-vth -vh 120 -vv 120", "-vts -vh 120 -vv 120"}) {
        const Whole narrow = whole(flat_map(300, 300, 1.0f), {std::string("VIEW= ") + options});
        EXPECT_NEAR(narrow.figures.solid_angle, pi, pi * 0.003) << options;
        // ∫ cos θ dω over the cap: π sin² 60°.
        EXPECT_NEAR(narrow.lens.vertical_illuminance, pi * 0.75, pi * 0.75 * 0.003) << options;
    }
}

TEST(LensGeometry, ADiscSourceGivesItsSolidAngle) {
    // A source of 10° angular diameter, 20° off axis, drawn into an angular
    // fisheye: its samples' solid angle is 2π(1 − cos 5°).
    const int w = 1000;
    LuminanceMap map = flat_map(w, w, 100.0f);
    View view;
    apply_view_options(view, "-vta -vh 180 -vv 180 -vd 0 1 0 -vu 0 0 1");
    const auto projection = ViewProjection::make(view, w, w);
    ASSERT_TRUE(projection);
    const Vector3 centre = normalised(Vector3{std::sin(20 * pi / 180), std::cos(20 * pi / 180), 0});
    RegionSamples disc;
    for (int32_t y = 0; y < w; ++y)
        for (int32_t x = 0; x < w; ++x) {
            const auto d = projection->pixel_direction(x, w - 1 - y);
            if (!d || dot(*d, centre) < std::cos(5 * pi / 180)) continue;
            map.data[size_t(y) * w + size_t(x)] = 50000.0f;
            disc.values.push_back(50000.0f);
            disc.positions.push_back({uint32_t(x), uint32_t(y)});
        }
    const PictureLens lens = picture_lens(map, {"VIEW= -vta -vh 180 -vv 180 -vd 0 1 0 -vu 0 0 1"});
    const LensFigures f = lens_figures(lens, disc.values, disc.positions, w);
    const double expected = 2 * pi * (1 - std::cos(5 * pi / 180));
    EXPECT_NEAR(f.solid_angle, expected, expected * 0.01);
    EXPECT_NEAR(f.vertical_illuminance, 50000.0 * std::cos(20 * pi / 180) * expected, 50000.0 * expected * 0.01);
    EXPECT_GT(f.illuminance_share, 0.0);
    EXPECT_LT(f.illuminance_share, 1.0);
    EXPECT_FLOAT_EQ(float(f.weighted_mean), 50000.0f);
    // The source is a patch at the ceiling: the photograph could have
    // clipped it.
    EXPECT_EQ(lens.ceiling_pixels, int64_t(disc.values.size()));
    EXPECT_EQ(f.ceiling_pixels, int64_t(disc.values.size()));
}

TEST(LensGeometry, APictureWithoutAViewHasNoLensFigures) {
    const Whole w = whole(flat_map(20, 20, 3.0f), {"EXPOSURE=1"});
    EXPECT_FALSE(w.figures.has_view);
    EXPECT_EQ(w.figures.count_in_view, 0);
    EXPECT_EQ(w.lens.vertical_illuminance, 0);
    EXPECT_FALSE(whole(flat_map(20, 20, 3.0f), {"VIEW= -vtl -vh 2 -vv 2"}).figures.has_view);
    // A perspective view has geometry but no image circle.
    const Whole v = whole(flat_map(20, 20, 3.0f), {"VIEW= -vtv -vh 60 -vv 60"});
    EXPECT_EQ(v.figures.count_in_view, 400);
}

TEST(LensGeometry, TheIlluminanceOfTheFisheyePhotographsIsEvalglares) {
    // evalglare -V on the two photographs. evalglare weighs red, green and
    // blue with Radiance's primaries, our reader with BT.709's: on the same
    // luminance the sums agree within 0.5 %; on the reader's the bluish
    // daylight of the 544 photograph comes out 2.7 % lower.
    for (auto [name, expected, reader_tolerance] :
         {std::tuple{"fisheye_photo_786.hdr", 6124.936799, 0.005}, std::tuple{"fisheye_photo_544.hdr", 494.687140, 0.03}}) {
        const std::string path = shared_picture(name);
        if (path.empty()) GTEST_SKIP() << name << " is not on this machine";
        const auto header = read_picture_header(path);
        LuminancePicture radiance;
        ASSERT_TRUE(header.ok());
        ASSERT_TRUE(read_luminance_picture(path, radiance).ok());
        LuminanceMap map;
        map.width = radiance.width;
        map.height = radiance.height;
        map.data.assign(radiance.luminance.begin(), radiance.luminance.end());
        const PictureLens lens = picture_lens(map, header.value());
        ASSERT_TRUE(lens.has_view());
        EXPECT_NEAR(lens.vertical_illuminance, expected, expected * 0.005) << name;

        const auto read = load_luminance_map(path);
        ASSERT_TRUE(read.ok());
        const double ours = picture_lens(read.value(), header.value()).vertical_illuminance;
        EXPECT_NEAR(ours, expected, expected * reader_tolerance) << name;
    }
}

TEST(SolidAngleWeighting, TakesTheFiguresOverTheSolidAngle) {
    // Two columns of a 2 × 1 cylindrical view of very unequal solid angle
    // would be artificial; a hemispherical fisheye with a bright centre and
    // a dim rim shows the weighting pulling toward the rim, which covers
    // more sky per pixel.
    const int w = 200;
    LuminanceMap map = flat_map(w, w, 10.0f);
    for (int32_t y = 0; y < w; ++y)
        for (int32_t x = 0; x < w; ++x) {
            const double dx = (x + 0.5) / w - 0.5, dy = (y + 0.5) / w - 0.5;
            if (dx * dx + dy * dy < 0.0625) map.data[size_t(y) * w + size_t(x)] = 1000.0f;  // θ < 30°
        }
    const std::vector<std::string> header{"VIEW= -vth -vh 180 -vv 180"};
    const PictureLens lens = picture_lens(map, header);
    const RegionSamples s = everything(map);
    RegionStatistics statistics;
    statistics.samples = s.values;
    statistics.positions = s.positions;
    statistics.mean = 123;  // replaced
    AnalysisSettings settings;
    settings.percentile_enabled = true;
    settings.upper_percentile = 10;
    settings.lower_percentile = 10;
    weight_by_solid_angle(lens, settings, w, statistics);
    // Solid angle of the cap below 30°: 2π(1 − cos 30°) of 2π: 13.4 %.
    const double cap = 1 - std::cos(pi / 6);
    EXPECT_NEAR(statistics.mean, 1000 * cap + 10 * (1 - cap), 1000 * 0.01);
    EXPECT_FLOAT_EQ(statistics.median, 10.0f);
    EXPECT_NEAR(statistics.standard_deviation, 990 * std::sqrt(cap * (1 - cap)), 990 * 0.01);
    EXPECT_NEAR(statistics.percentile_ratio, 100.0f, 0.01f);
    // The figures over all pixels alike differ: the bright cap is a quarter
    // of the picture's disc.
    EXPECT_NE(sample_mean(s.values), statistics.mean);

    // Without a view nothing changes.
    RegionStatistics untouched;
    untouched.samples = s.values;
    untouched.positions = s.positions;
    untouched.mean = 5;
    weight_by_solid_angle(picture_lens(map, {}), settings, w, untouched);
    EXPECT_EQ(untouched.mean, 5);
}

TEST(Ceiling, AClippedPatchIsFoundAndASingleHotPixelIsNot) {
    LuminanceMap map = flat_map(50, 40, 100.0f);
    map.data[size_t(5) * 50 + 5] = 90000.0f;  // one hot pixel: no patch
    PictureLens lens = picture_lens(map, {});
    EXPECT_EQ(lens.ceiling_pixels, 0);
    EXPECT_EQ(overflow_sentence(lens), "");

    // A clipped sun: 6 × 6 pixels within 1 % of the ceiling.
    for (int y = 20; y < 26; ++y)
        for (int x = 30; x < 36; ++x) map.data[size_t(y) * 50 + size_t(x)] = (x + y) % 2 ? 90000.0f : 89500.0f;
    lens = picture_lens(map, {});
    EXPECT_EQ(lens.ceiling_pixels, 36 + 0);  // the lone hot pixel is still alone
    EXPECT_NEAR(lens.ceiling_share_percent, 1.8, 1e-9);
    EXPECT_EQ(overflow_sentence(lens),
              "The brightest 36 pixels (1.800 %) are clipped: illuminance and glare are underestimated. Calibrate "
              "against a measured illuminance to correct it.");
    EXPECT_EQ(overflow_sentence(37, 0.004),
              "The brightest 37 pixels (0.004 %) are clipped: illuminance and glare are underestimated. Calibrate "
              "against a measured illuminance to correct it.");
    // A region holding part of the patch counts its part.
    RegionSamples part;
    for (uint32_t x = 28; x < 33; ++x) part.values.push_back(map.at(int32_t(x), 22)), part.positions.push_back({x, 22});
    EXPECT_EQ(lens_figures(lens, part.values, part.positions, 50).ceiling_pixels, 3);
}

TEST(Ceiling, TheAssemblysCountWins) {
    EXPECT_FALSE(saturated_line({"EXPOSURE=2"}));
    const auto line = saturated_line({"SATURATED= 37 0.004%"});
    ASSERT_TRUE(line);
    EXPECT_EQ(line->count, 37);
    EXPECT_DOUBLE_EQ(line->share_percent, 0.004);
    EXPECT_FALSE(saturated_line({"SATURATED= many"}));

    LuminanceMap map = flat_map(10, 10, 1.0f);
    for (size_t k = 0; k < 5; ++k) map.data[k * 11] = 1000.0f + float(k);  // scattered, no patch
    const PictureLens lens = picture_lens(map, {"SATURATED= 3 3.0%"});
    EXPECT_EQ(lens.ceiling_pixels, 3);
    EXPECT_DOUBLE_EQ(lens.ceiling_share_percent, 3.0);
    EXPECT_EQ(lens.ceiling[44], 1);  // the three brightest
    EXPECT_EQ(lens.ceiling[0], 0);
    EXPECT_EQ(picture_lens(map, {"SATURATED= 0 0%"}).ceiling_pixels, 0);
}
