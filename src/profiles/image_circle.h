#pragma once
// The image circle of a fisheye picture: the edge of the lit disc the lens
// throws on the sensor, in picture pixels (the centre of the top-left pixel
// being 0.5, 0.5).
//
// The dark outside is measured in the picture's corners, the lit inside in
// its middle. Rays from the centre are followed inward from the picture's
// border to the first place brighter than four times the corners (a lens's
// flare lifts the dark near the rim, so a fixed level is not enough), and
// that crossing is then moved to where the light is half-way, on a
// logarithmic scale, between the dark just outside and the lit just inside
// (the dark taken no darker than a hundredth of the lit, so that a black
// outside does not pull the edge out into the rim's blur).
// A circle is fitted to those edge points, points far off it (a window frame
// against the rim, a dark floor reaching the edge) are dropped, and the fit
// is repeated with rays from the new centre. Rays that reach the picture's
// border while still lit add nothing, so a circle cut by the picture's edges
// is found from the rest of its rim.

#include "common/result.h"
#include "picture/luminance_map.h"
#include "profiles/camera_profile.h"

Result<ImageCircle> find_image_circle(const LuminanceMap& map);
