#pragma once
// The two views of a re-projection: the output view, built from a view file
// and the view options of the command line, and the view the input picture
// records in its header.
//
// A view file is read like a picture header, up to its first empty line or
// its end, so a picture serves as its own view file. Every line that carries
// a view (VIEW= or a renderer's command line, see is_view_line) is applied
// in turn, so later lines override earlier ones.

#include <optional>
#include <string>
#include <vector>

#include "lib/program_status.h"
#include "picture/view_options.h"

// Applies the view lines of the file onto `view`. Fails with the system's
// reason ("FILE: No such file or directory") when the file cannot be read,
// and with "FILE: bad view file" when none of its lines carries a view.
ProgramStatus apply_view_file(const std::string& path, View& view);

// The view that a picture header's view lines give, starting from the
// default view; nothing when no line carries one.
std::optional<View> header_view(const std::vector<std::string>& lines);
