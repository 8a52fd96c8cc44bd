#pragma once
// Stand-ins for picture programs: small shell scripts put in a folder that
// goes first on the children's search path, for the failures a real program
// rarely shows (a crash without a word, no output at all).

#include <filesystem>
#include <string>

// Writes `folder`/`name` as an executable "#!/bin/sh" script with `body`.
void write_fake_program(const std::filesystem::path& folder, const std::string& name, const std::string& body);
