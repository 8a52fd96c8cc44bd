#pragma once
// Draws a series plot layout with QPainter, for the window and for PNG files
// saved from it: the same frames, ticks, labels and curves the SVG writer
// draws, with antialiased lines and the window's own font.

#include <QImage>
#include <optional>

#include "series/series_plot.h"

class QPainter;

// Paints `layout` at the painter's origin; the point of `marked_row` (the
// one under the pointer) is drawn larger.
void paint_plot(QPainter& painter, const PlotLayout& layout, std::optional<size_t> marked_row = std::nullopt);

// The layout on a white picture of its own size.
QImage plot_image(const PlotLayout& layout);
