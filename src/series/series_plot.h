#pragma once
// A plot of a series over time, as plain data: one panel per chosen figure,
// stacked, all sharing the time axis at the bottom. The SVG and PNG writers
// and the series window draw the same layout, so all three show the same
// plot.
//
// Coordinates are plot pixels: x to the right and y downward from the
// top-left corner of a width × height plot. Times on the x axis are seconds
// from the series' first time (local wall-clock time, as the rows have it).

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/result.h"
#include "series/series_row.h"

struct PlotColour {
    uint8_t r = 0, g = 0, b = 0;
};

struct PlotLine {
    double x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    PlotColour colour;
};

enum class TextAnchor { start, middle, end };

struct PlotText {
    double x = 0, y = 0;  // the anchor point on the text's baseline
    std::string text;
    TextAnchor anchor = TextAnchor::start;
    PlotColour colour;
};

// One figure's points, joined in time order; a row without a value for the
// figure breaks the line there.
struct PlotCurve {
    std::string figure;  // as chosen: "dgp", "ev", "window_mean", ...
    PlotColour colour;
    struct Point {
        double x = 0, y = 0;
        size_t row = 0;  // index in the rows given (for the picture's name)
    };
    std::vector<std::vector<Point>> runs;  // unbroken runs of points
};

struct PlotPanel {
    double left = 0, top = 0, right = 0, bottom = 0;  // the plotting area
    std::string figure;
    double y_low = 0, y_high = 0;  // the values at the bottom and top edges
};

struct PlotLayout {
    int width = 0;
    int height = 0;
    std::vector<PlotPanel> panels;
    std::vector<PlotLine> lines;  // frames, grid and ticks
    std::vector<PlotText> texts;  // tick labels, axis titles
    std::vector<PlotCurve> curves;
    double font_size = 12;  // the height of the texts, in plot pixels
};

// Seconds since 1970-01-01T00:00:00 of an ISO time "YYYY-MM-DDThh:mm:ss"
// read as if it were UTC (the rows' times carry no zone, and only their
// differences matter); nothing for other text.
std::optional<int64_t> iso_seconds(std::string_view iso);

// The figures' words in a --figure list: "dgp,ev,window_mean".
std::vector<std::string> plot_figure_list(std::string_view text);

// The caption a figure's panel gets: "DGP", "Ev (lx)", "window mean (cd/m²)".
std::string figure_caption(std::string_view figure);

// The layout of `figures` over `rows` (rows in any order; points sorted by
// time). An unknown figure is a failure naming it; rows without times are
// left out.
Result<PlotLayout> series_plot_layout(const std::vector<SeriesRow>& rows, const std::vector<std::string>& region_names,
                                      const std::vector<std::string>& figures, int width = 900, int height = 0);

// The layout as SVG text.
std::string plot_svg(const PlotLayout& layout);
// The layout drawn into a PNG file (lines one pixel wide, the built-in
// 5 × 7 font); false when the file cannot be written.
bool write_plot_png(const PlotLayout& layout, const std::string& path);
// Writes SVG or PNG by the file's extension (.svg, .png, any case).
Result<bool> write_plot(const PlotLayout& layout, const std::string& path);
