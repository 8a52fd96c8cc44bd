#pragma once
// What the two tone-mapping dialogs share: the check of their output path on
// OK and the message of a successful run.

#include <string>

#include "desktop/desktop.h"

inline constexpr const char* tonemap_success_text = "Tonemapped Image was successfully saved in the specified location";

// OK's check: the path field (`field_text`) must be neither empty nor hold a
// character the shell interprets, and the JPEG written (`written`) must fit
// the program's path buffers. A refusal is shown under "Path Error" with
// the error icon, owned by `owner`; false then.
bool accept_tonemap_output(Desktop& desktop, const std::string& field_text, const std::string& written, Owner owner);
