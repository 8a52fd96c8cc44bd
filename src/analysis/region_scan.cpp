#include "analysis/region_scan.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

int64_t cut(float value) { return static_cast<int64_t>(value); }  // toward zero

// The box before clipping: (x0, y0, w, h), or the whole-picture mark.
struct WantedBox {
    int64_t x0 = 0, y0 = 0, w = 0, h = 0;
    bool whole_picture = false;
};

WantedBox rectangle_box(const Region& r) {
    return {cut(std::min(r.x0, r.x1)), cut(std::min(r.y0, r.y1)), cut(std::fabs(r.x1 - r.x0)),
            cut(std::fabs(r.y1 - r.y0))};
}

// The outline is tested around the truncated centre, so the box is laid
// around it too: a box from trunc(cx - r) of trunc(2r) pixels misses the
// right column and the bottom row of most circles.
WantedBox circle_box(const Region& r) {
    if (!(r.radius > 0) || cut(2.0f * r.radius) == 0) return {.whole_picture = true};
    const int64_t reach = static_cast<int64_t>(std::ceil(r.radius));
    const int64_t cx = cut(r.centre_x), cy = cut(r.centre_y);
    return {cx - reach, cy - reach, 2 * reach + 1, 2 * reach + 1};
}

WantedBox polygon_box(const Region& r) {
    if (r.vertex_count < 3) return {.whole_picture = true};
    // Each bound moves to a vertex's truncated coordinate when the vertex
    // lies at or beyond it.
    int64_t xmin = std::numeric_limits<uint32_t>::max(), ymin = xmin, xmax = 0, ymax = 0;
    const int count = std::min(r.vertex_count, max_polygon_vertices);
    for (int i = 0; i < count; ++i) {
        const PointF v = r.vertices[static_cast<size_t>(i)];
        if (static_cast<double>(xmin) >= v.x) xmin = cut(v.x);
        if (static_cast<double>(xmax) <= v.x) xmax = cut(v.x);
        if (static_cast<double>(ymin) >= v.y) ymin = cut(v.y);
        if (static_cast<double>(ymax) <= v.y) ymax = cut(v.y);
    }
    return {xmin, ymin, xmax - xmin + 1, ymax - ymin + 1};
}

std::span<const PointF> polygon_vertices(const Region& r) {
    return {r.vertices.data(), static_cast<size_t>(std::clamp(r.vertex_count, 0, max_polygon_vertices))};
}

// Where the edges of the outline cross row y, by the rule polygon_contains
// uses; a point of the row is inside when an odd number of them lie to its
// right.
std::vector<double> row_crossings(std::span<const PointF> vertices, double y) {
    std::vector<double> crossings;
    const size_t n = vertices.size();
    for (size_t i = 0, j = n - 1; i < n; j = i++) {
        const double xi = vertices[i].x, yi = vertices[i].y, xj = vertices[j].x, yj = vertices[j].y;
        if ((yi > y) != (yj > y)) crossings.push_back((xj - xi) * (y - yi) / (yj - yi) + xi);
    }
    std::sort(crossings.begin(), crossings.end());
    return crossings;
}

void take(const LuminanceMap& map, int64_t x, int64_t y, RegionSamples& samples) {
    const float value = map.data[static_cast<size_t>(y) * static_cast<size_t>(map.width) + static_cast<size_t>(x)];
    if (value > sample_threshold) {
        samples.values.push_back(value);
        samples.positions.push_back({static_cast<uint32_t>(x), static_cast<uint32_t>(y)});
    }
}

}  // namespace

ScanBox region_scan_box(const Region& region, RegionKind tool, int32_t width, int32_t height) {
    WantedBox wanted;
    switch (tool) {
    case RegionKind::rectangle: wanted = rectangle_box(region); break;
    case RegionKind::circle: wanted = circle_box(region); break;
    case RegionKind::polygon: wanted = polygon_box(region); break;
    case RegionKind::mask: wanted.whole_picture = true; break;
    }
    if (wanted.whole_picture || wanted.w == 0 || wanted.h == 0) return {0, 0, width, height, true};
    ScanBox box;
    box.x0 = std::max<int64_t>(wanted.x0, 0);
    box.y0 = std::max<int64_t>(wanted.y0, 0);
    box.x1 = std::min<int64_t>(wanted.x0 + wanted.w, width);
    box.y1 = std::min<int64_t>(wanted.y0 + wanted.h, height);
    return box;
}

bool polygon_contains(std::span<const PointF> vertices, double x, double y) {
    bool inside = false;
    const size_t n = vertices.size();
    if (n == 0) return false;
    for (size_t i = 0, j = n - 1; i < n; j = i++) {
        const double xi = vertices[i].x, yi = vertices[i].y, xj = vertices[j].x, yj = vertices[j].y;
        if ((yi > y) != (yj > y) && x < (xj - xi) * (y - yi) / (yj - yi) + xi) inside = !inside;
    }
    return inside;
}

bool region_is_sampled(const Region& region, RegionKind tool) {
    switch (tool) {
    case RegionKind::rectangle:
        return cut(std::fabs(region.x1 - region.x0)) >= 1 && cut(std::fabs(region.y1 - region.y0)) >= 1;
    case RegionKind::circle: return region.radius >= 0.5f;
    case RegionKind::polygon: return region.vertex_count > 3;
    case RegionKind::mask: return false;
    }
    return false;
}

RegionSamples sample_region(const LuminanceMap& map, const Region& region, RegionKind tool) {
    RegionSamples samples;
    if (map.empty() || map.data.size() < static_cast<size_t>(map.width) * static_cast<size_t>(map.height))
        return samples;
    const ScanBox box = region_scan_box(region, tool, map.width, map.height);
    if (box.empty()) return samples;
    const size_t capacity = static_cast<size_t>(box.x1 - box.x0) * static_cast<size_t>(box.y1 - box.y0);
    samples.values.reserve(capacity);
    samples.positions.reserve(capacity);

    if (box.whole_picture || tool == RegionKind::rectangle) {
        for (int64_t y = box.y0; y < box.y1; ++y)
            for (int64_t x = box.x0; x < box.x1; ++x) take(map, x, y, samples);
    } else if (tool == RegionKind::circle) {
        const float cx = static_cast<float>(cut(region.centre_x)), cy = static_cast<float>(cut(region.centre_y));
        const float r2 = region.radius * region.radius;
        for (int64_t y = box.y0; y < box.y1; ++y) {
            const float dy = static_cast<float>(y) - cy;
            for (int64_t x = box.x0; x < box.x1; ++x) {
                const float dx = static_cast<float>(x) - cx;
                if (dx * dx + dy * dy < r2) take(map, x, y, samples);
            }
        }
    } else {
        const auto vertices = polygon_vertices(region);
        for (int64_t y = box.y0; y < box.y1; ++y) {
            const std::vector<double> crossings = row_crossings(vertices, static_cast<double>(y));
            size_t passed = 0;  // crossings at or left of x
            for (int64_t x = box.x0; x < box.x1; ++x) {
                while (passed < crossings.size() && crossings[passed] <= static_cast<double>(x)) ++passed;
                if ((crossings.size() - passed) % 2 == 1) take(map, x, y, samples);
            }
        }
    }
    return samples;
}
