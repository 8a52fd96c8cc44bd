#include "app/ui/status_bar.h"

#include <QResizeEvent>

namespace {
const QColor status_background(241, 237, 237);
}

PartStatusBar::PartStatusBar(QWidget* parent) : QStatusBar(parent) {
    setObjectName("102");
    setSizeGripEnabled(false);
    setMinimumHeight(status_part::height);
    setAutoFillBackground(true);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, status_background);
    setPalette(colours);
    // The parts are placed by hand rather than added to the bar's layout,
    // which would put its own spacing between them.
    for (int index = 0; index < status_part::count; ++index) {
        auto* label = new QLabel(this);
        label->setObjectName(QString("part%1").arg(index));
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        label->setContentsMargins(4, 0, 4, 0);
        parts_[static_cast<size_t>(index)] = label;
    }
    place_parts();
}

void PartStatusBar::resizeEvent(QResizeEvent* event) {
    QStatusBar::resizeEvent(event);
    place_parts();
}

void PartStatusBar::place_parts() {
    int left = 0;
    for (int index = 0; index < status_part::count; ++index) {
        const int right = status_part::right_edges[index];
        parts_[static_cast<size_t>(index)]->setGeometry(left, 0, right - left, height());
        left = right;
    }
}
