#pragma once
// A region of interest in picture pixel coordinates (single precision).
//
// The rectangle keeps its corners as drawn (x0 may exceed x1), the circle is a
// centre and a radius (0 = none), the polygon up to 256 vertices in click
// order. All three coexist; the selection tool in use says which one counts.

#include <array>
#include <cstdint>

#include "view/view_geometry.h"

enum class RegionKind { rectangle, circle, polygon, mask };

inline constexpr int max_polygon_vertices = 256;

struct Region {
    float x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    float radius = 0, centre_x = 0, centre_y = 0;
    std::array<PointF, max_polygon_vertices> vertices{};
    int32_t vertex_count = 0;

    bool has_rectangle() const { return x0 != x1 && y0 != y1; }
    bool has_circle() const { return radius > 0; }
    // Any selection at all: a rectangle, a circle, or at least one vertex.
    bool any() const { return has_rectangle() || has_circle() || vertex_count > 0; }
};

// Sets every coordinate, the radius and all 256 vertices to 0.
void clear_region(Region& region);

// A rectangle of non-zero width and height, a circle, or a polygon of at least
// four vertices.
bool region_is_valid(const Region& region);
