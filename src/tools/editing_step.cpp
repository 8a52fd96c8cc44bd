#include "tools/editing_step.h"

#include <filesystem>

#include "common/text_format.h"
#include "desktop/desktop.h"
#include "tools/process_runner.h"
#include "tools/working_files.h"

namespace fs = std::filesystem;

std::string editing_step_failure(const std::string& command_line, const ProcessOutput& result,
                                 const std::string& output) {
    if (!result.started) return result.error;
    if (!result.text.empty()) return result.text;
    const std::string program = program_of(command_line);
    if (result.exit_status > 128)
        return strprintf("%s was stopped by signal %d without a message; the picture was not changed",
                         program.c_str(), result.exit_status - 128);
    if (result.exit_status != 0)
        return strprintf("%s failed with exit status %d without a message; the picture was not changed",
                         program.c_str(), result.exit_status);
    std::error_code ec;
    const auto size = fs::file_size(output, ec);
    if (ec || size == 0) return program + " wrote no picture; the picture was not changed";
    return {};
}

int run_editing_step_into(ProcessRunner& runner, Desktop& desktop, const std::string& command_line,
                          const std::string& output, const std::string& target) {
    std::error_code ec;
    fs::remove(output, ec);
    const ProcessOutput result = runner.run(command_line, true);
    std::string failure = editing_step_failure(command_line, result, output);
    if (failure.empty()) {
        replace_working_file(output, target, ec);
        if (ec) failure = "Could not replace " + target + ": " + ec.message();
    }
    if (!failure.empty()) {
        fs::remove(output, ec);
        desktop.message_box(failure, "Radiance Process Error!", MessageIcon::warning, Owner::none);
        desktop.close_progress();
        return -1;
    }
    return 0;
}

int run_editing_step(ProcessRunner& runner, Desktop& desktop, const std::string& cache_directory,
                     const std::string& command_line) {
    return run_editing_step_into(runner, desktop, command_line, cache_directory + working_file::step_output,
                                 cache_directory + working_file::working_copy);
}
