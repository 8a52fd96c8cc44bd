#include "series/plot_point_at.h"

std::optional<size_t> plot_point_at(const PlotLayout& layout, double x, double y, double radius) {
    std::optional<size_t> nearest;
    double best = radius * radius;
    for (const PlotCurve& curve : layout.curves)
        for (const auto& run : curve.runs)
            for (const PlotCurve::Point& point : run) {
                const double d = (point.x - x) * (point.x - x) + (point.y - y) * (point.y - y);
                if (d < best || (d == best && !nearest)) {
                    best = d;
                    nearest = point.row;
                }
            }
    return nearest;
}
