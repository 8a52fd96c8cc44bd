#include "tools/tonemap_output.h"

#include "tools/export_paths.h"
#include "tools/working_files.h"

bool accept_tonemap_output(Desktop& desktop, const std::string& field_text, const std::string& written, Owner owner) {
    if (output_path_problem(field_text) == OutputPathProblem::empty_or_unsafe) {
        desktop.message_box("File path/name cannot contain spaces or be empty", "Path Error", MessageIcon::error,
                            owner);
        return false;
    }
    if (output_path_problem(written) == OutputPathProblem::too_long) {
        desktop.message_box("File path is too long: at most " + std::to_string(max_path_chars - 1) +
                                " characters can be written",
                            "Path Error", MessageIcon::error, owner);
        return false;
    }
    return true;
}
