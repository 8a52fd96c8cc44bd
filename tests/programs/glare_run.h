#pragma once
// Running evalglare in a test folder and reading back its result line.

#include <array>
#include <string>

#include "program_run.h"

struct GlareResult {
    ProgramRun run;
    bool printed = false;  // a well-formed result line ends standard output
    double dgp = 0, dgi = 0, ugr = 0, vcp = 0, cgi = 0, veil = 0;

    std::array<double, 6> figures() const { return {dgp, dgi, ugr, vcp, cgi, veil}; }
};

// Runs "evalglare <arguments>" and parses the last line of standard output.
GlareResult run_glare(const TempFolder& folder, const std::string& arguments);

// The number -V prints, or -1 when the run failed.
double run_glare_illuminance(const TempFolder& folder, const std::string& arguments);
