#pragma once
// Which point of a plot lies under the pointer: the series window names the
// picture of the point hovered and opens the one double-clicked. Positions
// are plot pixels, as the layout has them.

#include <cstddef>
#include <optional>

#include "series/series_plot.h"

// The row of the point nearest (x, y) no farther than `radius`; nothing when
// no point is that near. Of points equally near, the first curve's wins.
std::optional<size_t> plot_point_at(const PlotLayout& layout, double x, double y, double radius);
