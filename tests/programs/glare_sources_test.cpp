// Glare source detection on synthetic angular fisheye scenes: linkage by
// angle, joining only strictly larger neighbours, the threshold, smoothing,
// peak extraction and the summaries.

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "glare_scenes.h"
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

std::vector<uint8_t> above(const Scene& s, double luminance) {
    std::vector<uint8_t> glare(s.luminance.size(), 0);
    for (size_t p = 0; p < glare.size(); ++p) glare[p] = s.luminance[p] > luminance;
    return glare;
}

TEST(GlareSources, JoinAcrossGapsShorterThanHalfTheRadiusOnly) {
    // Discs 6 and 14 pixels (about degrees) apart, edge to edge.
    const auto s = make_scene({{60, 90, 4, 5000}, {74, 90, 4, 5000}, {100, 90, 4, 5000}});
    SourceSearch search;
    search.peak_extraction = false;
    search.search_radius = 20 * std::numbers::pi / 180;
    EXPECT_EQ(sources_in(find_glare_sources(s.field(), search)).size(), 2u);
    search.search_radius = 40 * std::numbers::pi / 180;
    EXPECT_EQ(sources_in(find_glare_sources(s.field(), search)).size(), 1u);
    search.search_radius = 6 * std::numbers::pi / 180;
    const auto apart = find_glare_sources(s.field(), search);
    EXPECT_EQ(sources_in(apart).size(), 3u);
    // Numbered as found, column by column from the left.
    EXPECT_EQ(apart.source_of[s.at(60, 90)], 0);
    EXPECT_EQ(apart.source_of[s.at(100, 90)], 2);
}

// A 12 × 12 picture looking along y, pixels about a degree apart, with two
// glare pixels side by side; the right one does not count as near itself
// (as happens where a direction's squared length rounds above 1), so its
// own search skips its row and never meets its left neighbour, and it
// starts a source of its own.
struct Pair {
    static constexpr int n = 12;
    static constexpr size_t left = 5 * n, right = 5 * n + 1;
    PixelGeometry geometry;
    std::vector<float> luminance = std::vector<float>(n * n, 100.0f);
    std::vector<uint8_t> valid = std::vector<uint8_t>(n * n, 1);
    std::vector<uint8_t> not_near_self = std::vector<uint8_t>(n * n, 0);

    Pair(double left_omega, double right_omega) {
        geometry.width = geometry.height = n;
        const double a = std::numbers::pi / 180;
        for (int y = 0; y < n; ++y)
            for (int x = 0; x < n; ++x) geometry.direction.push_back(normalised({x * a, 1, y * a}));
        geometry.solid_angle.assign(n * n, a * a);
        geometry.solid_angle[left] = left_omega;
        geometry.solid_angle[right] = right_omega;
        luminance[left] = luminance[right] = 5000;
        not_near_self[right] = 1;
    }
    GlareField field() const { return {geometry, luminance, valid, &not_near_self}; }
};

TEST(GlareSources, ASourceJoinsOnlyAStrictlyLargerNeighbourItsSearchMeets) {
    SourceSearch search;
    search.search_radius = 0.2;
    const double a = 3e-4;
    // Equal solid angles: neither is larger, both stay and both count.
    const auto tied = find_glare_sources(Pair(a, a).field(), search);
    EXPECT_EQ(tied.source_of[Pair::left], 0);
    EXPECT_EQ(tied.source_of[Pair::right], 1);
    EXPECT_EQ(sources_in(tied).size(), 2u);
    // The left one meets the larger right one and joins it.
    const Pair smaller_left(a, 2 * a);
    const auto joined = find_glare_sources(smaller_left.field(), search);
    EXPECT_EQ(sources_in(joined), (std::set<int>{1}));
    const auto summary = summarise_sources(smaller_left.field(), joined, SightFrame{{0, 1, 0}, {0, 0, 1}});
    ASSERT_EQ(summary.size(), 1u);
    EXPECT_NEAR(summary[0].solid_angle, 3 * a, 1e-15);
    EXPECT_EQ(summary[0].pixels, 2);
    // The right one would join a larger left one, but never meets it.
    EXPECT_EQ(sources_in(find_glare_sources(Pair(2 * a, a).field(), search)).size(), 2u);
}

TEST(GlareSources, NeighboursFartherThanHalfTheRadiusStaySeparate) {
    const auto s = make_scene({{90, 90, 3, 5000}});
    SourceSearch search;
    search.search_radius = 1.0 * std::numbers::pi / 180;  // half of it is below a pixel's width
    const auto found = find_glare_sources(s.field(), search);
    const auto glare = above(s, 1000);
    EXPECT_EQ(sources_in(found).size(), size_t(std::count(glare.begin(), glare.end(), 1)));
}

TEST(GlareSources, ThresholdIsStrictAndInvalidPixelsNeverGlare) {
    auto s = make_scene({{90, 40, 5, 3000}, {90, 140, 5, 2000}});
    s.luminance[0] = 1e6;  // a corner outside the image circle
    s.valid[0] = 0;
    SourceSearch search;
    search.threshold = 2000;
    const auto found = find_glare_sources(s.field(), search);
    EXPECT_EQ(sources_in(found), (std::set<int>{0}));
    EXPECT_EQ(found.source_of[s.at(90, 40)], 0);   // the brighter disc only
    EXPECT_EQ(found.source_of[s.at(90, 140)], -1);
    EXPECT_EQ(found.source_of[0], -1);
}

TEST(GlareSources, SummaryWeighsBySolidAngle) {
    const auto s = make_scene({{90, 50, 6, 5000}});
    SourceSearch search;
    const auto found = find_glare_sources(s.field(), search);
    const auto summary = summarise_sources(s.field(), found, SightFrame{s.projection.frame().forward, s.projection.frame().up});
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
