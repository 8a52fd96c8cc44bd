#pragma once
// Pieces the editing dialogs share: whole-number fields and showing a form's
// text in a field without reporting it back as an edit (controls named by
// their identifiers and the OK and Cancel row come with control_ids.h).

#include <QString>
#include <string>

#include "desktop/ui/control_ids.h"

class QLineEdit;
class QWidget;

// A field that takes digits only (sizes and offsets).
QLineEdit* whole_number_field(int id, QWidget* parent);

// Sets the field's text when it differs, without a change notice, so the
// caret of a field being typed in stays where it is.
void show_text(QLineEdit* field, const std::string& text);
