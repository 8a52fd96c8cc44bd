#pragma once
// Views read from a file, the way Radiance programs take `-vf file`: the
// file is read like a picture header (up to the first empty line, or to its
// end), so a picture can serve as its own view file. Every line that carries
// a view (is_view_line(), the reading program's own name among the names)
// applies its options on top of the view so far, so later lines override
// earlier ones.

#include <optional>
#include <string>
#include <string_view>

#include "picture/view_options.h"

// How many lines carried view options (0: none); nothing when the file
// cannot be opened (errno says why).
std::optional<int> read_view_file(const std::string& path, View& view, std::string_view program);
