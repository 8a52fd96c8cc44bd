#pragma once
// Which pixels of the luminance map a region covers, and the luminance
// samples taken from them.
//
// Everything is in picture pixels: pixel (x, y) is column x of row y, row 0
// the first scanline, and a pixel is tested at its integer position (no
// half-pixel offset). Conversions to integers truncate toward zero. The box a
// region asks for may reach past the map; it is clipped, and nothing outside
// the map is ever read.
//
// A region is sampled with the tool it was drawn with. A rectangle, circle or
// polygon too small to have a box (less than one pixel wide or high, radius 0,
// fewer than three vertices) and a mask region stand for the whole picture.

#include <cstdint>
#include <span>
#include <vector>

#include "picture/luminance_map.h"
#include "view/region.h"

// Samples must be brighter than this: black pixels and the pixels a mask has
// set to zero are left out.
inline constexpr float sample_threshold = 1e-6f;

// Columns x0 .. x1 - 1 and rows y0 .. y1 - 1, inside the map.
struct ScanBox {
    int64_t x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    bool whole_picture = false;  // every pixel of the box is a member
    bool empty() const { return x1 <= x0 || y1 <= y0; }
};

ScanBox region_scan_box(const Region& region, RegionKind tool, int32_t width, int32_t height);

// How close to the outline a point may lie and still count as the
// polygon's: the flattening tolerance of the fill test, in pixels. Without
// it a pixel lying exactly on a right or bottom edge would be left out.
inline constexpr double outline_tolerance = 0.25;

// Whether the point (x, y) belongs to the closed outline through `vertices`
// (the last vertex joined back to the first): inside it by the even-odd
// rule, or within outline_tolerance of one of its edges.
bool polygon_contains(std::span<const PointF> vertices, double x, double y);

// A rectangle of at least one whole pixel each way, a circle of radius 0.5 or
// more, or a polygon of four vertices or more: what the sampler samples as
// drawn rather than as the whole picture.
bool region_is_sampled(const Region& region, RegionKind tool);

struct SamplePosition {
    uint32_t x = 0;
    uint32_t y = 0;
    friend bool operator==(const SamplePosition&, const SamplePosition&) = default;
};

// The luminance values above the threshold in scan order (rows top to
// bottom, each left to right) and where each was taken.
struct RegionSamples {
    std::vector<float> values;
    std::vector<SamplePosition> positions;
};

RegionSamples sample_region(const LuminanceMap& map, const Region& region, RegionKind tool);
