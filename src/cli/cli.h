#pragma once
// candelux-cli: the analysis, the falsecolor picture and the batch replay of
// candelux from scripts, through the same core as the windows.

#include <ostream>
#include <string>
#include <vector>

#include "cli/cli_places.h"

// Reads the words after the program's name and runs the command; the exit
// status.
int run_cli(const std::vector<std::string>& words, const CliPlaces& places, std::ostream& out, std::ostream& err,
            bool err_is_terminal);

// The help of one command, or the overview for "".
std::string cli_help(const std::string& command);
