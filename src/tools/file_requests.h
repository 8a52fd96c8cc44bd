#pragma once
// Choosing a file that a command line will name: the "Open Image" dialog for
// the vignetting correction picture and the two operands of an image
// operation, and the check every such choice passes (mask files too).

#include <optional>

#include "desktop/desktop.h"

FileDialogRequest open_image_request(Owner owner);

// Shows the request; refuses a path the shell would misread with "File path
// cannot contain spaces". Nothing when cancelled or refused.
std::optional<FileDialogAnswer> choose_command_file(Desktop& desktop, const FileDialogRequest& request);

// The same, as the path alone: "" when cancelled or refused.
std::string choose_command_path(Desktop& desktop, const FileDialogRequest& request, int* filter_index = nullptr);
