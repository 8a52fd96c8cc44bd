#pragma once
// The message boxes and Yes/No questions the dialogs' own desktop seams show
// over their dialogs.

#include <string>

#include "desktop/desktop.h"

class QWidget;

void show_message_box(QWidget* owner, const char* caption, const std::string& text, MessageIcon icon);
// True for Yes.
bool ask_yes_no(QWidget* owner, const char* caption, const std::string& text);
