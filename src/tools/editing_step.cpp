#include "tools/editing_step.h"

#include <filesystem>

#include "desktop/desktop.h"
#include "tools/process_runner.h"
#include "tools/working_files.h"

int run_editing_step(ProcessRunner& runner, Desktop& desktop, const std::string& cache_directory,
                     const std::string& command_line) {
    const ProcessOutput output = runner.run(command_line, true);
    if (!output.started || !output.text.empty()) {
        const std::string& text = output.started ? output.text : output.error;
        desktop.message_box(text, "Radiance Process Error!", MessageIcon::warning, Owner::none);
        desktop.close_progress();
        return -1;
    }
    const std::filesystem::path input = cache_directory + working_file::working_copy;
    const std::filesystem::path result = cache_directory + working_file::step_output;
    std::error_code ec;
    // A program that printed nothing but wrote nothing leaves the copy as it
    // was: the copy fails quietly and the reload shows the same picture.
    std::filesystem::copy_file(result, input, std::filesystem::copy_options::overwrite_existing, ec);
    std::filesystem::remove(result, ec);
    return 0;
}
