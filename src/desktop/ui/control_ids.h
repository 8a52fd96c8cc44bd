#pragma once
// Every control of a dialog, wizard page or window carries its identifier as
// its object name ("1005"), so that tests and screenshots can find it.

#include <QObject>
#include <QString>

class QDialogButtonBox;
class QWidget;

inline QString id_name(int id) { return QString::number(id); }

// `widget`, named by its identifier.
template <class Widget>
Widget* with_id(Widget* widget, int id) {
    widget->setObjectName(id_name(id));
    return widget;
}

// OK (named "1") and Cancel (named "2").
QDialogButtonBox* ok_cancel_buttons(QWidget* parent);
