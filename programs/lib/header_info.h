#pragma once
// getinfo: showing a picture's header, and copying a picture's data without
// its header (the second half of putting a hand-edited header back).

#include <string>
#include <vector>

#include "lib/program_status.h"

// For each file: "<file>:" then every header line after a TAB, then a TAB
// and a line end. A file that cannot be opened gives "<file>: cannot open" on
// standard output and is not a failure; a damaged header gives what was read
// so far, then "<file>: bad header!" on standard error, and exit 1.
ProgramStatus print_header_info(const std::vector<std::string>& files);

// Standard input to standard output with the header and its empty line left
// out; the resolution line and pixels pass unchanged.
ProgramStatus copy_picture_data();
