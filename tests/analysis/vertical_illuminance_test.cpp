// Vertical illuminance from fisheye pictures of every kind the camera makes.

#include <gtest/gtest.h>

#include <cmath>

#include "analysis/vertical_illuminance.h"
#include "picture/rgbe_reader.h"
#include "support/temp_folder.h"

namespace {

// A W × W fisheye with uniform luminance L inside its circle and black corners.
LuminanceMap uniform_fisheye(int w, float l) {
    LuminanceMap map;
    map.width = map.height = w;
    map.data.assign(static_cast<size_t>(w) * w, 0.0f);
    for (int y = 0; y < w; ++y)
        for (int x = 0; x < w; ++x) {
            const double dx = (x + 0.5) / w - 0.5, dy = (y + 0.5) / w - 0.5;
            if (dx * dx + dy * dy < 0.25) map.data[static_cast<size_t>(y) * w + x] = l;
        }
    return map;
}

View fisheye(const char* options) {
    View view;
    apply_view_options(view, options);
    return view;
}

TEST(PictureView, TakesTheViewLinesOfTheHeaderInOrder) {
    EXPECT_FALSE(picture_view({"#?RADIANCE", "EXPOSURE=2"}));
    const auto view = picture_view({"VIEW= -vta -vh 182 -vv 182", "SOFTWARE=x", "VIEW= -vh 180"});
    ASSERT_TRUE(view);
    EXPECT_EQ(view->type, 'a');
    EXPECT_EQ(view->horizontal, 180);
    EXPECT_EQ(view->vertical, 182);
}

TEST(VerticalIlluminance, IsPiTimesTheMeanOfTheLitPixelsForAHemisphericalPicture) {
    const LuminanceMap map = uniform_fisheye(200, 1000.0f);
    for (const auto& view : {std::optional<View>{}, std::optional<View>{fisheye("-vth -vh 180 -vv 180")}}) {
        const auto ev = vertical_illuminance(map, view);
        EXPECT_EQ(ev.method, 'h');
        EXPECT_FLOAT_EQ(ev.lux, 3141.5927f);  // the black corners excluded
        // A meter reading of 2500 lx gives the calibration factor.
        EXPECT_NEAR(ev.lux / 2500.0f, 1.2566f, 1e-4f);
    }
}

TEST(VerticalIlluminance, SumsOverTheGeometryOfAnAngularOrStereographicFisheye) {
    // A uniform sky of luminance L gives π·L on any 180° fisheye once the
    // geometry is right; π × mean is far off for these projections.
    const LuminanceMap map = uniform_fisheye(400, 1000.0f);
    for (const char* options : {"-vta -vh 180 -vv 180", "-vts -vh 180 -vv 180"}) {
        const auto ev = vertical_illuminance(map, fisheye(options));
        EXPECT_EQ(ev.method, options[3]);
        EXPECT_NEAR(ev.lux, 3141.59f, 3141.59f * 0.005f) << options;
    }
    // A sky brighter towards the rim: π × mean would count the rim at full
    // weight; cos θ takes most of it away.
    LuminanceMap rim = uniform_fisheye(400, 1000.0f);
    for (int y = 0; y < 400; ++y)
        for (int x = 0; x < 400; ++x) {
            const double r = std::hypot((x + 0.5) / 400 - 0.5, (y + 0.5) / 400 - 0.5);
            if (r > 0.4 && r < 0.5) rim.data[static_cast<size_t>(y) * 400 + x] = 5000.0f;
        }
    const auto angular = vertical_illuminance(rim, fisheye("-vta -vh 180 -vv 180"));
    const auto flat = vertical_illuminance(rim, std::nullopt);
    EXPECT_LT(angular.lux, flat.lux * 0.8f);
}

TEST(VerticalIlluminance, SumsOverAHemisphericalViewNarrowerThan180Degrees) {
    // A 150° hemispherical picture spans the disc of radius sin 75°, and its
    // uniform sky gives π·L·sin² 75°; π × mean would still say π·L.
    const LuminanceMap map = uniform_fisheye(400, 1000.0f);
    const double expected = 3141.5927 * std::pow(std::sin(75.0 * 3.14159265358979 / 180.0), 2);
    const auto ev = vertical_illuminance(map, fisheye("-vth -vh 150 -vv 150"));
    EXPECT_FALSE(ev.pi_times_mean);
    EXPECT_EQ(ev.method, 'h');
    EXPECT_NEAR(ev.lux, expected, expected * 0.005);
    // Off centre, or narrower one way only, is not the full hemisphere either.
    EXPECT_FALSE(vertical_illuminance(map, fisheye("-vth -vh 180 -vv 150")).pi_times_mean);
    EXPECT_FALSE(full_hemispherical(fisheye("-vth -vh 180 -vv 180 -vs 0.1")));
    EXPECT_TRUE(full_hemispherical(fisheye("-vth -vh 180 -vv 180")));
    EXPECT_TRUE(vertical_illuminance(map, fisheye("-vth -vh 180 -vv 180")).pi_times_mean);
}

TEST(VerticalIlluminance, IgnoresWhatAWiderAngularFisheyeSeesBehindTheCamera) {
    const LuminanceMap map = uniform_fisheye(400, 1000.0f);
    const auto wide = vertical_illuminance(map, fisheye("-vta -vh 200 -vv 200"));
    EXPECT_NEAR(wide.lux, 3141.59f, 3141.59f * 0.01f);
}

TEST(VerticalIlluminance, MatchesTheGlareProgramsFiguresOnRealPhotographs) {
    for (const auto& [name, reference] : {std::pair<const char*, float>{"fisheye_photo_786.hdr", 6124.94f},
                                          {"fisheye_photo_544.hdr", 494.69f}}) {
    const std::string path = shared_picture(name);
    if (path.empty()) GTEST_SKIP() << "test pictures not present";
    auto map = load_luminance_map(path);
    auto header = read_picture_header(path);
    ASSERT_TRUE(map.ok() && header.ok());
    const auto view = picture_view(header.value());
    ASSERT_TRUE(view);
    const auto ev = vertical_illuminance(map.value(), view);
    const auto hemispherical_rule = vertical_illuminance(map.value(), std::nullopt);
    // evalglare's figures use Radiance's luminance weights; ours are BT.709's,
    // a little different on coloured pixels.
    EXPECT_NEAR(ev.lux, reference, reference * 0.03f) << name;
    EXPECT_LT(hemispherical_rule.lux, ev.lux * 0.9f) << name;
    std::printf("%s: %.2f lx summed, %.2f lx as pi x mean\n", name, ev.lux, hemispherical_rule.lux);
    }
}

}  // namespace
