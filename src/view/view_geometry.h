#pragma once
// Mapping between the window and the picture, zoom and placement.
//
// Window coordinates are the view's pixels with the origin at the top left;
// mouse positions are stored as the integer position plus 0.5 (the pixel's
// centre). Picture coordinates are the picture's pixels, row 0 at the top.
// A picture point (u, v) is drawn at (u * zoom + pan x, v * zoom + pan y).

#include "common/geometry.h"

// Height of the status bar that lies over the bottom of the view, and the
// margin kept above it when a tall picture is dragged up.
inline constexpr float status_bar_height = 22.0f;
inline constexpr float placement_margin = 4.0f;

// Zoom limits: the wheel keeps the zoom strictly between these; a fit never
// goes below fit_zoom_minimum.
inline constexpr float wheel_zoom_limit = 4.0f;
inline constexpr float fit_zoom_minimum = 0.05f;

// (x - pan x) / zoom + 0.5, and the same for y.
PointF window_to_picture(float zoom, PointF window, PointF pan);

// 0 <= u <= width and 0 <= v <= height (both bounds inclusive).
bool inside_picture(PointF picture, float width, float height);

// The pan offset: centred where the picture is smaller than the view,
// otherwise shifted by `drag` (cursor minus anchor) within limits that keep
// the picture's edges from leaving the view (the bottom edge stays above the
// status bar). `view` is the view's size, `bitmap` the picture's.
PointF compute_placement(SizeF view, SizeF bitmap, float zoom, PointF drag);

// The largest zoom that shows the whole picture, cut to one decimal, at least
// fit_zoom_minimum.
float fit_zoom(SizeF view, SizeF bitmap);

// One wheel step: +0.1 for a positive delta, -0.1 otherwise; the new zoom is
// returned only when it stays strictly between 0 and wheel_zoom_limit,
// otherwise the old one.
float wheel_zoom(float zoom, int delta);
