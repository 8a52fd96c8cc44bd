#include "desktop/ui/control_ids.h"

#include <QDialogButtonBox>
#include <QPushButton>

QDialogButtonBox* ok_cancel_buttons(QWidget* parent) {
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, parent);
    buttons->button(QDialogButtonBox::Ok)->setObjectName("1");
    buttons->button(QDialogButtonBox::Cancel)->setObjectName("2");
    return buttons;
}
