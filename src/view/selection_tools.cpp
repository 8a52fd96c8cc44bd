#include "view/selection_tools.h"

#include <algorithm>
#include <cmath>

namespace {

float limit(float value, float low, float high) { return std::max(low, std::min(value, high)); }

// Strictly inside (a, b) shrunk by the grab distance, whichever way round.
bool inside_span(float v, float a, float b) {
    if (b > a) return a + edge_grab_distance < v && v < b - edge_grab_distance;
    return b + edge_grab_distance < v && v < a - edge_grab_distance;
}

}  // namespace

void SelectionTools::set_tool(RegionKind tool) {
    tool_ = tool;
    clear();
}

void SelectionTools::clear() {
    clear_region(selection_);
    cursor_inside_circle_ = false;
}

void SelectionTools::take(const Region& region, RegionKind tool) {
    set_tool(tool);
    drawing_rectangle_ = moving_rectangle_ = resizing_rectangle_ = false;
    drawing_circle_ = moving_circle_ = circle_move_finished_ = false;
    add_vertex_pending_ = false;
    switch (tool) {
    case RegionKind::rectangle: set_selection_rect({region.x0, region.y0, region.x1, region.y1}); break;
    case RegionKind::circle:
        selection_.centre_x = region.centre_x;
        selection_.centre_y = region.centre_y;
        selection_.radius = region.radius;
        shown_centre_ = {region.centre_x, region.centre_y};
        break;
    case RegionKind::polygon:
        selection_.vertices = region.vertices;
        selection_.vertex_count = region.vertex_count;
        break;
    case RegionKind::mask: break;
    }
    // A polygon taken whole is closed; the next click starts a new one.
    close_requested_ = tool == RegionKind::polygon;
}

SelectionTools::Rect SelectionTools::clamp(Rect r, SizeF picture) {
    if (r.x0 == r.x1 || r.y0 == r.y1) return {};
    const float max_x = picture.width - 1, max_y = picture.height - 1;
    return {limit(r.x0, 0, max_x), limit(r.y0, 0, max_y), limit(r.x1, 0, max_x), limit(r.y1, 0, max_y)};
}

void SelectionTools::set_selection_rect(const Rect& r) {
    selection_.x0 = r.x0;
    selection_.y0 = r.y0;
    selection_.x1 = r.x1;
    selection_.y1 = r.y1;
}

bool SelectionTools::inside_rectangle_by_margin(PointF p) const {
    if (!selection_.has_rectangle()) return false;
    return inside_span(p.x, selection_.x0, selection_.x1) && inside_span(p.y, selection_.y0, selection_.y1);
}

int SelectionTools::edge_under(PointF p) const {
    const Region& s = selection_;
    if (!s.has_rectangle()) return 0;
    const float d = edge_grab_distance;
    // Only a rectangle drawn from top left to bottom right passes the range
    // tests, so only its edges can be grabbed.
    if (s.x0 - d < p.x && p.x < s.x0 + d && s.y0 <= p.y && p.y <= s.y1) return 1;
    if (s.x1 - d < p.x && p.x < s.x1 + d && s.y0 <= p.y && p.y <= s.y1) return 2;
    if (s.y0 - d < p.y && p.y < s.y0 + d && s.x0 <= p.x && p.x <= s.x1) return 3;
    if (s.y1 - d < p.y && p.y < s.y1 + d && s.x0 <= p.x && p.x <= s.x1) return 4;
    return 0;
}

std::optional<CursorShape> SelectionTools::on_mouse_move(PointF cursor) {
    switch (tool_) {
    case RegionKind::rectangle:
        if (!resizing_rectangle_) grabbed_edge_ = edge_under(cursor);
        if (!drawing_rectangle_ && (grabbed_edge_ == 1 || grabbed_edge_ == 2)) return CursorShape::size_we;
        if (!drawing_rectangle_ && (grabbed_edge_ == 3 || grabbed_edge_ == 4)) return CursorShape::size_ns;
        if (!drawing_rectangle_ && inside_rectangle_by_margin(cursor)) return CursorShape::size_all;
        return std::nullopt;
    case RegionKind::circle:
        if (selection_.radius > 0) {
            cursor_inside_circle_ = circle_outline_ && std::hypot(cursor.x - circle_outline_->centre.x,
                                                                  cursor.y - circle_outline_->centre.y) <=
                                                           circle_outline_->radius;
            if (cursor_inside_circle_ && !drawing_circle_) return CursorShape::size_all;
        }
        return std::nullopt;
    default:
        return std::nullopt;
    }
}

std::optional<CursorShape> SelectionTools::on_left_down(PointF cursor) {
    switch (tool_) {
    case RegionKind::rectangle:
        if (inside_rectangle_by_margin(cursor) && !drawing_rectangle_) {
            moving_rectangle_ = true;
            return CursorShape::size_all;
        }
        if (grabbed_edge_ != 0 && !drawing_rectangle_) {
            resizing_rectangle_ = true;
            return grabbed_edge_ <= 2 ? CursorShape::size_we : CursorShape::size_ns;
        }
        drawing_rectangle_ = true;
        moving_rectangle_ = false;
        return std::nullopt;
    case RegionKind::circle:
        if (cursor_inside_circle_) {
            moving_circle_ = true;
            drawing_circle_ = false;
            return CursorShape::size_all;
        }
        moving_circle_ = false;
        drawing_circle_ = true;
        return std::nullopt;
    case RegionKind::polygon:
        if (close_requested_) {
            // A finished polygon: this click starts a new one.
            close_requested_ = false;
            selection_.vertices = {};
            selection_.vertex_count = 0;
        }
        add_vertex_pending_ = true;
        return std::nullopt;
    case RegionKind::mask:
        return std::nullopt;
    }
    return std::nullopt;
}

void SelectionTools::on_left_up() {
    drawing_rectangle_ = false;
    moving_rectangle_ = false;
    resizing_rectangle_ = false;
    rectangle_released_ = true;
    drawing_circle_ = false;
    if (moving_circle_) {
        moving_circle_ = false;
        circle_move_finished_ = true;
    }
}

void SelectionTools::on_right_down() {
    close_requested_ = true;
    add_vertex_pending_ = false;
}

bool SelectionTools::double_click_edits_rectangle(PointF cursor) const {
    return tool_ == RegionKind::rectangle && !drawing_rectangle_ && inside_rectangle_by_margin(cursor);
}

Overlay SelectionTools::settle(const PaintInput& input) {
    Overlay overlay;
    switch (tool_) {
    case RegionKind::rectangle: settle_rectangle(input, overlay); break;
    case RegionKind::circle: settle_circle(input, overlay); break;
    case RegionKind::polygon: settle_polygon(input, overlay); break;
    case RegionKind::mask: break;
    }
    return overlay;
}

// A square of the smaller extent; the adjusted axis follows the sign of the
// other one.
SelectionTools::Rect SelectionTools::squared(Rect r) {
    const float dx = r.x1 - r.x0, dy = r.y1 - r.y0;
    if (std::fabs(dy) <= std::fabs(dx)) r.x1 = r.x0 + dy;
    else r.y1 = r.y0 + dx;
    return r;
}

void SelectionTools::settle_rectangle(const PaintInput& input, Overlay& overlay) {
    if (drawing_rectangle_) {
        Rect drawn{input.anchor.x, input.anchor.y, input.cursor.x, input.cursor.y};
        if (input.shift) drawn = squared(drawn);
        overlay.rectangles.push_back({PointF{drawn.x0, drawn.y0}, PointF{drawn.x1, drawn.y1}});
        set_selection_rect(clamp(drawn, input.picture));
    } else if (moving_rectangle_) {
        const float dx = input.cursor.x - input.anchor.x, dy = input.cursor.y - input.anchor.y;
        set_selection_rect(
            clamp({drag_start_.x0 + dx, drag_start_.y0 + dy, drag_start_.x1 + dx, drag_start_.y1 + dy}, input.picture));
    } else if (resizing_rectangle_) {
        Rect r = drag_start_;
        const float dx = input.cursor.x - input.anchor.x, dy = input.cursor.y - input.anchor.y;
        switch (grabbed_edge_) {
        case 1: r.x0 += dx; break;
        case 2: r.x1 += dx; break;
        case 3: r.y0 += dy; break;
        case 4: r.y1 += dy; break;
        default: break;
        }
        set_selection_rect(clamp(r, input.picture));
    }
    if (!moving_rectangle_ && !resizing_rectangle_) {
        drag_start_ = clamp(selection_rect(), input.picture);
        rectangle_released_ = false;
    }
    if (!selection_.has_rectangle()) {
        set_selection_rect({});
    } else {
        // SHIFT squares every rectangle outline drawn while it is down, also
        // one that is only hovered or moved; the selection itself keeps its
        // shape then.
        Rect outline = selection_rect();
        if (input.shift) outline = squared(outline);
        overlay.rectangles.push_back({PointF{outline.x0, outline.y0}, PointF{outline.x1, outline.y1}});
    }
}

void SelectionTools::settle_circle(const PaintInput& input, Overlay& overlay) {
    const float map_w = input.map.width, map_h = input.map.height;
    if (drawing_circle_) {
        const PointF centre = input.anchor;
        float radius = std::sqrt((input.cursor.y - centre.y) * (input.cursor.y - centre.y) +
                                 (input.cursor.x - centre.x) * (input.cursor.x - centre.x));
        const float largest = std::min({centre.x, map_w - centre.x, centre.y, map_h - centre.y});
        if (largest <= radius) radius = largest;
        // A centre outside the map leaves no room at all.
        if (radius < 0) radius = 0;
        selection_.centre_x = centre.x;
        selection_.centre_y = centre.y;
        selection_.radius = radius;
        shown_centre_ = centre;
    } else if (moving_circle_) {
        const float r = selection_.radius;
        PointF c{selection_.centre_x + input.cursor.x - input.anchor.x,
                 selection_.centre_y + input.cursor.y - input.anchor.y};
        if (c.x - r <= 0) c.x = r;
        else if (map_w <= c.x + r) c.x = map_w - r;
        if (c.y - r <= 0) c.y = r;
        else if (map_h <= c.y + r) c.y = map_h - r;
        shown_centre_ = c;
    }
    if (circle_move_finished_) {
        selection_.centre_x = shown_centre_.x;
        selection_.centre_y = shown_centre_.y;
        circle_move_finished_ = false;
    }
    circle_outline_.reset();
    if (inside_picture(shown_centre_, map_w, map_h) && selection_.radius != 0) {
        circle_outline_ = CircleOutline{shown_centre_, selection_.radius};
        overlay.circle = circle_outline_;
    }
}

void SelectionTools::settle_polygon(const PaintInput& input, Overlay& overlay) {
    const float max_x = input.picture.width - 1, max_y = input.picture.height - 1;
    auto limited = [&](PointF p) { return PointF{limit(p.x, 0, max_x), limit(p.y, 0, max_y)}; };
    Region& s = selection_;
    if (add_vertex_pending_) {
        // Room for 256 vertices; a further click is ignored.
        if (s.vertex_count < max_polygon_vertices) s.vertices[static_cast<size_t>(s.vertex_count++)] = limited(input.anchor);
        add_vertex_pending_ = false;
    } else if (close_requested_) {
        if (s.vertex_count < 4) {
            s.vertices = {};
            s.vertex_count = 0;
        } else {
            overlay.segments.push_back({s.vertices[static_cast<size_t>(s.vertex_count - 1)], s.vertices[0]});
        }
    }
    const PointF cursor = limited(input.cursor);
    if (inside_picture(cursor, input.map.width, input.map.height) && !close_requested_ && s.vertex_count >= 1)
        overlay.segments.push_back({limited(input.anchor), cursor});
    for (int i = 0; i + 1 < s.vertex_count; ++i)
        overlay.segments.push_back({s.vertices[static_cast<size_t>(i)], s.vertices[static_cast<size_t>(i + 1)]});
}
