// The glare formulas one by one: position indices, the Guth field of view,
// the six indices on the worked example S3 and the guards where a formula
// breaks down.

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

#include "lib/glare_indices.h"
#include "lib/guth_field.h"
#include "lib/position_index.h"

namespace {

constexpr double pi = std::numbers::pi;
constexpr double degree = pi / 180;

SightFrame standard_frame() { return {{0, 1, 0}, {0, 0, 1}}; }

// A unit direction σ degrees off the line of sight, τ degrees round from up.
Vector3 direction_at(double sigma, double tau) {
    const double s = std::sin(sigma * degree);
    return {s * std::sin(tau * degree), std::cos(sigma * degree), s * std::cos(tau * degree)};
}

TEST(SightAngles, MeasureOffAxisAndRoundFromUp) {
    const auto a = sight_angles(direction_at(40, 64.5), standard_frame());
    EXPECT_NEAR(a.off_axis, 40, 1e-12);
    EXPECT_NEAR(a.from_up, 64.5, 1e-12);
    EXPECT_GT(a.up_component, 0);
    const auto below = sight_angles(direction_at(30, 180), standard_frame());
    EXPECT_NEAR(below.from_up, 180, 1e-9);
    EXPECT_NEAR(below.elevation, -30 * degree, 1e-12);
    const auto right = sight_angles(direction_at(20, 90), standard_frame());
    EXPECT_NEAR(right.azimuth, 20 * degree, 1e-12);
    EXPECT_EQ(sight_angles({0, 1, 0}, standard_frame()).off_axis, 0);
}

TEST(PositionIndex, ReproducesThePrintedExamples) {
    EXPECT_NEAR(guth_position_index(40.652, 64.53), 2.7786, 5e-4);
    EXPECT_NEAR(iwata_position_index(-42.651 * degree, -44.503 * degree), 2.616443, 5e-4);
}

TEST(PositionIndex, ChoosesGuthAboveIwataBelowAndCaps) {
    SightAngles above;
    above.off_axis = 30, above.from_up = 20, above.elevation = 0.4;
    EXPECT_DOUBLE_EQ(position_index(above), guth_position_index(30, 20));
    SightAngles below;
    below.off_axis = 30, below.from_up = 160, below.elevation = -0.4, below.azimuth = 0.2;
    EXPECT_DOUBLE_EQ(position_index(below), iwata_position_index(-0.4, 0.2));
    // Near side: 1 + 0.8 ρ up to ρ = 0.6, then 1 + 1.2 ρ, ρ capped at 3.
    EXPECT_NEAR(iwata_position_index(-std::atan(0.5), 0), 1 + 0.8 * std::hypot(0.5, 1e-4), 1e-12);
    EXPECT_NEAR(iwata_position_index(-1.5, 0.3), 1 + 1.2 * 3, 1e-12);
    SightAngles far = above;
    far.off_axis = 89, far.from_up = 0;
    EXPECT_EQ(position_index(far), 16);
    SightAngles centre;
    EXPECT_EQ(position_index(centre), 1);
}

TEST(SightAngles, MeasureAgainstTheUpVectorAsWritten) {
    // Looking 20° down with -vu 0 0 1, as renders are made: the up vector is
    // 110° from the line of sight and is not made perpendicular to it.
    const double tilt = 20 * degree;
    const SightFrame frame{{0, std::cos(tilt), -std::sin(tilt)}, {0, 0, 1}};
    const double sin_alpha = std::sin(110 * degree);
    // Straight up across the line of sight, 30° off it.
    const Vector3 up_across{0, std::sin(tilt), std::cos(tilt)};
    const Vector3 d = normalised(std::cos(30 * degree) * frame.forward + std::sin(30 * degree) * up_across);
    const auto a = sight_angles(d, frame);
    EXPECT_NEAR(a.off_axis, 30, 1e-9);
    EXPECT_NEAR(a.from_up, 20, 1e-9);  // not 0
    EXPECT_NEAR(a.elevation, std::asin(sin_alpha * std::sin(30 * degree)), 1e-12);
    // Straight to the right: sideways by the same factor, τ exactly 90.
    const Vector3 right = normalised(std::cos(30 * degree) * frame.forward + std::sin(30 * degree) * Vector3{1, 0, 0});
    const auto r = sight_angles(right, frame);
    EXPECT_NEAR(r.from_up, 90, 1e-9);
    EXPECT_NEAR(r.azimuth, std::asin(sin_alpha * std::sin(30 * degree)), 1e-12);
    // Behind the observer the across part is reversed; on the axis τ is 90.
    EXPECT_NEAR(sight_angles(-1.0 * d, frame).from_up, 20, 1e-9);
    EXPECT_EQ(sight_angles(frame.forward, frame).from_up, 90);
}

TEST(GuthField, CutsAboveAtSixtyDegreesAndBelowAtTheFittedBoundaries) {
    const SightFrame f = standard_frame();
    // Straight up: total field boundary 7.7458218² = 60.0°.
    EXPECT_FALSE(outside_guth_field(sight_angles(direction_at(59.5, 0), f), GuthField::total));
    EXPECT_TRUE(outside_guth_field(sight_angles(direction_at(60.5, 0), f), GuthField::total));
    EXPECT_TRUE(outside_guth_field(sight_angles(direction_at(60.5, 30), f), GuthField::binocular));
    // Straight down: total 1 / 0.014699242 = 68.03°, binocular 68.23°.
    EXPECT_FALSE(outside_guth_field(sight_angles(direction_at(67.5, 180), f), GuthField::total));
    EXPECT_TRUE(outside_guth_field(sight_angles(direction_at(68.5, 180), f), GuthField::total));
    EXPECT_FALSE(outside_guth_field(sight_angles(direction_at(68, 180), f), GuthField::binocular));
    EXPECT_TRUE(outside_guth_field(sight_angles(direction_at(68.5, 180), f), GuthField::binocular));
    // Low to the side the total field is not cut at all; both eyes see 60°.
    EXPECT_FALSE(outside_guth_field(sight_angles(direction_at(85, 120), f), GuthField::total));
    EXPECT_TRUE(outside_guth_field(sight_angles(direction_at(85, 120), f), GuthField::binocular));
    EXPECT_FALSE(outside_guth_field(sight_angles(direction_at(85, 120), f), GuthField::none));
}

// S3 of the worked example: one source.
const SourceFigures s3_source{20003.25, 0.0366757, 3.3232, 29.835};

SceneFigures s3_scene() {
    SceneFigures scene;
    scene.illuminance = scene.dgp_illuminance = 3719.18;
    scene.direct_illuminance = 632.11;
    scene.background = 982.646;
    scene.average = 1118.78;
    return scene;
}

TEST(GlareIndices, WorkedExampleFromThePublishedFormulas) {
    const double L = s3_source.luminance, w = s3_source.solid_angle, P = s3_source.position_index;
    const double Ev = 3719.18, Lb = 982.646, Ed = 632.11, La = 1118.78;
    const double contrast = L * L * w / (P * P);
    const std::vector<SourceFigures> one = {s3_source};
    const auto g = glare_indices(s3_scene(), one);

    EXPECT_NEAR(g.dgp, 5.87e-5 * Ev + 0.092 * std::log10(1 + contrast / std::pow(Ev, 1.87)) + 0.159, 1e-12);
    EXPECT_NEAR(g.dgp, 0.387171, 2e-6);
    EXPECT_NEAR(g.ugr, 8 * std::log10(0.25 / Lb * contrast), 1e-12);
    EXPECT_NEAR(g.ugr, 20.232, 1e-3);
    const double dgi = 0.478 * std::pow(L, 1.6) * std::pow(w / (P * P), 0.8) / (Lb + 0.07 * std::sqrt(w) * L);
    EXPECT_NEAR(g.dgi, 10 * std::log10(dgi), 1e-12);
    EXPECT_NEAR(g.dgi, 14.810, 1e-3);
    EXPECT_NEAR(g.cgi, 8 * std::log10(2 * (1 + Ed / 500) / Ev * contrast), 1e-12);
    EXPECT_NEAR(g.cgi, 25.672, 1e-3);
    const double dgr = 0.5 * L * (20.4 * w + 1.52 * std::pow(w, 0.2) - 0.075) / (P * std::pow(La, 0.44));
    EXPECT_NEAR(g.dgr, dgr, 1e-9);
    EXPECT_NEAR(g.vcp, 50 * std::erf((6.374 - 1.3227 * std::log(dgr)) / std::sqrt(2.0)) + 50, 1e-9);
    EXPECT_NEAR(g.vcp, 26.32, 0.01);
    EXPECT_NEAR(g.veil, 5 * L * w * std::cos(29.835 * degree) / 29.835, 1e-9);
    EXPECT_NEAR(g.veil, 106.65, 0.01);
}

TEST(GlareIndices, SeveralSourcesAddUpAndSoftenTheRating) {
    const SourceFigures second{5000, 0.01, 2.0, 50};
    const std::vector<SourceFigures> two = {s3_source, second};
    const auto g = glare_indices(s3_scene(), two);
    EXPECT_NEAR(weighted_square_sum(two), 20003.25 * 20003.25 * 0.0366757 / (3.3232 * 3.3232) + 5000.0 * 5000 * 0.01 / 4,
                1e-6);
    const double one = discomfort_glare_rating(1118.78, std::vector<SourceFigures>{s3_source});
    const double other = discomfort_glare_rating(1118.78, std::vector<SourceFigures>{second});
    EXPECT_NEAR(g.dgr, std::pow(one + other, std::pow(2.0, -0.0914)), 1e-9);
}

TEST(GlareIndices, SceneWithoutSourcesHasOnlyItsIlluminance) {
    SceneFigures scene = s3_scene();
    scene.illuminance = scene.dgp_illuminance = 3118.625;
    const auto g = glare_indices(scene, {});
    EXPECT_NEAR(g.dgp, 0.342063, 1e-6);
    EXPECT_EQ(g.dgi, 0);
    EXPECT_EQ(g.ugr, 0);
    EXPECT_EQ(g.cgi, 0);
    EXPECT_EQ(g.vcp, 100);
    EXPECT_EQ(g.veil, 0);
}

TEST(GlareIndices, LowLightCorrectionBelowAThousandLux) {
    EXPECT_EQ(low_light_factor(1000), 1.0);
    EXPECT_NEAR(low_light_factor(500), std::exp(8.0) / (1 + std::exp(8.0)), 1e-15);
    EXPECT_NEAR(daylight_glare_probability(200, {}), (5.87e-5 * 200 + 0.159) * low_light_factor(200), 1e-15);
}

TEST(GlareIndices, GuardsWhereTheFormulasBreakDown) {
    const std::vector<SourceFigures> one = {s3_source};
    // No light at the eye.
    EXPECT_NEAR(daylight_glare_probability(0, one), 0.018, 2e-4);
    EXPECT_NEAR(daylight_glare_probability(0, {}), 0.159 * 0.018, 2e-5);
    EXPECT_EQ(cie_glare_index(0, 0, one), 0);
    // Nothing behind the sources.
    EXPECT_EQ(unified_glare_rating(0, one), -99);
    EXPECT_TRUE(std::isfinite(daylight_glare_index(0, one)));
    // A black field of view: the rating is infinite, the probability 0.
    EXPECT_EQ(visual_comfort_probability(discomfort_glare_rating(0, one)), 0);
    EXPECT_EQ(visual_comfort_probability(10), 100);
    EXPECT_EQ(visual_comfort_probability(800), 0);
    // A source on the axis.
    const SourceFigures centred{1000, 0.01, 1, 0};
    EXPECT_NEAR(veiling_luminance(std::vector<SourceFigures>{centred}), 5 * 1000 * 0.01 * std::cos(0.01 * degree) / 0.01, 1e-9);
    // Very bright scenes stay at probability 1.
    const SourceFigures sun{1e9, 0.1, 1, 10};
    EXPECT_EQ(daylight_glare_probability(20000, std::vector<SourceFigures>{sun}), 1.0);
}

}  // namespace
