#include "regions/region_edit.h"

#include <algorithm>
#include <cmath>

namespace {

// `p` after the edit, where a flip or turn reflects positions about
// size - step: 0 for positions on the pixel grid's edges, 1 for the points
// the polygon samples (pixel i at the point i, so that pixel i must go where
// pixel size - 1 - i is).
PointF moved_point(const PictureEdit& edit, PointF p, float step) {
    const float w = static_cast<float>(edit.width) - step, h = static_cast<float>(edit.height) - step;
    switch (edit.kind) {
    case PictureEditKind::quarter_turn: return {h - p.y, p.x};
    case PictureEditKind::half_turn: return {w - p.x, h - p.y};
    case PictureEditKind::flip_horizontal: return {w - p.x, p.y};
    case PictureEditKind::flip_vertical: return {p.x, h - p.y};
    case PictureEditKind::crop: return {p.x - static_cast<float>(edit.left), p.y - static_cast<float>(edit.top)};
    case PictureEditKind::resize:
        return {static_cast<float>(p.x * (static_cast<double>(edit.new_width) / edit.width)),
                static_cast<float>(p.y * (static_cast<double>(edit.new_height) / edit.height))};
    }
    return p;
}

void move(const PictureEdit& edit, float& x, float& y, float step) {
    const PointF to = moved_point(edit, {x, y}, step);
    x = to.x;
    y = to.y;
}

}  // namespace

PointF edited_point(const PictureEdit& edit, PointF point) { return moved_point(edit, point, 0); }

NamedRegion edited_region(const NamedRegion& region, const PictureEdit& edit) {
    if (region.kind == RegionKind::mask || edit.width <= 0 || edit.height <= 0) return region;
    if (edit.kind == PictureEditKind::resize)
        return scaled_region(region, static_cast<double>(edit.new_width) / edit.width,
                             static_cast<double>(edit.new_height) / edit.height);
    // Each kind moves so that it holds the same pixels afterwards, as the
    // analysis samples them; the outline moves by less than a pixel.
    NamedRegion moved = region;
    Region& g = moved.geometry;
    // The rectangle holds the whole pixels from its truncated left and top
    // edge over its truncated width and height: those pixels' edges move.
    const float left = std::trunc(std::min(g.x0, g.x1)), top = std::trunc(std::min(g.y0, g.y1));
    g.x0 = left;
    g.y0 = top;
    g.x1 = left + std::trunc(std::fabs(region.geometry.x1 - region.geometry.x0));
    g.y1 = top + std::trunc(std::fabs(region.geometry.y1 - region.geometry.y0));
    move(edit, g.x0, g.y0, 0);
    move(edit, g.x1, g.y1, 0);
    // The circle holds the pixels around the one its centre lies in: that
    // pixel's middle moves.
    g.centre_x = std::trunc(g.centre_x) + 0.5f;
    g.centre_y = std::trunc(g.centre_y) + 0.5f;
    move(edit, g.centre_x, g.centre_y, 0);
    // The polygon samples every pixel at its top left corner.
    for (int i = 0; i < g.vertex_count; ++i)
        move(edit, g.vertices[static_cast<size_t>(i)].x, g.vertices[static_cast<size_t>(i)].y, 1);
    return moved;
}
