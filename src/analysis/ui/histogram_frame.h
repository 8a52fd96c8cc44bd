#pragma once
// The frame of the results page in which the histogram is painted: white,
// with one line per bin in the colour of the region shown.

#include <QFrame>
#include <functional>

#include "analysis/histogram_picture.h"

class HistogramFrame : public QFrame {
    Q_OBJECT
public:
    // `picture` gives what to paint for the frame's current size.
    HistogramFrame(QWidget* parent, std::function<HistogramPicture(int, int)> picture);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::function<HistogramPicture(int, int)> picture_;
};
