#pragma once
// The frame of the results page in which the histogram is painted: white,
// with one line per bin in the colour of the region shown, over a labelled
// logarithmic luminance axis (cd/m², decades) and a count axis.

#include <QFrame>
#include <functional>

#include "analysis/histogram_picture.h"

class HistogramFrame : public QFrame {
    Q_OBJECT
public:
    // `picture` gives what to paint for the frame's current size.
    HistogramFrame(QWidget* parent, std::function<HistogramPicture(int, int)> picture);

    // The bars stand on this row of the frame (the axes take the rest).
    int plot_bottom() const { return height() - bottom_margin; }

    static constexpr int left_margin = 48;
    static constexpr int right_margin = 10;
    static constexpr int top_margin = 26;
    static constexpr int bottom_margin = 30;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::function<HistogramPicture(int, int)> picture_;
};
