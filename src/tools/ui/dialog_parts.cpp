#include "tools/ui/dialog_parts.h"

#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>

QString id_name(int id) { return QString::number(id); }

QLineEdit* whole_number_field(int id, QWidget* parent) {
    auto* field = new QLineEdit(parent);
    field->setObjectName(id_name(id));
    field->setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9]{0,10}"), field));
    return field;
}

QDialogButtonBox* ok_cancel_buttons(QWidget* parent) {
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, parent);
    buttons->button(QDialogButtonBox::Ok)->setObjectName("1");
    buttons->button(QDialogButtonBox::Cancel)->setObjectName("2");
    return buttons;
}

void show_text(QLineEdit* field, const std::string& text) {
    const QString shown = QString::fromStdString(text);
    if (field->text() == shown) return;
    const QSignalBlocker quiet(field);
    field->setText(shown);
}
