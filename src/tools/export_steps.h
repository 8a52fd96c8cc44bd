#pragma once
// Running the programs that write an exported picture, and copying files out
// of the cache directory, with every failure shown.
//
// Every program an export runs (ra_bmp, ra_gif, ReinhardTM, pcond,
// tm_linear) prints nothing when it succeeds, so any text is a failure, and
// so is a non-zero exit status or an output that is missing or empty: a
// program may also fail without a word. The working copy is only read.

#include <string>
#include <vector>

class Desktop;
class ProcessRunner;
struct ProcessOutput;

struct ExportStep {
    std::string command_line;
    std::string output;   // the file the program writes
    std::string caption;  // of the message box that shows its failure
    // A file of our own in the cache directory: removed before the run, so
    // that an earlier one is never taken for this run's result.
    bool scratch_output = false;
};

// Why a finished run did not produce `output`, or "" when it did.
std::string export_step_failure(const std::string& command_line, const ProcessOutput& result,
                                const std::string& output);

// Runs the steps in order, each with the "Processing..." window, which is
// closed after each. The first failure is shown (no owner, warning icon,
// the step's caption) and ends the run: -1. 0 when every step succeeded.
int run_export_steps(ProcessRunner& runner, Desktop& desktop, const std::vector<ExportStep>& steps);

// The temporary file beside `to` that a whole file is written into before it
// is renamed over `to`: ".NAME.part" in the same folder.
std::string partial_file_beside(const std::string& to);

// Copies `from` over `to` through a temporary file beside `to`, so that a
// failing copy never leaves half a file where a whole one was. A failure is
// shown as "File IO Error!" with the file's name: -1. 0 on success.
int copy_exported_file(Desktop& desktop, const std::string& from, const std::string& to);
