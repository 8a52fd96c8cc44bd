#pragma once
// One picture-changing program run on the working copy: the program reads
// dtemp.hdr and writes dtempo.hdr; when it printed nothing, dtempo.hdr is
// copied over dtemp.hdr and removed. Anything printed, or a program that could
// not be started, is shown under "Radiance Process Error!" and leaves the
// working copy as it was.

#include <string>

class Desktop;
class ProcessRunner;

// 0 on success, -1 on failure (the message has been shown).
int run_editing_step(ProcessRunner& runner, Desktop& desktop, const std::string& cache_directory,
                     const std::string& command_line);
