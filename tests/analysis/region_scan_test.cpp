// Which pixels a region samples: the boxes of the three tools, the
// whole-picture rule, membership, admission above 1e-6 and clipping to the
// map. Pixel (x, y) holds 1000 y + x + 1, so a wrong column or row shows in
// the value itself.

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>

#include "analysis/region_scan.h"
#include "support/regions.h"

namespace {

std::set<std::pair<uint32_t, uint32_t>> positions_of(const RegionSamples& samples) {
    std::set<std::pair<uint32_t, uint32_t>> out;
    for (auto p : samples.positions) out.insert({p.x, p.y});
    return out;
}

bool has(const RegionSamples& samples, uint32_t x, uint32_t y) { return positions_of(samples).count({x, y}) == 1; }

const LuminanceMap map = numbered_map(40, 30);

TEST(RegionScan, ARectangleSamplesTheColumnsAndRowsOfItsTruncatedBox) {
    const RegionSamples s = sample_region(map, rectangle_region(10.7f, 5.2f, 20.2f, 9.9f), RegionKind::rectangle);
    ASSERT_EQ(s.values.size(), 9u * 4u);
    EXPECT_EQ(s.positions.front(), (SamplePosition{10, 5}));
    EXPECT_EQ(s.positions.back(), (SamplePosition{18, 8}));
    // Scan order: rows top to bottom, each left to right; values follow.
    EXPECT_EQ(s.positions[9], (SamplePosition{10, 6}));
    EXPECT_FLOAT_EQ(s.values[0], 5011.0f);
    EXPECT_FLOAT_EQ(s.values.back(), 8019.0f);
}

TEST(RegionScan, ARectangleDrawnFromItsOppositeCornerSamplesTheSamePixels) {
    const auto forward = sample_region(map, rectangle_region(10.7f, 5.2f, 20.2f, 9.9f), RegionKind::rectangle);
    const auto backward = sample_region(map, rectangle_region(20.2f, 9.9f, 10.7f, 5.2f), RegionKind::rectangle);
    EXPECT_EQ(forward.positions, backward.positions);
}

TEST(RegionScan, RegionsWithoutABoxStandForTheWholePicture) {
    const size_t all = 40u * 30u;
    EXPECT_EQ(sample_region(map, Region{}, RegionKind::rectangle).values.size(), all);
    EXPECT_EQ(sample_region(map, rectangle_region(3, 3, 3.9f, 20), RegionKind::rectangle).values.size(), all);
    EXPECT_EQ(sample_region(map, circle_region(0, 10, 10), RegionKind::circle).values.size(), all);
    EXPECT_EQ(sample_region(map, circle_region(0.4f, 10, 10), RegionKind::circle).values.size(), all);
    EXPECT_EQ(sample_region(map, polygon_region({{1, 1}, {20, 1}}), RegionKind::polygon).values.size(), all);
    EXPECT_EQ(sample_region(map, Region{}, RegionKind::mask).values.size(), all);
    EXPECT_TRUE(region_scan_box(Region{}, RegionKind::mask, 40, 30).whole_picture);
}

TEST(RegionScan, ACircleIsTestedAroundItsTruncatedCentre) {
    const RegionSamples s = sample_region(map, circle_region(3, 10.9f, 10.9f), RegionKind::circle);
    EXPECT_TRUE(has(s, 12, 10));   // 4 < 9
    EXPECT_FALSE(has(s, 7, 10));   // 9 is not less than 9
    EXPECT_FALSE(has(s, 13, 10));
    EXPECT_TRUE(has(s, 8, 8));     // 8 < 9
    EXPECT_EQ(s.values.size(), 25u);
    uint32_t lowest = 99, highest = 0;
    for (auto p : s.positions) {
        lowest = std::min(lowest, p.x);
        highest = std::max(highest, p.x);
    }
    EXPECT_EQ(lowest, 8u);
    EXPECT_EQ(highest, 12u);
}

TEST(RegionScan, ACircleKeepsItsRightColumnAndBottomRow) {
    // A box of trunc(2r) pixels from trunc(cx - r) would end at column 11.
    const RegionSamples s = sample_region(map, circle_region(2.5f, 10.0f, 10.0f), RegionKind::circle);
    EXPECT_TRUE(has(s, 12, 10));
    EXPECT_TRUE(has(s, 10, 12));
    EXPECT_TRUE(has(s, 8, 10));
    EXPECT_FALSE(has(s, 13, 10));
    EXPECT_EQ(s.values.size(), 21u);
}

TEST(RegionScan, APolygonSamplesItsInsideByTheEvenOddRule) {
    const RegionSamples square =
        sample_region(map, polygon_region({{2, 2}, {8, 2}, {8, 8}, {2, 8}}), RegionKind::polygon);
    EXPECT_TRUE(has(square, 2, 2));
    EXPECT_TRUE(has(square, 7, 7));
    EXPECT_FALSE(has(square, 1, 5));
    // A self-crossing outline leaves the doubly covered middle out.
    const Region star = polygon_region({{5, 5}, {25, 5}, {10, 20}, {15, 0}, {20, 20}});
    EXPECT_FALSE(polygon_contains({star.vertices.data(), 5}, 15, 8));
    EXPECT_TRUE(polygon_contains({star.vertices.data(), 5}, 15, 3));
    EXPECT_FALSE(has(sample_region(map, star, RegionKind::polygon), 15, 8));
}

// An oracle of its own: the strict even-odd rule, then the distance from the
// point to every edge.
double distance_to_segment(PointF a, PointF b, double x, double y) {
    const double dx = double(b.x) - a.x, dy = double(b.y) - a.y;
    const double length2 = dx * dx + dy * dy;
    double t = length2 > 0 ? ((x - a.x) * dx + (y - a.y) * dy) / length2 : 0;
    t = std::clamp(t, 0.0, 1.0);
    return std::hypot(x - (a.x + t * dx), y - (a.y + t * dy));
}

bool oracle_contains(const Region& r, double x, double y) {
    bool inside = false;
    double nearest = 1e30;
    const int n = r.vertex_count;
    for (int i = 0, j = n - 1; i < n; j = i++) {
        const PointF a = r.vertices[static_cast<size_t>(j)], b = r.vertices[static_cast<size_t>(i)];
        if ((b.y > y) != (a.y > y) && x < (double(a.x) - b.x) * (y - b.y) / (double(a.y) - b.y) + b.x) inside = !inside;
        nearest = std::min(nearest, distance_to_segment(a, b, x, y));
    }
    return inside || nearest <= 0.25;
}

TEST(RegionScan, APolygonHoldsThePixelsOnItsRightAndBottomEdges) {
    // The strict crossing rule leaves column 8 and row 8 out: 36 pixels.
    const RegionSamples square =
        sample_region(map, polygon_region({{2, 2}, {8, 2}, {8, 8}, {2, 8}}), RegionKind::polygon);
    EXPECT_EQ(square.values.size(), 49u);
    EXPECT_TRUE(has(square, 8, 5));
    EXPECT_TRUE(has(square, 5, 8));
    EXPECT_TRUE(has(square, 8, 8));
}

TEST(RegionScan, APointWithinAQuarterPixelOfTheOutlineBelongsToThePolygon) {
    const Region square = polygon_region({{2, 2}, {8, 2}, {8, 8}, {2, 8}});
    const std::span<const PointF> s{square.vertices.data(), 4};
    EXPECT_TRUE(polygon_contains(s, 8.25, 5));
    EXPECT_FALSE(polygon_contains(s, 8.26, 5));
    EXPECT_TRUE(polygon_contains(s, 1.75, 5));
    EXPECT_FALSE(polygon_contains(s, 1.74, 5));
    EXPECT_TRUE(polygon_contains(s, 5, 8.25));
    EXPECT_TRUE(polygon_contains(s, 8.17, 8.17));   // 0.240 from the corner
    EXPECT_FALSE(polygon_contains(s, 8.18, 8.18));  // 0.255 from it
    // Across a slanted edge, x + y = 10.
    const Region triangle = polygon_region({{0, 0}, {10, 0}, {0, 10}});
    const std::span<const PointF> t{triangle.vertices.data(), 3};
    EXPECT_TRUE(polygon_contains(t, 5.1, 5.1));   // 0.141 outside
    EXPECT_FALSE(polygon_contains(t, 5.2, 5.2));  // 0.283 outside
    EXPECT_FALSE(polygon_contains(t, 10.3, 0));
    EXPECT_TRUE(polygon_contains(t, 10.2, 0));
}

TEST(RegionScan, AQuadrilateralScanAgreesWithTheDistanceOracle) {
    const LuminanceMap big = numbered_map(120, 100);
    const Region quad = polygon_region({{3, 4}, {110, 9}, {101, 93}, {12, 80}});
    const auto sampled = positions_of(sample_region(big, quad, RegionKind::polygon));
    std::set<std::pair<uint32_t, uint32_t>> expected;
    size_t strict = 0;
    for (uint32_t py = 4; py <= 93; ++py)
        for (uint32_t px = 3; px <= 110; ++px) {
            if (oracle_contains(quad, px, py)) expected.insert({px, py});
            const Region& r = quad;
            bool inside = false;
            for (int i = 0, j = 3; i < 4; j = i++) {
                const PointF a = r.vertices[static_cast<size_t>(j)], b = r.vertices[static_cast<size_t>(i)];
                if ((b.y > py) != (a.y > py) && px < (double(a.x) - b.x) * (py - b.y) / (double(a.y) - b.y) + b.x)
                    inside = !inside;
            }
            strict += inside;
        }
    EXPECT_EQ(sampled, expected);
    EXPECT_GT(sampled.size(), strict);  // the edge pixels the strict rule leaves out
}

TEST(RegionScan, ThePolygonScanAgreesWithThePointTestAndTheOracleInItsBox) {
    std::mt19937 random(3);
    std::uniform_real_distribution<float> x(0, 39), y(0, 29);
    for (int round = 0; round < 20; ++round) {
        Region r;
        r.vertex_count = 4 + round % 9;
        for (int i = 0; i < r.vertex_count; ++i) r.vertices[static_cast<size_t>(i)] = {x(random), y(random)};
        const auto sampled = positions_of(sample_region(map, r, RegionKind::polygon));
        const ScanBox box = region_scan_box(r, RegionKind::polygon, 40, 30);
        std::set<std::pair<uint32_t, uint32_t>> tested, oracle;
        for (int64_t py = box.y0; py < box.y1; ++py)
            for (int64_t px = box.x0; px < box.x1; ++px) {
                const auto at = std::make_pair(uint32_t(px), uint32_t(py));
                if (polygon_contains({r.vertices.data(), static_cast<size_t>(r.vertex_count)}, double(px), double(py)))
                    tested.insert(at);
                if (oracle_contains(r, double(px), double(py))) oracle.insert(at);
            }
        EXPECT_EQ(sampled, tested) << "round " << round;
        EXPECT_EQ(sampled, oracle) << "round " << round;
    }
}

TEST(RegionScan, APolygonBoxRunsFromItsSmallestToItsLargestTruncatedVertex) {
    const Region r = polygon_region({{3.7f, 2.2f}, {12.9f, 4.5f}, {9.1f, 11.8f}, {4.0f, 9.0f}});
    const ScanBox box = region_scan_box(r, RegionKind::polygon, 40, 30);
    EXPECT_FALSE(box.whole_picture);
    EXPECT_EQ(box.x0, 3);
    EXPECT_EQ(box.y0, 2);
    EXPECT_EQ(box.x1, 13);  // 12 - 3 + 1 columns
    EXPECT_EQ(box.y1, 12);
}

TEST(RegionScan, BoxesReachingOutsideTheMapAreClippedToIt) {
    const RegionSamples corner = sample_region(map, rectangle_region(-5.5f, -5.5f, 3.2f, 3.2f), RegionKind::rectangle);
    EXPECT_EQ(corner.values.size(), 3u * 3u);  // x0 = -5, w = 8: columns -5 .. 2
    const RegionSamples far = sample_region(map, rectangle_region(35, 25, 60, 50), RegionKind::rectangle);
    EXPECT_EQ(far.values.size(), 5u * 5u);
    const RegionSamples edge = sample_region(map, circle_region(6, 38.5f, 1.5f), RegionKind::circle);
    for (auto p : edge.positions) {
        EXPECT_LT(p.x, 40u);
        EXPECT_LT(p.y, 30u);
    }
    EXPECT_TRUE(has(edge, 39, 0));
    EXPECT_TRUE(sample_region(map, rectangle_region(50, 50, 60, 60), RegionKind::rectangle).values.empty());
}

TEST(RegionScan, OnlyPixelsBrighterThanOneMillionthAreSampled) {
    LuminanceMap dark = numbered_map(4, 1);
    dark.data = {0.0f, 1e-6f, 1.0001e-6f, 5.0f};
    const RegionSamples s = sample_region(dark, Region{}, RegionKind::rectangle);
    ASSERT_EQ(s.values.size(), 2u);
    EXPECT_EQ(s.positions[0], (SamplePosition{2, 0}));
    EXPECT_FLOAT_EQ(s.values[1], 5.0f);
    dark.data = {0, 0, 0, 0};
    EXPECT_TRUE(sample_region(dark, Region{}, RegionKind::rectangle).values.empty());
}

TEST(RegionScan, AValidRegionIsOneTheSamplerTakesAsDrawn) {
    EXPECT_FALSE(region_is_sampled(rectangle_region(10, 10, 10.9f, 20), RegionKind::rectangle));
    EXPECT_FALSE(region_is_sampled(rectangle_region(10, 10, 20, 10.5f), RegionKind::rectangle));
    EXPECT_TRUE(region_is_sampled(rectangle_region(10, 10, 11, 11), RegionKind::rectangle));
    EXPECT_TRUE(region_is_sampled(rectangle_region(20, 20, 10, 10), RegionKind::rectangle));
    EXPECT_FALSE(region_is_sampled(circle_region(0.49f, 5, 5), RegionKind::circle));
    EXPECT_TRUE(region_is_sampled(circle_region(0.5f, 5, 5), RegionKind::circle));
    EXPECT_FALSE(region_is_sampled(polygon_region({{1, 1}, {9, 1}, {9, 9}}), RegionKind::polygon));
    EXPECT_TRUE(region_is_sampled(polygon_region({{1, 1}, {9, 1}, {9, 9}, {1, 9}}), RegionKind::polygon));
    // A rectangle counts only for the rectangle tool.
    EXPECT_FALSE(region_is_sampled(rectangle_region(10, 10, 20, 20), RegionKind::circle));
}

}  // namespace
