#pragma once
// Geometry of Radiance's two fisheye views, for moving a picture from one to
// the other:
//
//   angular (-vta, equidistant): the angle from the view axis grows in
//     proportion to the distance from the picture's centre; 180 degrees of
//     view fill the picture's width.
//   hemispherical (-vth, orthographic): the sine of that angle grows in
//     proportion to the distance; a 180 degree view is the disc of the
//     hemisphere seen from straight above.
//
// Picture coordinates: u to the right and w upwards, both from -0.5 to 0.5
// across the picture, (0, 0) being the view axis; a pixel's centre is at
// ((x + 0.5) / width - 0.5, (y + 0.5) / height - 0.5), y counted from the
// bottom. A location (p, q) is the same point measured from the lower-left
// corner: p = u + 0.5, q = w + 0.5. Directions are unit vectors in the frame
// the view options are written in. View sizes are in degrees.

#include <optional>

#include "picture/view_options.h"

struct Direction {
    double x = 0, y = 0, z = 0;
};

struct FisheyeView {
    char type = 'a';  // 'a' angular or 'h' hemispherical
    double horizontal = 180;
    double vertical = 180;
    Direction forward{0, 1, 0};  // the view axis
    Direction right{1, 0, 0};
    Direction up{0, 0, 1};
};

// The fisheye view of a set of view options; nothing for another view type
// or for a direction and up vector that give no frame.
std::optional<FisheyeView> make_fisheye_view(const View& view);

// The direction seen at (u, w); nothing where the view shows none (outside
// its disc).
std::optional<Direction> fisheye_direction(const FisheyeView& view, double u, double w);

struct PictureLocation {
    double p = 0, q = 0;
};

// Where a direction appears, strictly inside the picture (0 < p, q < 1);
// nothing when the view does not show it.
std::optional<PictureLocation> fisheye_location(const FisheyeView& view, const Direction& direction);

struct PictureSize {
    int width = 0;
    int height = 0;
};

// The largest picture within width x height whose pixels are square for the
// view: the longer side is shortened to the view's aspect, rounded.
PictureSize fisheye_picture_size(const FisheyeView& view, int width, int height);
