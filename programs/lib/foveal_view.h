#pragma once
// The view pcond assumes for a picture, and where each point of the picture
// looks, in the view's own frame: x to the right, y up, z along the view
// direction (only angles between directions matter to pcond, so the frame's
// placement in the world is never needed).
//
// Image points are given as in Radiance: x and y in [-0.5, 0.5] across the
// picture, 0 at its centre, y up. Sizes of a View are in degrees.

#include <array>

#include "lib/picture_header.h"
#include "picture/view_options.h"

using Direction = std::array<double, 3>;

inline constexpr double fovea_angle = 0.0174533;  // one degree, in radians

// The header's view (top-level view lines, later ones overriding); without
// one, for a parallel view or one 5° or narrower, a perspective view 40°
// across the picture's wider side (the aspect of width x height).
View conditioning_view(const PictureHeader& header, int width, int height);

// The extent of the view across its image plane in one direction ("sqrt hn"
// or "sqrt vn"): the angle in radians for angular and, horizontally,
// cylindrical views; 2 tan(a/2) for perspective (and cylindrical
// vertically), 2 sin(a/2) hemispherical, 2 tan(a/4) planisphere.
double image_plane_extent(const View& view, bool vertical);

// The unit direction of image point (x, y); false (and a zero vector) where
// the view sees nothing, like the corners beyond an angular fisheye's 180°
// from its axis or outside a hemispherical one's circle.
bool image_direction(const View& view, double x, double y, Direction& direction);
