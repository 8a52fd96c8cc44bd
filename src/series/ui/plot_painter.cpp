#include "series/ui/plot_painter.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>

namespace {

// Point markers, in plot pixels.
constexpr double point_radius = 2.5;
constexpr double marked_radius = 5.0;

QColor qt_colour(const PlotColour& colour) { return QColor(colour.r, colour.g, colour.b); }

}  // namespace

void paint_plot(QPainter& painter, const PlotLayout& layout, std::optional<size_t> marked_row) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.fillRect(QRectF(0, 0, layout.width, layout.height), Qt::white);

    for (const PlotLine& line : layout.lines) {
        painter.setPen(QPen(qt_colour(line.colour), 1.0));
        painter.drawLine(QPointF(line.x0, line.y0), QPointF(line.x1, line.y1));
    }

    QFont font = painter.font();
    font.setPixelSize(std::max(6, static_cast<int>(layout.font_size + 0.5)));
    painter.setFont(font);
    const QFontMetricsF metrics(font);
    for (const PlotText& text : layout.texts) {
        const QString shown = QString::fromStdString(text.text);
        const double width = metrics.horizontalAdvance(shown);
        double x = text.x;
        if (text.anchor == TextAnchor::middle) x -= width / 2;
        if (text.anchor == TextAnchor::end) x -= width;
        painter.setPen(qt_colour(text.colour));
        painter.drawText(QPointF(x, text.y), shown);
    }

    // A year of captures has far more points than the plot has pixels: their
    // markers would only hide the line, and cost a long paint.
    size_t points = 0;
    for (const PlotCurve& curve : layout.curves)
        for (const auto& run : curve.runs) points += run.size();
    const bool markers = points <= static_cast<size_t>(std::max(1, layout.width)) * layout.curves.size() / 4;
    for (const PlotCurve& curve : layout.curves) {
        const QColor colour = qt_colour(curve.colour);
        for (const auto& run : curve.runs) {
            if (run.size() > 1) {
                QPainterPath path(QPointF(run.front().x, run.front().y));
                for (size_t i = 1; i < run.size(); ++i) path.lineTo(run[i].x, run[i].y);
                painter.setPen(QPen(colour, 1.5));
                painter.setBrush(Qt::NoBrush);
                painter.drawPath(path);
            }
            painter.setPen(Qt::NoPen);
            painter.setBrush(colour);
            for (const PlotCurve::Point& point : run) {
                const bool marked = marked_row && point.row == *marked_row;
                if (!markers && !marked) continue;
                const double r = marked ? marked_radius : point_radius;
                painter.drawEllipse(QPointF(point.x, point.y), r, r);
            }
        }
    }
    painter.restore();
}

QImage plot_image(const PlotLayout& layout) {
    QImage image(std::max(1, layout.width), std::max(1, layout.height), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    paint_plot(painter, layout);
    return image;
}
