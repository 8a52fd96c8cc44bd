#include "tools/ui/dialog_parts.h"

#include <QLineEdit>
#include <QRegularExpressionValidator>

QLineEdit* whole_number_field(int id, QWidget* parent) {
    auto* field = new QLineEdit(parent);
    field->setObjectName(id_name(id));
    field->setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9]{0,10}"), field));
    return field;
}

void show_text(QLineEdit* field, const std::string& text) {
    const QString shown = QString::fromStdString(text);
    if (field->text() == shown) return;
    const QSignalBlocker quiet(field);
    field->setText(shown);
}
