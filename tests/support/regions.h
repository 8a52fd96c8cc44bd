#pragma once
// Regions and luminance maps for the tests of the statistics and the wizards,
// in picture pixel coordinates.

#include <initializer_list>

#include "picture/luminance_map.h"
#include "view/region.h"

inline Region rectangle_region(float x0, float y0, float x1, float y1) {
    Region r;
    r.x0 = x0;
    r.y0 = y0;
    r.x1 = x1;
    r.y1 = y1;
    return r;
}

inline Region circle_region(float radius, float centre_x, float centre_y) {
    Region r;
    r.radius = radius;
    r.centre_x = centre_x;
    r.centre_y = centre_y;
    return r;
}

// The vertices in click order.
inline Region polygon_region(std::initializer_list<PointF> vertices) {
    Region r;
    for (PointF p : vertices) r.vertices[static_cast<size_t>(r.vertex_count++)] = p;
    return r;
}

// A width x height map whose pixel (x, y), y from the top, holds f(x, y).
template <class F>
LuminanceMap make_map(int width, int height, F f) {
    LuminanceMap map;
    map.width = width;
    map.height = height;
    map.data.reserve(static_cast<size_t>(width) * static_cast<size_t>(height));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) map.data.push_back(static_cast<float>(f(x, y)));
    return map;
}

// Pixel (x, y) holds 1000 y + x + 1, so a wrong column or row shows in the
// value itself.
inline LuminanceMap numbered_map(int width, int height) {
    return make_map(width, height, [](int x, int y) { return 1000.0f * y + x + 1; });
}
