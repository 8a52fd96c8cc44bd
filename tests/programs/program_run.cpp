#include "program_run.h"

#include <sys/wait.h>

#include <cstdlib>

ProgramRun run_in(const TempFolder& folder, const std::string& command_line) {
    // The command goes into a script so that its quotes reach the shell
    // exactly as written.
    write_file(folder / ".command.sh", command_line + "\n");
    const std::string shell = "cd '" + folder.str() + "' && PATH='" + CANDELUX_PROGRAMS_DIR +
                              "':\"$PATH\" sh .command.sh >.stdout 2>.stderr";
    const int raw = std::system(shell.c_str());
    ProgramRun run;
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    run.out = read_file(folder / ".stdout");
    run.err = read_file(folder / ".stderr");
    return run;
}
