#include "desktop/ui/balloon_warning.h"

#include <QApplication>
#include <QToolTip>
#include <QWidget>

namespace {

// Qt shows every tooltip in one top-level label of its own.
QWidget* visible_tooltip() {
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (widget->inherits("QTipLabel") && widget->isVisible()) return widget;
    return nullptr;
}

}  // namespace

QWidget* show_balloon_warning(QWidget* dialog) {
    if (!dialog) return nullptr;
    auto* control = dialog->findChild<QWidget*>("1013");
    if (!control) return nullptr;
    const QPoint tip = control->mapToGlobal(QPoint(control->width(), control->height() / 2));
    QToolTip::showText(tip, percentile_warning, control, QRect(), balloon_timeout_ms);
    return visible_tooltip();
}
