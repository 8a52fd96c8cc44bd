#include "tools/export_paths.h"

#include <filesystem>

#include "tools/command_path.h"
#include "tools/export_commands.h"
#include "tools/working_files.h"

OutputPathProblem output_path_problem(const std::string& path) {
    if (path.empty() || !is_command_safe_path(path)) return OutputPathProblem::empty_or_unsafe;
    if (path.size() >= max_path_chars) return OutputPathProblem::too_long;
    return OutputPathProblem::none;
}

bool confirm_replace(Desktop& desktop, const std::string& path, Owner owner) {
    std::error_code ec;
    if (!std::filesystem::exists(path, ec)) return true;
    return desktop.ask_yes_no(path + " already exists.\nDo you want to replace it?", "Confirm Save As", owner);
}

std::string browse_for_jpeg(Desktop& desktop) {
    const FileDialogAnswer answer = desktop.file_dialog(jpeg_save_request());
    if (answer.cancelled()) return {};
    const std::string written = apply_output_name_rule(answer.path, "jpg");
    // A path OK will refuse anyway is not worth a question.
    if (output_path_problem(written) == OutputPathProblem::none && !confirm_replace(desktop, written, Owner::dialog))
        return {};
    return answer.path;
}
