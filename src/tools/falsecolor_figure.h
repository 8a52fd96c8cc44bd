#pragma once
// The falsecolor picture as one figure for a report: optionally the legend
// beside it (a colour bar with its values and units) and the brightest and
// darkest pixels marked with their values. Text is drawn with the built-in
// bitmap font, at a size that grows with the picture.

#include <string>

#include "picture/bgr_raster.h"
#include "tools/falsecolor_render.h"
#include "tools/falsecolor_scale.h"

struct FigureOptions {
    bool legend = false;
    bool extrema = false;
    PictureExtrema marks;  // used with `extrema`
};

// A legend value with three significant digits: "1234", "12.3", "0.05",
// "1.2e+05".
std::string legend_number(float value);

// The text size (a whole multiple of the font) for a picture of this height.
int figure_text_size(int picture_height);

// The figure: the picture at the top left, the legend panel (white) at its
// right. The figure is at least as tall as the legend needs; room under a
// short picture is white. Without either option, the picture unchanged.
BgrRaster falsecolor_figure(const BgrRaster& picture, const FalsecolorScale& scale, const FigureOptions& options);

// Where the legend panel starts and where its colour bar lies, for tests.
struct LegendLayout {
    int panel_x = 0;
    int bar_x0 = 0, bar_x1 = 0;  // columns, x1 excluded
    int bar_top = 0, bar_bottom = 0;  // rows of position 1 and 0
    int text_size = 1;
};
LegendLayout legend_layout(const BgrRaster& picture, const FalsecolorScale& scale);
