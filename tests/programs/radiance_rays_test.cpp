// Which pixels do not count as near themselves under Radiance's own view
// arithmetic. The counts were worked out separately, in IEEE double
// arithmetic with the same operations in the same order.

#include <gtest/gtest.h>

#include <algorithm>

#include "lib/radiance_rays.h"
#include "picture/view_projection.h"

namespace {

size_t flagged(const char* options, int width, int height) {
    View view;
    apply_view_options(view, options);
    const auto flags = pixels_not_near_themselves(view, RowLayout{width, height, false, true});
    return size_t(std::count(flags.begin(), flags.end(), 1));
}

TEST(RadianceRays, FlagThePixelsWhoseDirectionRoundsLongerThanOne) {
    EXPECT_EQ(flagged("-vta -vv 182 -vh 182 -vd 0 0 1 -vu 0 1 0", 786, 786), 123983u);
    EXPECT_EQ(flagged("-vta -vv 182 -vh 182 -vd 0 0 1 -vu 0 1 0", 503, 503), 48649u);
    EXPECT_EQ(flagged("-vta -vd 0.9112 0.160669 -0.34161 -vu 0 0 1 -vh 180 -vv 175", 128, 124), 5082u);
}

TEST(RadianceRays, MirroringTheLayoutMirrorsTheFlags) {
    View view;
    apply_view_options(view, "-vta -vv 182 -vh 182 -vd 0 0 1 -vu 0 1 0");
    const auto upward = pixels_not_near_themselves(view, RowLayout{60, 40, false, true});
    const auto downward = pixels_not_near_themselves(view, RowLayout{60, 40, true, false});
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 60; ++x)
            ASSERT_EQ(upward[size_t(y) * 60 + size_t(x)], downward[size_t(39 - y) * 60 + size_t(59 - x)]);
    EXPECT_EQ(flagged("-vtl -vh 10 -vv 10", 20, 20), 0u);
}

TEST(RadianceRays, SolidAnglesAreThePixelsTakenUpsideDown) {
    // A lifted perspective view is not symmetric top to bottom: evalglare's
    // solid angle of row y is the one of the row mirrored in the view.
    View view;
    apply_view_options(view, "-vtv -vh 60 -vv 40 -vl 0.3");
    const int w = 30, h = 20;
    const auto omega = radiance_solid_angles(view, RowLayout{w, h, false, true});
    ASSERT_TRUE(omega);
    const auto projection = *ViewProjection::make(view, w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const double expected = projection.pixel_solid_angle(x, h - 1 - y);
            ASSERT_NEAR((*omega)[size_t(y) * w + size_t(x)], expected, 1e-9 * expected) << x << " " << y;
        }
    // An angular fisheye: the same areas as our own exact corners give.
    apply_view_options(view, "-vta -vh 180 -vv 180 -vl 0");
    const auto fisheye = *radiance_solid_angles(view, RowLayout{100, 100, false, true});
    const auto round = *ViewProjection::make(view, 100, 100);
    for (const auto& [x, y] : {std::pair{50, 50}, {10, 50}, {80, 20}, {2, 2}})
        EXPECT_NEAR(fisheye[size_t(y) * 100 + size_t(x)], round.pixel_solid_angle(x, y),
                    1e-8 * round.pixel_solid_angle(x, y));
    EXPECT_FALSE(radiance_solid_angles(View{'l'}, RowLayout{4, 4, false, true}));
}

}  // namespace
