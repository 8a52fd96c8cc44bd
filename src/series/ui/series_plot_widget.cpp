#include "series/ui/series_plot_widget.h"

#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>

#include "series/plot_point_at.h"
#include "series/series_form.h"
#include "series/ui/plot_painter.h"

namespace {
// How near the pointer must come to a point, in pixels.
constexpr double hit_radius = 6.0;
}  // namespace

SeriesPlotWidget::SeriesPlotWidget(QWidget* parent, SeriesForm& form) : QWidget(parent), form_(form) {
    setMouseTracking(true);
    setMinimumSize(320, 200);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void SeriesPlotWidget::refresh() {
    layout_ = {};
    problem_.clear();
    hovered_.reset();
    if (form_.figures.empty()) {
        problem_ = "Choose a figure to plot.";
    } else if (form_.table.rows.empty()) {
        problem_ = "No pictures measured yet.";
    } else if (auto layout = form_.plot(width(), height())) {
        layout_ = std::move(layout.value());
    } else {
        problem_ = QString::fromStdString(layout.failure().message);
    }
    update();
}

std::optional<size_t> SeriesPlotWidget::row_at(QPointF position) const {
    return plot_point_at(layout_, position.x(), position.y(), hit_radius);
}

QString SeriesPlotWidget::point_text(size_t row) const {
    if (row >= form_.table.rows.size()) return {};
    const SeriesRow& shown = form_.table.rows[row];
    return QString::fromStdString(shown.picture + "\n" + shown.time);
}

void SeriesPlotWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    if (!problem_.isEmpty()) {
        painter.setPen(palette().color(QPalette::PlaceholderText));
        painter.drawText(rect(), Qt::AlignCenter | Qt::TextWordWrap, problem_);
        return;
    }
    paint_plot(painter, layout_, hovered_);
}

void SeriesPlotWidget::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    refresh();
}

void SeriesPlotWidget::mouseMoveEvent(QMouseEvent* event) {
    const std::optional<size_t> row = row_at(event->position());
    if (row != hovered_) {
        hovered_ = row;
        update();
    }
    if (row)
        QToolTip::showText(event->globalPosition().toPoint(), point_text(*row), this);
    else
        QToolTip::hideText();
}

void SeriesPlotWidget::mouseDoubleClickEvent(QMouseEvent* event) {
    if (const std::optional<size_t> row = row_at(event->position())) emit picture_requested(*row);
}

void SeriesPlotWidget::leaveEvent(QEvent* event) {
    QWidget::leaveEvent(event);
    hovered_.reset();
    update();
}
