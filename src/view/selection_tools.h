#pragma once
// The three selection tools: what the mouse does to the selection, and what a
// paint draws for it.
//
// Mouse events record intent (drawing, moving, resizing, a vertex to add);
// settle() turns that into the selection and returns the outlines to draw. It
// is what every paint runs, and it is safe to run more often: running it twice
// changes nothing the first run did not.
//
// Everything is in picture coordinates. The picture's size (W, H) limits
// rectangles and vertices to [0, W - 1] x [0, H - 1]; the luminance map's size
// (Wm, Hm, the same numbers for a loaded picture) limits circles.

#include <optional>
#include <vector>

#include "desktop/cursor_shape.h"
#include "view/region.h"

// Edges of a rectangle that can be grabbed: 1 = x0, 2 = x1, 3 = y0, 4 = y1.
inline constexpr float edge_grab_distance = 6.0f;

struct Segment {
    PointF from, to;
};

struct CircleOutline {
    PointF centre;
    float radius = 0;
};

// What one paint draws over the picture, in picture coordinates.
struct Overlay {
    std::vector<Segment> segments;             // polygon edges, rubber band, closing edge
    std::vector<std::array<PointF, 2>> rectangles;  // corner pairs
    std::optional<CircleOutline> circle;
};

struct PaintInput {
    SizeF picture;     // W, H
    SizeF map;         // Wm, Hm
    PointF anchor;     // picture position of the last button press
    PointF cursor;     // picture position of the cursor
    bool shift = false;
};

class SelectionTools {
public:
    RegionKind tool() const { return tool_; }
    // Selects a tool and clears the selection.
    void set_tool(RegionKind tool);

    const Region& selection() const { return selection_; }
    Region& selection() { return selection_; }
    // Empties rectangle, circle and polygon and forgets the circle outline.
    void clear();
    // Makes `region` the selection, finished as if just drawn with `tool`
    // (a polygon closed): a region picked from a list becomes what crop and
    // the wizards take.
    void take(const Region& region, RegionKind tool);

    // Mouse events; each returns the cursor shape to show, if it changes.
    std::optional<CursorShape> on_mouse_move(PointF cursor);
    std::optional<CursorShape> on_left_down(PointF cursor);
    void on_left_up();
    void on_right_down();

    // A double click inside the rectangle (by more than the grab distance)
    // edits it numerically.
    bool double_click_edits_rectangle(PointF cursor) const;

    // The paint-time bookkeeping; returns what to draw.
    Overlay settle(const PaintInput& input);

    // State, for the status bar and for tests.
    bool drawing_rectangle() const { return drawing_rectangle_; }
    bool moving_rectangle() const { return moving_rectangle_; }
    bool resizing_rectangle() const { return resizing_rectangle_; }
    int grabbed_edge() const { return grabbed_edge_; }
    bool drawing_circle() const { return drawing_circle_; }
    bool moving_circle() const { return moving_circle_; }
    bool cursor_inside_circle() const { return cursor_inside_circle_; }
    bool polygon_closed() const { return close_requested_; }

private:
    struct Rect {
        float x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    };
    static Rect clamp(Rect r, SizeF picture);
    static Rect squared(Rect r);
    Rect selection_rect() const { return {selection_.x0, selection_.y0, selection_.x1, selection_.y1}; }
    void set_selection_rect(const Rect& r);
    bool inside_rectangle_by_margin(PointF p) const;
    int edge_under(PointF p) const;

    void settle_rectangle(const PaintInput& input, Overlay& overlay);
    void settle_circle(const PaintInput& input, Overlay& overlay);
    void settle_polygon(const PaintInput& input, Overlay& overlay);

    RegionKind tool_ = RegionKind::rectangle;
    Region selection_;

    bool drawing_rectangle_ = false;
    bool moving_rectangle_ = false;
    bool resizing_rectangle_ = false;
    bool rectangle_released_ = false;
    int grabbed_edge_ = 0;
    Rect drag_start_;

    bool drawing_circle_ = false;
    bool moving_circle_ = false;
    bool circle_move_finished_ = false;
    bool cursor_inside_circle_ = false;
    PointF shown_centre_;
    std::optional<CircleOutline> circle_outline_;

    bool add_vertex_pending_ = false;
    bool close_requested_ = false;
};
