// Fisheye geometry: where the angular and the hemispherical view see a
// direction, the view frame taken from -vd and -vu, and the output size
// that keeps pixels square.

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "lib/fisheye_reprojection.h"

namespace {

const double root_half = std::sqrt(0.5);

FisheyeView fisheye(const std::string& options) {
    View view;
    apply_view_options(view, options);
    const auto made = make_fisheye_view(view);
    EXPECT_TRUE(made.has_value()) << options;
    return made.value_or(FisheyeView{});
}

void expect_direction(const std::optional<Direction>& d, double x, double y, double z) {
    ASSERT_TRUE(d.has_value());
    EXPECT_NEAR(d->x, x, 1e-12);
    EXPECT_NEAR(d->y, y, 1e-12);
    EXPECT_NEAR(d->z, z, 1e-12);
}

TEST(FisheyeGeometry, AngularViewPlacesTheAngleInProportionToTheDistance) {
    const auto view = fisheye("-vta -vh 180 -vv 180");
    expect_direction(fisheye_direction(view, 0, 0), 0, 1, 0);
    // A quarter of the width from the centre is 45 degrees off the axis.
    expect_direction(fisheye_direction(view, 0.25, 0), root_half, root_half, 0);
    expect_direction(fisheye_direction(view, 0, -0.25), 0, root_half, -root_half);
    // The rim of the inscribed circle looks sideways, the corners behind.
    expect_direction(fisheye_direction(view, -0.5, 0), -1, 0, 0);
    const auto corner = fisheye_direction(view, 0.5, 0.5);
    ASSERT_TRUE(corner.has_value());
    EXPECT_NEAR(corner->y, std::cos(std::numbers::pi * root_half), 1e-12);
    // Beyond 180 degrees from the axis the view shows nothing.
    EXPECT_FALSE(fisheye_direction(fisheye("-vta -vh 360 -vv 360"), 0.5, 0.5).has_value());
}

TEST(FisheyeGeometry, HemisphericalViewPlacesTheSineInProportionToTheDistance) {
    const auto view = fisheye("-vth -vh 180 -vv 180");
    expect_direction(fisheye_direction(view, 0.25, 0), 0.5, std::sqrt(0.75), 0);
    EXPECT_FALSE(fisheye_direction(view, 0.4, 0.4).has_value());  // outside the disc

    const auto at45 = fisheye_location(view, {root_half, root_half, 0});
    ASSERT_TRUE(at45.has_value());
    EXPECT_NEAR(at45->p, 0.5 + root_half / 2, 1e-12);
    EXPECT_NEAR(at45->q, 0.5, 1e-12);
    EXPECT_FALSE(fisheye_location(view, {0, -1, 0}).has_value());           // behind
    EXPECT_FALSE(fisheye_location(view, {0, -0.01, 0.99995}).has_value());  // just behind
    EXPECT_FALSE(fisheye_location(view, {1, 0, 0}).has_value());  // on the rim: not strictly inside
}

TEST(FisheyeGeometry, LocationIsTheInverseOfDirectionForBothTypesAndAnyFrame) {
    for (const char* options : {"-vta -vh 180 -vv 180", "-vth -vh 180 -vv 180", "-vta -vh 150 -vv 120",
                                "-vth -vh 160 -vv 100", "-vta -vh 180 -vv 180 -vd 0 0 1 -vu 0 1 0",
                                "-vth -vh 180 -vv 180 -vd 1 2 3 -vu 0 0 1"}) {
        const auto view = fisheye(options);
        for (double u = -0.45; u < 0.46; u += 0.05)
            for (double w = -0.45; w < 0.46; w += 0.05) {
                const auto direction = fisheye_direction(view, u, w);
                if (!direction) continue;
                EXPECT_NEAR(std::hypot(direction->x, direction->y, direction->z), 1.0, 1e-12);
                const auto location = fisheye_location(view, *direction);
                // Leave out the rims, where rounding decides.
                if (view.type == 'a' && std::hypot(u * view.horizontal, w * view.vertical) / 180 > 0.999) continue;
                const double along = direction->x * view.forward.x + direction->y * view.forward.y +
                                     direction->z * view.forward.z;
                if (view.type == 'h' && along < 1e-9) continue;
                ASSERT_TRUE(location.has_value()) << options << " u " << u << " w " << w;
                EXPECT_NEAR(location->p, u + 0.5, 1e-9) << options;
                EXPECT_NEAR(location->q, w + 0.5, 1e-9) << options;
            }
    }
}

TEST(FisheyeGeometry, FrameFollowsDirectionAndUpVector) {
    // Looking along +z with +y up, the picture's right is -x.
    const auto view = fisheye("-vta -vh 180 -vv 180 -vd 0 0 1 -vu 0 1 0");
    expect_direction(fisheye_direction(view, 0.25, 0), -root_half, 0, root_half);
    expect_direction(fisheye_direction(view, 0, 0.25), 0, root_half, root_half);
    // Lengths do not matter, only directions.
    const auto scaled = fisheye("-vth -vh 180 -vv 180 -vd 0 5 0 -vu 0 0 3");
    expect_direction(fisheye_direction(scaled, 0.25, 0), 0.5, std::sqrt(0.75), 0);
}

TEST(FisheyeGeometry, RefusesOtherViewTypesAndFramelessVectors) {
    View view;
    apply_view_options(view, "-vtv -vh 60 -vv 60");
    EXPECT_FALSE(make_fisheye_view(view).has_value());
    apply_view_options(view, "-vta -vd 0 0 1 -vu 0 0 2");
    EXPECT_FALSE(make_fisheye_view(view).has_value());
}

TEST(FisheyeGeometry, OutputSizeKeepsPixelsSquare) {
    const auto hemisphere = fisheye("-vth -vh 180 -vv 180");
    auto size = fisheye_picture_size(hemisphere, 1000, 1000);
    EXPECT_EQ(size.width, 1000);
    EXPECT_EQ(size.height, 1000);
    size = fisheye_picture_size(hemisphere, 800, 400);
    EXPECT_EQ(size.width, 400);
    EXPECT_EQ(size.height, 400);
    size = fisheye_picture_size(hemisphere, 300, 900);
    EXPECT_EQ(size.width, 300);
    EXPECT_EQ(size.height, 300);
    // sin 45 / sin 90 = 0.7071: 282.8 rounds to 283.
    size = fisheye_picture_size(fisheye("-vth -vh 180 -vv 90"), 400, 400);
    EXPECT_EQ(size.width, 400);
    EXPECT_EQ(size.height, 283);
    size = fisheye_picture_size(fisheye("-vta -vh 90 -vv 180"), 400, 400);
    EXPECT_EQ(size.width, 200);
    EXPECT_EQ(size.height, 400);
}

}  // namespace
