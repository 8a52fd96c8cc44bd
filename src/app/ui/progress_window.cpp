#include "app/ui/progress_window.h"

#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QVBoxLayout>

namespace {
// 113 x 21 dialog units at the usual 6 x 13 pixel font cell.
constexpr int box_width = 170;
constexpr int box_height = 34;
}  // namespace

ProgressWindow::ProgressWindow(QWidget* parent)
    : QFrame(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus) {
    setObjectName("104");
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFixedSize(box_width, box_height);
    auto* layout = new QVBoxLayout(this);
    auto* label = new QLabel("Processing...", this);
    label->setObjectName("1003");
    label->setAlignment(Qt::AlignCenter);
    layout->addWidget(label);
    centre_on_parent();
}

void ProgressWindow::centre_on_parent() {
    QRect area;
    if (parentWidget()) {
        area = parentWidget()->frameGeometry();
    } else if (QScreen* screen = QGuiApplication::primaryScreen()) {
        area = screen->geometry();
    }
    move(area.left() + (area.width() - width()) / 2, area.top() + (area.height() - height()) / 2);
}
