#include "profiles/ui/vignetting_plot.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>

#include "profiles/camera_profile.h"

namespace {

constexpr double top_signal = 1.1;  // a little room above the centre's 1

}  // namespace

VignettingPlot::VignettingPlot(QWidget* parent) : QWidget(parent) {
    setMinimumSize(260, 170);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void VignettingPlot::show_profile(const CameraProfile* profile) {
    profile_ = profile;
    update();
}

void VignettingPlot::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(rect(), palette().base());
    const QFontMetrics metrics = painter.fontMetrics();
    const int line = metrics.height();
    const QRect area = rect().adjusted(metrics.horizontalAdvance("0.00") + 12, line / 2 + 4, -metrics.horizontalAdvance("0.0") / 2 - 6,
                                       -2 * line - 6);
    if (area.width() < 20 || area.height() < 20) return;
    const auto to_x = [&](double r) { return area.left() + r * area.width(); };
    const auto to_y = [&](double signal) { return area.bottom() - signal / top_signal * area.height(); };

    // Grid and axes, in steps of 0.2.
    painter.setPen(QPen(palette().mid().color(), 1, Qt::DotLine));
    for (int i = 0; i <= 5; ++i) {
        const double v = i * 0.2;
        painter.drawLine(QPointF(to_x(v), area.top()), QPointF(to_x(v), area.bottom()));
        painter.drawLine(QPointF(area.left(), to_y(v)), QPointF(area.right(), to_y(v)));
    }
    painter.setPen(palette().text().color());
    painter.drawRect(area);
    for (int i = 0; i <= 5; ++i) {
        const QString label = QString::number(i * 0.2, 'f', 1);
        painter.drawText(QRectF(to_x(i * 0.2) - 20, area.bottom() + 2, 40, line), Qt::AlignHCenter, label);
        painter.drawText(QRectF(0, to_y(i * 0.2) - line / 2.0, area.left() - 6, line), Qt::AlignRight, label);
    }
    painter.drawText(QRectF(area.left(), area.bottom() + line + 2, area.width(), line), Qt::AlignHCenter,
                     "distance from the centre / image-circle radius");
    // The fall-off leaves the top right empty: the vertical axis's name goes there.
    painter.drawText(area.adjusted(0, 4, -6, 0), Qt::AlignRight | Qt::AlignTop, "signal / centre's signal");

    if (!profile_ || (profile_->vignetting.empty() && profile_->vignetting_data.empty())) {
        painter.drawText(area, Qt::AlignCenter, "No vignetting fit");
        return;
    }
    const QColor fit_colour(31, 119, 180), data_colour(214, 95, 14);
    if (!profile_->vignetting.empty()) {
        QPainterPath curve;
        for (int i = 0; i <= 100; ++i) {
            const double r = i / 100.0;
            const double signal = std::clamp(vignetting_falloff(profile_->vignetting, r), 0.0, top_signal);
            const QPointF point(to_x(r), to_y(signal));
            if (i == 0) curve.moveTo(point);
            else curve.lineTo(point);
        }
        painter.setPen(QPen(fit_colour, 2));
        painter.drawPath(curve);
    }
    painter.setPen(QPen(data_colour, 1.5));
    painter.setBrush(Qt::NoBrush);
    for (const auto& [r, measured] : profile_->vignetting_data) {
        if (r < 0 || r > 1 || !(measured >= 0)) continue;
        painter.drawEllipse(QPointF(to_x(r), to_y(std::min(measured, top_signal))), 3, 3);
    }

    // Legend, bottom left where the fall-off leaves room.
    const QPointF legend(area.left() + 10, area.bottom() - 2 * line - 4);
    painter.setPen(QPen(fit_colour, 2));
    painter.drawLine(legend + QPointF(0, line / 2.0), legend + QPointF(18, line / 2.0));
    painter.setPen(QPen(data_colour, 1.5));
    painter.drawEllipse(legend + QPointF(9, line * 1.5), 3, 3);
    painter.setPen(palette().text().color());
    painter.drawText(legend + QPointF(24, line * 0.5 + metrics.ascent() / 2.0 - 1), "fit");
    painter.drawText(legend + QPointF(24, line * 1.5 + metrics.ascent() / 2.0 - 1),
                     profile_->vignetting_data.empty() ? "measured (not stored)" : "measured rings");
}
