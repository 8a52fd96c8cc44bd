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
    setMinimumSize(256 + left_margin + right_margin, 120 + top_margin + bottom_margin);
}

void HistogramFrame::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    const int plot_width = width() - left_margin - right_margin, plot_height = plot_bottom() - top_margin;
    const HistogramPicture picture = picture_(plot_width, plot_height);
    painter.translate(left_margin, top_margin);
    QPen pen(bar_colour(picture.colour), 1.0);
    pen.setCapStyle(Qt::FlatCap);
    painter.setPen(pen);
    for (const BarLine& bar : picture.bars)
        painter.drawLine(QLineF(bar.x + 0.5, bar.bottom, bar.x + 0.5, bar.top));
    if (!picture.bars.empty()) {
        // The axes below and left of the plot, each mark with its value.
        painter.setPen(QPen(Qt::darkGray, 1.0));
        painter.drawLine(QLineF(-0.5, plot_height + 0.5, plot_width, plot_height + 0.5));
        painter.drawLine(QLineF(-0.5, 0, -0.5, plot_height + 0.5));
        QFont font = painter.font();
        font.setPointSizeF(font.pointSizeF() * 0.8);
        painter.setFont(font);
        const int text_height = painter.fontMetrics().height();
        for (const AxisTick& tick : picture.luminance_ticks) {
            painter.drawLine(QLineF(tick.position, plot_height, tick.position, plot_height + 4));
            painter.drawText(QRectF(tick.position - 30, plot_height + 4, 60, text_height), Qt::AlignHCenter,
                             QString::fromStdString(tick.label));
        }
        for (const AxisTick& tick : picture.count_ticks) {
            painter.drawLine(QLineF(-4, tick.position, 0, tick.position));
            painter.drawText(QRectF(-left_margin, tick.position - text_height / 2.0, left_margin - 6, text_height),
                             Qt::AlignRight | Qt::AlignVCenter, QString::fromStdString(tick.label));
        }
        painter.drawText(QRectF(0, plot_height + 4 + text_height, plot_width, text_height), Qt::AlignRight,
                         QString::fromUtf8(luminance_axis_caption));
        painter.drawText(QRectF(-left_margin + 4, -top_margin, left_margin + plot_width, text_height),
                         Qt::AlignLeft | Qt::AlignTop, QString::fromUtf8(count_axis_caption));
    }
    painter.end();
    QFrame::paintEvent(event);
}
