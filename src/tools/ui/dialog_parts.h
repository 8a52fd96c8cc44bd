#pragma once
// Pieces the editing dialogs share: controls named by their identifiers,
// whole-number fields, the OK and Cancel row, and showing a form's text in a
// field without reporting it back as an edit.

#include <QString>
#include <string>

class QDialogButtonBox;
class QLineEdit;
class QWidget;

QString id_name(int id);

// A field that takes digits only (sizes and offsets).
QLineEdit* whole_number_field(int id, QWidget* parent);

// OK (named "1") and Cancel (named "2").
QDialogButtonBox* ok_cancel_buttons(QWidget* parent);

// Sets the field's text when it differs, without a change notice, so the
// caret of a field being typed in stays where it is.
void show_text(QLineEdit* field, const std::string& text);
