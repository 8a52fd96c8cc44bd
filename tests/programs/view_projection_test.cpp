// View geometry: directions of every view type, the way back to the image,
// and exact pixel solid angles against closed forms.

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "lib/view_file.h"
#include "picture/view_projection.h"
#include "support/temp_folder.h"

namespace {

constexpr double pi = std::numbers::pi;

View view_of(char type, double h, double v) {
    View view;
    view.type = type;
    view.horizontal = h;
    view.vertical = v;
    return view;
}

ViewProjection projection_of(char type, double h, double v, int w, int hgt) {
    const auto p = ViewProjection::make(view_of(type, h, v), w, hgt);
    EXPECT_TRUE(p.has_value());
    return *p;
}

double total_solid_angle(const ViewProjection& p) {
    const auto g = pixel_geometry(p);
    double sum = 0;
    for (double omega : g.solid_angle) sum += omega;
    return sum;
}

double off_axis(const ViewProjection& p, const Vector3& d) { return std::acos(dot(d, p.frame().forward)); }

TEST(ViewProjection, FrameFollowsRadianceDefaultsAndMakesUpPerpendicular) {
    View view = view_of('v', 40, 30);
    const auto p = ViewProjection::make(view, 10, 10);
    ASSERT_TRUE(p);
    EXPECT_NEAR(p->frame().forward.y, 1, 1e-15);
    EXPECT_NEAR(p->frame().right.x, 1, 1e-15);
    EXPECT_NEAR(p->frame().up.z, 1, 1e-15);

    view.direction[0] = 0, view.direction[1] = 0, view.direction[2] = 2;  // as in T1's header
    view.up[0] = 0, view.up[1] = 1, view.up[2] = 0.5;                     // not perpendicular
    const auto q = ViewProjection::make(view, 10, 10);
    ASSERT_TRUE(q);
    EXPECT_NEAR(q->frame().forward.z, 1, 1e-15);
    EXPECT_NEAR(q->frame().up.y, 1, 1e-15);
    EXPECT_NEAR(q->frame().right.x, -1, 1e-15);
}

TEST(ViewProjection, RefusesParallelViewsAndImpossibleSizes) {
    EXPECT_FALSE(ViewProjection::make(view_of('l', 10, 10), 10, 10));
    EXPECT_FALSE(ViewProjection::make(view_of('v', 180, 10), 10, 10));
    EXPECT_FALSE(ViewProjection::make(view_of('h', 200, 180), 10, 10));
    EXPECT_FALSE(ViewProjection::make(view_of('a', 180, 180), 0, 10));
}

TEST(ViewProjection, EveryTypeLooksStraightAheadAtTheCentre) {
    for (char type : {'v', 'c', 'a', 'h', 's'}) {
        const auto p = projection_of(type, 120, 100, 9, 7);
        const auto d = p.pixel_direction(4, 3);
        ASSERT_TRUE(d) << type;
        EXPECT_NEAR(dot(*d, p.frame().forward), 1.0, 1e-15) << type;
    }
}

TEST(ViewProjection, AngleFromTheAxisFollowsEachFisheyeLaw) {
    // 180° views, a point r picture widths right of the centre.
    const double r = 0.3;
    const auto angular = projection_of('a', 180, 180, 100, 100).direction(r, 0);
    const auto hemispherical = projection_of('h', 180, 180, 100, 100).direction(r, 0);
    const auto planisphere = projection_of('s', 180, 180, 100, 100).direction(r, 0);
    ASSERT_TRUE(angular && hemispherical && planisphere);
    EXPECT_NEAR(std::acos(angular->y), pi * r, 1e-12);
    EXPECT_NEAR(std::sin(std::acos(hemispherical->y)), 2 * r, 1e-12);
    EXPECT_NEAR(std::tan(std::acos(planisphere->y) / 2), 2 * r, 1e-12);
    // Right of the centre is +x with the default frame.
    EXPECT_GT(angular->x, 0);
}

TEST(ViewProjection, PerspectiveAndCylindricalEdgesAreAtHalfTheViewAngle) {
    const auto v = projection_of('v', 90, 60, 100, 100);
    EXPECT_NEAR(off_axis(v, *v.direction(0.5, 0)), pi / 4, 1e-12);
    EXPECT_NEAR(off_axis(v, *v.direction(0, -0.5)), pi / 6, 1e-12);
    const auto c = projection_of('c', 300, 60, 100, 100);
    EXPECT_NEAR(std::atan2(c.direction(0.5, 0)->x, c.direction(0.5, 0)->y), 150 * pi / 180, 1e-12);
}

TEST(ViewProjection, DomainsEndWhereTheProjectionsEnd) {
    const auto h = projection_of('h', 180, 180, 100, 100);
    EXPECT_TRUE(h.direction(0.5, 0));
    EXPECT_FALSE(h.direction(0.36, 0.36));  // outside the image circle
    const auto a = projection_of('a', 360, 360, 100, 100);
    EXPECT_TRUE(a.direction(0.5, 0));       // straight behind
    EXPECT_FALSE(a.direction(0.4, 0.4));    // beyond 180° off axis
}

TEST(ViewProjection, ImagePointIsTheWayBackForEveryType) {
    for (char type : {'v', 'c', 'a', 'h', 's'}) {
        View view = view_of(type, type == 'v' ? 100 : 170, type == 'c' ? 100 : 150);
        view.direction[0] = 1, view.direction[1] = 2, view.direction[2] = -0.5;
        view.shift = 0.05;
        const auto p = ViewProjection::make(view, 64, 48);
        ASSERT_TRUE(p) << type;
        for (double x : {-0.41, -0.2, 0.0, 0.13, 0.37})
            for (double y : {-0.33, 0.0, 0.21, 0.4}) {
                const auto d = p->direction(x, y);
                if (!d) continue;
                EXPECT_NEAR(length(*d), 1.0, 1e-12);
                const auto back = p->image_point(*d);
                ASSERT_TRUE(back) << type << " " << x << " " << y;
                EXPECT_NEAR(back->x, x, 1e-9) << type;
                EXPECT_NEAR(back->y, y, 1e-9) << type;
            }
    }
    const auto v = projection_of('v', 60, 60, 10, 10);
    EXPECT_FALSE(v.image_point({0, -1, 0}));  // behind a perspective view
}

TEST(SolidAngle, TriangleOfThreeAxesIsAnOctant) {
    EXPECT_NEAR(triangle_solid_angle({1, 0, 0}, {0, 1, 0}, {0, 0, 1}), pi / 2, 1e-14);
    // Orientation does not matter.
    EXPECT_NEAR(triangle_solid_angle({1, 0, 0}, {0, 0, 1}, {0, 1, 0}), pi / 2, 1e-14);
}

TEST(SolidAngle, PerspectivePixelsTileTheViewPyramidExactly) {
    // Perspective pixel edges are great circles, so the corner method adds
    // up to the pyramid's solid angle 4·asin(sin(h/2)·sin(v/2)).
    const auto p = projection_of('v', 100, 70, 120, 90);
    const double h = 100 * pi / 180, v = 70 * pi / 180;
    EXPECT_NEAR(total_solid_angle(p), 4 * std::asin(std::sin(h / 2) * std::sin(v / 2)), 1e-10);
}

TEST(SolidAngle, CylindricalPanoramaCoversItsBand) {
    // 360° around, ±30° of elevation: 4π·sin(30°).
    const auto p = projection_of('c', 360, 60, 720, 300);
    EXPECT_NEAR(total_solid_angle(p), 4 * pi * 0.5, 1e-4);
}

TEST(SolidAngle, AngularFisheyeWiderThanAHemisphereHoldsItWhole) {
    const auto a = projection_of('a', 200, 200, 400, 400);
    const auto g = pixel_geometry(a);
    double forward = 0;
    for (size_t k = 0; k < g.solid_angle.size(); ++k)
        if (dot(g.direction[k], a.frame().forward) >= 0) forward += g.solid_angle[k];
    // Pixels straddling 90° count whole: half a pixel ring's worth above 2π.
    const double ring = 2 * pi * (200.0 / 180.0 * 0.5 / 400.0 * pi) * 0.5;
    EXPECT_NEAR(forward, 2 * pi, ring);
    EXPECT_GT(forward, 2 * pi - 1e-3);
}

TEST(SolidAngle, HemisphericalPixelsProjectToTheirAreaAndTheRimRingIsLost) {
    // Orthographic projection: cos θ · ω is the pixel's share of the unit
    // disc, 4 / (W·H), for every pixel whose corners are all inside.
    const int n = 400;
    const auto h = projection_of('h', 180, 180, n, n);
    const auto g = pixel_geometry(h);
    double projected = 0, inside = 0;
    for (int j = 0; j < n; ++j)
        for (int i = 0; i < n; ++i) {
            const size_t k = size_t(j) * n + size_t(i);
            projected += g.solid_angle[k] * dot(g.direction[k], h.frame().forward);
            bool all = true;
            for (int cj : {j, j + 1})
                for (int ci : {i, i + 1}) {
                    const double x = 2.0 * ci / n - 1, y = 2.0 * cj / n - 1;
                    all = all && x * x + y * y <= 1;
                }
            inside += all ? 1 : 0;
        }
    // (Near the rim a pixel's true edges bend away from the great circles
    // between its corners: 0.09 % over the whole disc at this size.)
    EXPECT_NEAR(projected / (4 * inside / (n * n)), 1.0, 2e-3);
    // The straddling ring holds much solid angle: 5.79 of 6.28 sr remain.
    EXPECT_NEAR(total_solid_angle(h), 5.794351, 1e-5);
}

TEST(SolidAngle, AgreesWithTheAnalyticPixelSizeAwayFromTheRim) {
    struct Case {
        char type;
        double h, v;
    };
    const int w = 300, hgt = 200;
    for (const Case c : {Case{'v', 90, 70}, Case{'c', 180, 90}, Case{'s', 180, 180}}) {
        const auto p = projection_of(c.type, c.h, c.v, w, hgt);
        const double h = c.h * pi / 180, v = c.v * pi / 180;
        for (int i : {10, 80, 150, 290})
            for (int j : {5, 60, 100, 190}) {
                const auto d = *p.pixel_direction(i, j);
                const double cos_t = dot(d, p.frame().forward);
                double analytic = 0;
                if (c.type == 'v') {
                    analytic = 4 * std::tan(h / 2) * std::tan(v / 2) * std::pow(cos_t, 3) / (w * hgt);
                } else if (c.type == 'c') {
                    const double y = (j + 0.5) / hgt - 0.5, q = 2 * std::tan(v / 2);
                    analytic = h * q * std::pow(std::cos(std::atan(y * q)), 3) / (w * hgt);
                } else {
                    analytic = 4 * std::tan(h / 4) * std::tan(v / 4) * std::pow(1 + cos_t, 2) / (w * hgt);
                }
                EXPECT_NEAR(p.pixel_solid_angle(i, j) / analytic, 1.0, 1e-4) << c.type << " " << i << " " << j;
            }
    }
}

TEST(SolidAngle, GridAgreesWithSinglePixelsAndZeroesPixelsLeavingTheDomain) {
    const auto p = projection_of('h', 180, 180, 50, 40);
    const auto g = pixel_geometry(p);
    for (int j = 0; j < 40; j += 3)
        for (int i = 0; i < 50; i += 7)
            EXPECT_DOUBLE_EQ(g.solid_angle[size_t(j) * 50 + size_t(i)], p.pixel_solid_angle(i, j));
    EXPECT_EQ(g.solid_angle[0], 0.0);       // corner of the picture
    EXPECT_FALSE(g.has_direction(0));
    EXPECT_GT(g.solid_angle[20 * 50 + 25], 0.0);
}

TEST(ViewFile, LaterLinesOverrideEarlierOnesAndTheHeaderEndsTheFile) {
    TempFolder folder;
    write_file(folder / "v.vf",
               "#?RADIANCE\nrview -vtv -vh 50 -vv 40 -vd 1 0 0\nnot a view -vth\nevalglare -vv 60\n"
               "VIEW= -vh 70\n\nVIEW= -vta\n");
    View view;
    const auto lines = read_view_file((folder / "v.vf").string(), view, "evalglare");
    ASSERT_TRUE(lines);
    EXPECT_EQ(*lines, 3);
    EXPECT_EQ(view.type, 'v');
    EXPECT_EQ(view.horizontal, 70);
    EXPECT_EQ(view.vertical, 60);
    EXPECT_EQ(view.direction[0], 1);
    View untouched;
    EXPECT_FALSE(read_view_file((folder / "missing.vf").string(), untouched, "evalglare"));
}

}  // namespace
