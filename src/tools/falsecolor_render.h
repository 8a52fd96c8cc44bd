#pragma once
// The falsecolor picture on a chosen scale: smooth, posterised, or contour
// lines or bands drawn over the tone-mapped picture. Pixels are in picture
// coordinates (row 0 at the top), values in the scale's units.

#include <vector>

#include "picture/bgr_raster.h"
#include "picture/luminance_map.h"
#include "tools/falsecolor_scale.h"

// The position on the scale of every pixel.
std::vector<float> scale_positions(const LuminanceMap& map, const FalsecolorScale& scale);

// For every pixel the contour level it lies on (0 … steps), or -1. A level
// runs between two neighbouring pixels (left-right or up-down) whose values
// lie on either side of its step value; of the two, the pixel nearer the step
// value carries the line. `line_width` (odd, in pixels) thickens the lines.
std::vector<int> contour_levels(const std::vector<float>& positions, int width, int height, int steps,
                                int line_width = 1);

// For every pixel the band it lies in (0 … steps), or -1: within a quarter
// of a step of a step value.
std::vector<int> band_levels(const std::vector<float>& positions, int steps);

// The picture that contour lines and bands are drawn over: the luminance in
// grey by its rank among the picture's own values (a histogram
// equalisation), so that a bright picture is not white, a picture with large
// dark parts keeps its contrast, and the lines stand out in any picture.
BgrRaster tone_mapped_grey(const LuminanceMap& map);

// A line width that stays visible when a large picture is shown whole.
int contour_line_width(int width, int height);

// The picture on the scale. `base` is the tone-mapped picture that contour
// lines and bands are drawn over (black when it does not match the map's
// size). The classic scale gives the original falsecolor picture.
BgrRaster render_on_scale(const LuminanceMap& map, const FalsecolorScale& scale, const BgrRaster& base,
                          int line_width = 1);

// The colour of step level k (0 … steps) and of the posterised step k
// (0 … steps - 1).
Rgb8 level_colour(const FalsecolorScale& scale, int level);
Rgb8 step_colour(const FalsecolorScale& scale, int step);

// The window's legend bitmap (legend_width × legend_height, index 255 at the
// top) in the choice's palette, in flat steps when it is posterised; for the
// default choice, falsecolor_legend() itself.
std::vector<uint8_t> falsecolor_legend(const FalsecolorScale& choice);

// The darkest and the brightest pixel (the first of each in reading order);
// pixels that are not numbers are passed over, and black pixels count as
// the darkest only in a picture with no lit pixel.
struct PictureExtrema {
    bool found = false;
    int min_x = 0, min_y = 0;
    float minimum = 0;
    int max_x = 0, max_y = 0;
    float maximum = 0;
};
PictureExtrema find_extrema(const LuminanceMap& map);
