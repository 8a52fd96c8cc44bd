#include "app/ui/balloon_warning.h"

#include <QToolTip>
#include <QWidget>

QWidget* show_balloon_warning(QWidget* dialog) {
    if (!dialog) return nullptr;
    auto* control = dialog->findChild<QWidget*>("1013");
    if (!control) return nullptr;
    const QPoint tip = control->mapToGlobal(QPoint(control->width(), control->height() / 2));
    QToolTip::showText(tip, percentile_warning, control, QRect(), balloon_timeout_ms);
    return control;
}
