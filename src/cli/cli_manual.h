#pragma once
// candelux-cli's manual page and bash completion, both made from the texts
// that `candelux-cli --help` and `candelux-cli COMMAND --help` print.

#include <string>
#include <vector>

// The commands the overview lists, in its order.
std::vector<std::string> cli_commands();

std::string cli_manual_page();

// A bash completion script: the commands after the program's name, a
// command's options after a word that starts with "-", file names otherwise.
std::string cli_bash_completion();
