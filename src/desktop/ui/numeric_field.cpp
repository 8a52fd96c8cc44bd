#include "desktop/ui/numeric_field.h"

#include <QToolTip>

void bind_numeric_field(QLineEdit* field, std::function<void(float)> on_value, NumberForm form) {
    QObject::connect(field, &QLineEdit::textChanged, field, [field, on_value, form](const QString& text) {
        const int caret = field->hasSelectedText() ? field->selectionEnd() : field->cursorPosition();
        const NumericEdit edit = read_numeric_edit(text.toStdString(), caret, form);
        const QString filtered = QString::fromStdString(edit.text);
        if (filtered != text) {
            // Taken back as an edit of its own, so Undo still works.
            const QSignalBlocker quiet(field);
            field->setSelection(0, static_cast<int>(text.size()));
            field->insert(filtered);
            field->setCursorPosition(edit.caret);
        }
        if (edit.refused && form != NumberForm::number) {
            const char* what = form == NumberForm::digits ? "You can only type a whole number here."
                                                          : "You can only type a number here.";
            QToolTip::showText(field->mapToGlobal(QPoint(field->width(), field->height() / 2)),
                               QString("Unacceptable Character\n") + what, field, QRect(), 5000);
        }
        if (on_value) on_value(edit.value);
    });
}
