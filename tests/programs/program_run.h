#pragma once
// Runs a command line through /bin/sh in a test's folder, with the built
// picture programs first on PATH, as the application runs them; captures
// standard output, standard error and the exit status.

#include <string>

#include "support/temp_folder.h"

struct ProgramRun {
    int status = -1;
    std::string out;
    std::string err;
};

ProgramRun run_in(const TempFolder& folder, const std::string& command_line);
