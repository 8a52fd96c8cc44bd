#include "profiles/image_circle.h"

#include <gtest/gtest.h>

#include <cmath>

#include "picture/rgbe_reader.h"
#include "support/temp_folder.h"

namespace {

// A lit disc with a soft rim over a dim, flared background, as a fisheye
// lens throws it: the pixel's value is its covered share of the disc.
LuminanceMap disc(int width, int height, double cx, double cy, double radius, float inside, float outside) {
    LuminanceMap map;
    map.width = width;
    map.height = height;
    map.data.resize(static_cast<size_t>(width) * height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const double d = std::hypot(x + 0.5 - cx, y + 0.5 - cy) - radius;
            const double covered = std::clamp(0.5 - d, 0.0, 1.0);
            // Texture inside, so the edge is not the only structure.
            const float texture = 1.0f + 0.3f * static_cast<float>(std::sin(x * 0.2) * std::cos(y * 0.13));
            map.data[static_cast<size_t>(y) * width + x] =
                static_cast<float>(covered * inside * texture + (1 - covered) * outside);
        }
    return map;
}

}  // namespace

// The half-way point on a log scale lies where a pixel is a few percent
// covered, so on this one-pixel linear rim the radius comes out up to half a
// pixel larger than the 50 % coverage drawn; the centre is unbiased.
TEST(ImageCircle, FindsADrawnDisc) {
    for (const auto& [w, h, cx, cy, r] : {std::tuple{400, 300, 203.3, 148.7, 131.2},
                                          std::tuple{300, 300, 150.0, 150.0, 149.6},
                                          std::tuple{500, 300, 250.5, 150.0, 170.0}}) {  // cut at top and bottom
        auto circle = find_image_circle(disc(w, h, cx, cy, r, 100, 0.5f));
        ASSERT_TRUE(circle) << circle.failure().message;
        EXPECT_NEAR(circle.value().centre_x, cx, 0.1) << w << "x" << h;
        EXPECT_NEAR(circle.value().centre_y, cy, 0.1) << w << "x" << h;
        EXPECT_NEAR(circle.value().radius, r + 0.25, 0.25) << w << "x" << h;
    }
}

TEST(ImageCircle, RefusesAPictureWithoutALitDisc) {
    EXPECT_FALSE(find_image_circle(disc(200, 200, 100, 100, 300, 50, 50)));  // the whole frame lit
    EXPECT_FALSE(find_image_circle(disc(200, 200, 100, 100, 80, 1, 1)));     // no contrast
    EXPECT_FALSE(find_image_circle(disc(10, 10, 5, 5, 3, 50, 0)));            // too small
}

// The hand measurements: along rows and columns through clean stretches of
// the rim, the boundary between the last dark and the first lit pixel (the
// 786 picture's outside is exactly black) or, where a lens flare blurs the
// rim (the 544 picture), the place where the luminance is half-way on a log
// scale between the level 5 px outside and 5 px inside, interpolated between
// pixel centres. Chord midpoints give the centre, chord lengths the radius.
TEST(ImageCircle, FisheyePhotographsAgreeWithHandMeasurement) {
    struct Measured {
        const char* name;
        double centre_x, centre_y, radius;
    };
    // 786: rows 5, 20, 50, 100, 300, 686 and columns 5, 50, 100, 686 are lit
    // from 331..455, 269..517, 201..585, 131..655, 11..775, 131..655 (all
    // chords centred on 393.5); row 100's chord 656 - 131 = 525 at 293 from
    // the centre gives 393.4, rows 5, 50 and 300 give 393.0, 393.3, 393.6.
    // 544: row 30 crosses at 150.2 and 395.0, row 60 at 103.7 and 442.0, row
    // 100 at 63.2 and 483.9 (midpoints 272.6, 272.9, 273.5), column 444 at
    // 62.6 and 483.7 (midpoint 273.2); radii from these chords 271.5 to 272.1.
    for (const Measured& m : {Measured{"fisheye_photo_786.hdr", 393.5, 393.5, 393.3},
                              Measured{"fisheye_photo_544.hdr", 273.0, 273.2, 271.8}}) {
        const std::string path = shared_picture(m.name);
        if (path.empty()) GTEST_SKIP() << "shared pictures are not on this machine";
        auto map = load_luminance_map(path);
        ASSERT_TRUE(map);
        auto circle = find_image_circle(map.value());
        ASSERT_TRUE(circle) << m.name << ": " << circle.failure().message;
        EXPECT_NEAR(circle.value().centre_x, m.centre_x, 2) << m.name;
        EXPECT_NEAR(circle.value().centre_y, m.centre_y, 2) << m.name;
        EXPECT_NEAR(circle.value().radius, m.radius, 2) << m.name;
        std::printf("%s: found %.2f %.2f %.2f\n", m.name, circle.value().centre_x, circle.value().centre_y,
                    circle.value().radius);
    }
}
