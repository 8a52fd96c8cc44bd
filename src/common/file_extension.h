#pragma once
// Whether a file name ends in an extension, whatever the case of its letters
// (".HDR" is a Radiance picture as much as ".hdr"). `extension` is given in
// small letters with its dot.

#include <string_view>

bool has_extension(std::string_view name, std::string_view extension);
