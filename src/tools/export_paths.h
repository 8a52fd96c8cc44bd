#pragma once
// Where an exported picture may go: the checks on a chosen output path and
// the one question before an existing file is replaced.
//
// Output paths reach command lines unquoted, so they get the same refusal as
// every other chosen path. The overwrite question is asked about the name
// actually written, after the type's extension was appended: the save
// dialogs themselves do not ask, since they only see the name as typed.

#include <string>

#include "desktop/desktop.h"

// Why `path` cannot be written through a command line, or "" when it can:
// empty, a blank or another character the shell interprets, or too long for
// the program's path buffers.
enum class OutputPathProblem { none, empty_or_unsafe, too_long };
OutputPathProblem output_path_problem(const std::string& path);

// Asks "... already exists. Do you want to replace it?" when `path` exists;
// true when it does not, or when the user answers Yes.
bool confirm_replace(Desktop& desktop, const std::string& path, Owner owner);

// The tone-mapping dialogs' Browse: the JPG save dialog, then the question
// about the JPEG that will be written. The chosen path as typed, or "" when
// cancelled or when the user keeps the existing file.
std::string browse_for_jpeg(Desktop& desktop);
