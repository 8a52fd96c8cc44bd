#include "desktop/ui/numeric_field.h"

#include "common/numeric_edit.h"

void bind_numeric_field(QLineEdit* field, std::function<void(float)> on_value) {
    QObject::connect(field, &QLineEdit::textChanged, field, [field, on_value](const QString& text) {
        const int caret = field->hasSelectedText() ? field->selectionEnd() : field->cursorPosition();
        const NumericEdit edit = read_numeric_edit(text.toStdString(), caret);
        const QString filtered = QString::fromStdString(edit.text);
        if (filtered != text) {
            // Taken back as an edit of its own, so Undo still works.
            const QSignalBlocker quiet(field);
            field->setSelection(0, static_cast<int>(text.size()));
            field->insert(filtered);
            field->setCursorPosition(edit.caret);
        }
        if (on_value) on_value(edit.value);
    });
}
