#pragma once
// The five-part status bar. Its parts end at fixed distances from the left
// edge (150, 300, ... pixels), whatever the style's spacing and the window's
// width; a part that does not fit is cut off at the window's edge.

#include <QLabel>
#include <QStatusBar>
#include <array>

#include "common/status_text.h"

class PartStatusBar : public QStatusBar {
    Q_OBJECT
public:
    explicit PartStatusBar(QWidget* parent);

    QLabel* part(int index) const { return parts_[static_cast<size_t>(index)]; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void place_parts();

    std::array<QLabel*, status_part::count> parts_{};
};
