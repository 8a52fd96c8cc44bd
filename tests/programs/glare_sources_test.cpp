// Glare source detection on synthetic angular fisheye scenes: linkage by
// angle, the threshold, smoothing, peak extraction and the summaries.

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "glare_scenes.h"
#include "lib/angular_grouping.h"
#include "lib/glare_sources.h"

namespace {

constexpr int size = 180;  // 180° over 180 pixels: one degree per pixel at the centre

struct Scene {
    ViewProjection projection;
    PixelGeometry geometry;
    std::vector<float> luminance;
    std::vector<uint8_t> valid;

    GlareField field() const { return {geometry, luminance, valid}; }
    size_t at(int i, int row_from_top) const { return size_t(size - 1 - row_from_top) * size + size_t(i); }
};

Scene make_scene(const std::vector<Disc>& discs, double background = 100) {
    View view;
    view.type = 'a';
    view.horizontal = view.vertical = 180;
    auto projection = *ViewProjection::make(view, size, size);
    Scene s{projection, pixel_geometry(projection), scene_luminance(size, size, background, discs), {}};
    s.valid.assign(s.luminance.size(), 0);
    for (size_t p = 0; p < s.valid.size(); ++p)
        s.valid[p] = s.geometry.solid_angle[p] > 0 && dot(s.geometry.direction[p], projection.frame().forward) >= 0;
    return s;
}

std::set<int> sources_in(const GlareSources& found) {
    std::set<int> numbers;
    for (int s : found.source_of)
        if (s >= 0) numbers.insert(s);
    return numbers;
}

TEST(AngularGrouping, JoinsAcrossGapsShorterThanTheAngleOnly) {
    // Discs 6 and 14 pixels (about degrees) apart, edge to edge.
    const auto s = make_scene({{60, 90, 4, 5000}, {74, 90, 4, 5000}, {100, 90, 4, 5000}});
    std::vector<uint32_t> pixels;
    for (size_t p = 0; p < s.luminance.size(); ++p)
        if (s.luminance[p] > 1000) pixels.push_back(uint32_t(p));
    const auto at_10_degrees = group_by_angle(pixels, s.geometry, 10 * std::numbers::pi / 180);
    EXPECT_EQ(*std::max_element(at_10_degrees.begin(), at_10_degrees.end()), 1);
    const auto at_20_degrees = group_by_angle(pixels, s.geometry, 20 * std::numbers::pi / 180);
    EXPECT_EQ(*std::max_element(at_20_degrees.begin(), at_20_degrees.end()), 0);
    const auto at_3_degrees = group_by_angle(pixels, s.geometry, 3 * std::numbers::pi / 180);
    EXPECT_EQ(*std::max_element(at_3_degrees.begin(), at_3_degrees.end()), 2);
    // Numbered by first appearance.
    EXPECT_EQ(at_3_degrees.front(), 0);
}

TEST(AngularGrouping, NeighboursFartherThanTheAngleStaySeparate) {
    const auto s = make_scene({{90, 90, 3, 5000}});
    std::vector<uint32_t> pixels;
    for (size_t p = 0; p < s.luminance.size(); ++p)
        if (s.luminance[p] > 1000) pixels.push_back(uint32_t(p));
    const auto groups = group_by_angle(pixels, s.geometry, 0.5 * std::numbers::pi / 180);
    EXPECT_EQ(std::set<int>(groups.begin(), groups.end()).size(), pixels.size());
}

TEST(GlareSources, ThresholdIsStrictAndInvalidPixelsNeverGlare) {
    auto s = make_scene({{90, 40, 5, 3000}, {90, 140, 5, 2000}});
    s.luminance[0] = 1e6;  // a corner outside the image circle
    s.valid[0] = 0;
    SourceSearch search;
    search.threshold = 2000;
    const auto found = find_glare_sources(s.field(), search);
    EXPECT_EQ(sources_in(found), (std::set<int>{0}));
    EXPECT_EQ(found.source_of[s.at(90, 40)], 0);   // the upper disc, first from the top
    EXPECT_EQ(found.source_of[s.at(90, 140)], -1);
    EXPECT_EQ(found.source_of[0], -1);
}

TEST(GlareSources, SummaryWeighsBySolidAngle) {
    const auto s = make_scene({{90, 50, 6, 5000}});
    SourceSearch search;
    const auto found = find_glare_sources(s.field(), search);
    const auto summary = summarise_sources(s.field(), found, s.projection.frame());
    ASSERT_EQ(summary.size(), 1u);
    double omega = 0, illuminance = 0;
    int pixels = 0;
    for (size_t p = 0; p < s.luminance.size(); ++p)
        if (s.luminance[p] > 1000) {
            ++pixels;
            omega += s.geometry.solid_angle[p];
            illuminance += s.luminance[p] * dot(s.geometry.direction[p], s.projection.frame().forward) *
                           s.geometry.solid_angle[p];
        }
    EXPECT_EQ(summary[0].pixels, pixels);
    EXPECT_NEAR(summary[0].solid_angle, omega, 1e-12);
    EXPECT_NEAR(summary[0].luminance, stored_luminance(5000), 1e-3);
    EXPECT_NEAR(summary[0].illuminance, illuminance, 1e-9);
    // Straight above the centre, 40° up (the disc centre is 40 pixels up).
    EXPECT_NEAR(summary[0].x, 89.5, 1e-6);
    EXPECT_NEAR(summary[0].angles.from_up, 0, 1.0);
    EXPECT_NEAR(summary[0].angles.off_axis, 40, 1.0);
}

TEST(GlareSources, SmoothingClosesHolesButAddsNothingFarAway) {
    // A bright disc with a darker core pixel and a darker ring pixel.
    auto s = make_scene({{90, 50, 8, 5000}});
    const size_t hole = s.at(90, 50), notch = s.at(90, 43), far = s.at(90, 80);
    s.luminance[hole] = s.luminance[notch] = 500;
    SourceSearch search;
    search.search_radius = 0.4;  // smoothing disc: 0.2 rad / 1° / 1.75 = 6.5 pixels
    const auto plain = find_glare_sources(s.field(), search);
    EXPECT_EQ(plain.source_of[hole], -1);
    search.smoothing = true;
    const auto smoothed = find_glare_sources(s.field(), search);
    EXPECT_EQ(smoothed.source_of[hole], 0);
    EXPECT_EQ(smoothed.source_of[notch], 0);
    EXPECT_EQ(smoothed.source_of[far], -1);
    EXPECT_EQ(smoothed.count, 1);
}

TEST(GlareSources, PeakExtractionSplitsOffWhatExceedsTheLimit) {
    const auto s = make_scene({{90, 50, 10, 5000}, {90, 50, 2, 80000}});
    SourceSearch search;
    search.peak_extraction = false;
    EXPECT_EQ(find_glare_sources(s.field(), search).count, 1);
    search.peak_extraction = true;
    const auto split = find_glare_sources(s.field(), search);
    EXPECT_EQ(split.count, 2);
    EXPECT_EQ(split.source_of[s.at(90, 50)], 1);
    EXPECT_EQ(split.source_of[s.at(90, 45)], 0);
    // Below the limit nothing changes.
    search.peak_limit = 100000;
    EXPECT_EQ(find_glare_sources(s.field(), search).count, 1);
}

TEST(GlareSources, RadiusBelowAPixelSkipsSmoothingAndPeaks) {
    const auto s = make_scene({{90, 50, 10, 5000}, {90, 50, 2, 80000}});
    SourceSearch search;
    search.search_radius = 0.01;  // 0.005 rad of linkage, a pixel is 0.017
    search.smoothing = true;
    const auto found = find_glare_sources(s.field(), search);
    EXPECT_TRUE(found.radius_below_pixel);
    EXPECT_GT(found.count, 300);  // every pixel alone
}

TEST(GlareSources, CentralPixelStepIsTheDiagonalAngle) {
    const auto s = make_scene({});
    EXPECT_NEAR(central_pixel_step(s.geometry), std::sqrt(2.0) * std::numbers::pi / 180, 1e-4);
}

}  // namespace
