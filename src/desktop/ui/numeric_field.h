#pragma once
// Binds the numeric field filter to a line edit: every change is filtered as
// it happens, and the callback (if any) receives the field's value.

#include <QLineEdit>
#include <functional>

#include "common/numeric_edit.h"

// Filters `field` from now on; `on_value` is called after each change with the
// value the filter read (0 for an empty field). A field of digits or decimals
// says so in a tooltip when it takes a keystroke back.
void bind_numeric_field(QLineEdit* field, std::function<void(float)> on_value = {},
                        NumberForm form = NumberForm::number);
