#pragma once
// One picture-changing program run on the working copy: the program reads
// dtemp.hdr and writes dtempo.hdr, which then replaces dtemp.hdr.
//
// The working copy is replaced only when the step clearly succeeded: the
// program printed nothing, exited 0 and left a non-empty picture. The output
// is removed before the run (so a stale one is never taken) and renamed over
// the working copy, so a crash or a full disk never leaves half a picture.
// Anything else is shown under "Radiance Process Error!" and leaves the
// working copy byte for byte as it was.

#include <string>

class Desktop;
class ProcessRunner;
struct ProcessOutput;

// 0 on success, -1 on failure (the message has been shown).
int run_editing_step(ProcessRunner& runner, Desktop& desktop, const std::string& cache_directory,
                     const std::string& command_line);

// The same protocol for a step whose program writes `output` and whose result
// replaces `target` (header editing and projections use files of their own).
int run_editing_step_into(ProcessRunner& runner, Desktop& desktop, const std::string& command_line,
                          const std::string& output, const std::string& target);

// Why a finished run did not produce a usable `output`, or "" when it did.
std::string editing_step_failure(const std::string& command_line, const ProcessOutput& result,
                                 const std::string& output);
