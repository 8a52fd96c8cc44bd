#pragma once
// The "Open Image" dialog used to choose a picture for an operation: the
// vignetting correction picture and the two operands of an image operation.

#include "desktop/desktop.h"

FileDialogRequest open_image_request(Owner owner);

// Shows the request; refuses a path the shell would misread with "File path
// cannot contain spaces". "" when cancelled or refused.
std::string choose_command_path(Desktop& desktop, const FileDialogRequest& request, int* filter_index = nullptr);
