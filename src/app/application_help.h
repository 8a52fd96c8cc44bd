#pragma once
// What `candelux --help` prints, and the manual page made from it.

#include <string>

std::string application_help_text();
std::string application_manual_page();
