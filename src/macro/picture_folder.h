#pragma once
// The pictures of a folder that a batch replays: the files whose names end
// in ".hdr" whatever its case, sorted by name, without the step files an
// earlier replay left ("k-NAME" beside NAME). The list is taken once, before
// anything is written into the folder.

#include <string>
#include <string_view>
#include <vector>

#include "common/result.h"

Result<std::vector<std::string>> list_pictures(const std::string& folder);

// True when `name` is "k-REST" with k a positive decimal number.
bool looks_like_step_file(std::string_view name, std::string_view* rest = nullptr);
