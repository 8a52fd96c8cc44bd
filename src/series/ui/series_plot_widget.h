#pragma once
// The plot of the series window: the form's plot laid out for the widget's
// size and painted; hovering a point shows its picture's name, a double click
// on a point asks for its picture. The layout is made anew whenever the rows,
// the figures or the size change.

#include <QWidget>
#include <optional>

#include "series/series_plot.h"

class SeriesForm;

class SeriesPlotWidget : public QWidget {
    Q_OBJECT
public:
    SeriesPlotWidget(QWidget* parent, SeriesForm& form);

    // The rows or figures changed.
    void refresh();
    const PlotLayout& layout() const { return layout_; }
    // The row of the point at the widget position, if one is that near.
    std::optional<size_t> row_at(QPointF position) const;
    // The text shown when hovering `row`: its picture's name and time.
    QString point_text(size_t row) const;

signals:
    void picture_requested(qulonglong row);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    SeriesForm& form_;
    PlotLayout layout_;
    QString problem_;  // shown instead of a plot
    std::optional<size_t> hovered_;
};
