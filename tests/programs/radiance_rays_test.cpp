// Which pixels do not count as near themselves under Radiance's own view
// arithmetic. The counts were worked out separately, in IEEE double
// arithmetic with the same operations in the same order.

#include <gtest/gtest.h>

#include <algorithm>

#include "lib/radiance_rays.h"

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

}  // namespace
