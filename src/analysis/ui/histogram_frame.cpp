#include "analysis/ui/histogram_frame.h"

#include <QPainter>

namespace {

QColor bar_colour(BarColour colour) {
    switch (colour) {
    case BarColour::purple: return QColor(128, 0, 128);
    case BarColour::olive: return QColor(128, 128, 0);
    case BarColour::black: break;
    }
    return Qt::black;
}

}  // namespace

HistogramFrame::HistogramFrame(QWidget* parent, std::function<HistogramPicture(int, int)> picture)
    : QFrame(parent), picture_(std::move(picture)) {
    setFrameShape(QFrame::Box);
    setMinimumSize(256, 120);
}

void HistogramFrame::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    const HistogramPicture picture = picture_(width(), height());
    QPen pen(bar_colour(picture.colour), 1.0);
    pen.setCapStyle(Qt::FlatCap);
    painter.setPen(pen);
    for (const BarLine& bar : picture.bars)
        painter.drawLine(QLineF(bar.x + 0.5, bar.bottom, bar.x + 0.5, bar.top));
    painter.end();
    QFrame::paintEvent(event);
}
