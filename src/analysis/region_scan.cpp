#include "analysis/region_scan.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "common/huge_pages.h"

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

// Where the edges of the outline cross row y, by the even-odd rule; a point
// of the row is inside the fill when an odd number of them lie to its right.
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

struct Span {
    double from = 0, to = 0;  // closed; empty when from > to
    bool empty() const { return from > to; }
};

Span meet(Span a, Span b) { return {std::max(a.from, b.from), std::min(a.to, b.to)}; }

// The x of row y whose distance to the point p is at most the tolerance.
Span near_point(PointF p, double y) {
    const double dy = y - p.y;
    const double left = outline_tolerance * outline_tolerance - dy * dy;
    if (left < 0) return {1, 0};
    const double half = std::sqrt(left);
    return {p.x - half, p.x + half};
}

// The x where c0 + c1 x lies in [lo, hi]; with c1 = 0 that is every x or
// none.
Span solve_between(double c0, double c1, double lo, double hi) {
    constexpr double all = std::numeric_limits<double>::infinity();
    if (c1 == 0) return (c0 >= lo && c0 <= hi) ? Span{-all, all} : Span{1, 0};
    const double a = (lo - c0) / c1, b = (hi - c0) / c1;
    return {std::min(a, b), std::max(a, b)};
}

// The x of row y within the tolerance of the segment from a to b. The set is
// the row's cut through a capsule, so one span: the two end discs joined by
// the band along the segment.
Span near_edge(PointF a, PointF b, double y) {
    const double dx = double(b.x) - a.x, dy = double(b.y) - a.y;
    const double length = std::hypot(dx, dy);
    Span span = near_point(a, y);
    const Span other = near_point(b, y);
    if (span.empty()) span = other;
    else if (!other.empty()) span = {std::min(span.from, other.from), std::max(span.to, other.to)};
    if (length == 0) return span;
    // Along the segment: 0 <= ((x, y) - a) . d / |d| <= |d|; across it:
    // |((x, y) - a) x d| / |d| <= tolerance.
    const double ry = y - a.y;
    const Span along = solve_between(ry * dy / length - a.x * dx / length, dx / length, 0, length);
    const Span across = solve_between((-a.x * dy - ry * dx) / length, dy / length, -outline_tolerance,
                                      outline_tolerance);
    const Span band = meet(along, across);
    if (band.empty()) return span;
    if (span.empty()) return band;
    return {std::min(span.from, band.from), std::max(span.to, band.to)};
}

// Which columns x0 .. x0 + member.size() - 1 of row y the polygon holds:
// inside its fill, or within the tolerance of its outline.
void mark_row_members(std::span<const PointF> vertices, int64_t y, int64_t x0, std::vector<char>& member) {
    const double row = static_cast<double>(y);
    const std::vector<double> crossings = row_crossings(vertices, row);
    size_t passed = 0;  // crossings at or left of x
    for (size_t i = 0; i < member.size(); ++i) {
        const double x = static_cast<double>(x0 + static_cast<int64_t>(i));
        while (passed < crossings.size() && crossings[passed] <= x) ++passed;
        member[i] = (crossings.size() - passed) % 2 == 1;
    }
    const double last = static_cast<double>(x0) + static_cast<double>(member.size()) - 1;
    const size_t n = vertices.size();
    for (size_t i = 0, j = n - 1; i < n; j = i++) {
        const Span near = near_edge(vertices[j], vertices[i], row);
        if (near.empty() || near.to < static_cast<double>(x0) || near.from > last) continue;
        const double from = std::max(std::ceil(near.from), static_cast<double>(x0));
        const double to = std::min(std::floor(near.to), last);
        for (double x = from; x <= to; ++x) member[static_cast<size_t>(x - static_cast<double>(x0))] = 1;
    }
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
    if (inside) return true;
    for (size_t i = 0, j = n - 1; i < n; j = i++) {
        const Span near = near_edge(vertices[j], vertices[i], y);
        if (!near.empty() && near.from <= x && x <= near.to) return true;
    }
    return false;
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
    advise_huge_pages(samples.values.data(), capacity * sizeof(float));
    advise_huge_pages(samples.positions.data(), capacity * sizeof(SamplePosition));

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
        std::vector<char> member(static_cast<size_t>(box.x1 - box.x0));
        for (int64_t y = box.y0; y < box.y1; ++y) {
            mark_row_members(vertices, y, box.x0, member);
            for (int64_t x = box.x0; x < box.x1; ++x)
                if (member[static_cast<size_t>(x - box.x0)]) take(map, x, y, samples);
        }
    }
    return samples;
}
