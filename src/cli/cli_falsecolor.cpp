// falsecolor PICTURE OUT.bmp [--range LO,HI]: Tools > Falsecolor and Save As
// of its bitmap. Without a range the picture's own extremes (pextrem) are
// shown; a range goes through the Falsecolor window's fields and Apply.
// With --out-dir, cli_falsecolor_folder.cpp renders many pictures on one scale.

#include "cli/cli_falsecolor.h"

#include <filesystem>

#include "cli/cli_commands.h"
#include "desktop/windowless_desktop.h"
#include "common/text_format.h"
#include "macro/macro_recorder.h"
#include "tools/export_commands.h"
#include "tools/export_paths.h"
#include "tools/export_steps.h"
#include "tools/extremes.h"
#include "tools/falsecolor.h"
#include "tools/falsecolor_form.h"
#include "tools/process_runner.h"
#include "tools/working_files.h"

namespace fs = std::filesystem;

namespace {

bool copy_working_copy(const std::string& picture, const std::string& folder) {
    std::error_code ec;
    return fs::copy_file(picture, folder + working_file::working_copy, fs::copy_options::overwrite_existing, ec);
}

ProcessOutput run_program(const std::string& line, const CliPlaces& places, WindowlessDesktop& desktop) {
    float no_exposure = 1.0f;
    MacroRecorder recorder(no_exposure);
    ProcessRunner runner(desktop, recorder);
    runner.set_program_folder(places.program_folder);
    return runner.run(line, false);
}

}  // namespace

Result<Extremes> measure_extremes(const std::string& picture, float exposure, const std::string& folder,
                                  const CliPlaces& places, WindowlessDesktop& desktop) {
    // pextrem reads the working copy, as in the application.
    if (!copy_working_copy(picture, folder)) return Failure{exit_failed, "could not copy " + picture + " into " + folder};
    const ProcessOutput run = run_program(extremes_command(folder + working_file::working_copy), places, desktop);
    if (!run.started || run.exit_status != 0)
        return Failure{exit_failed, "pextrem failed: " + (run.started ? run.text : run.error)};
    return parse_extremes(run.text, exposure);
}


int run_falsecolor(const FalsecolorOptions& options, const CliPlaces& places, const CliOutput& output) {
    if (!options.out_dir.empty()) return run_falsecolor_folder(options, places, output);
    auto picture = read_picture(options.picture);
    if (!picture) return output.fail(exit_bad_input, picture.failure().message);
    const LuminanceMap& map = picture.value();

    const std::string name = apply_output_name_rule(options.output, save_type_extension(save_bmp));
    switch (output_path_problem(name)) {
    case OutputPathProblem::empty_or_unsafe:
        return output.fail(exit_bad_input, "Path Error: File path cannot contain spaces (" + name + ")");
    case OutputPathProblem::too_long:
        return output.fail(exit_bad_input, strprintf("Path Error: %s is longer than %zu characters", name.c_str(),
                                                     max_path_chars - 1));
    case OutputPathProblem::none: break;
    }
    WindowlessDesktop desktop;
    desktop.yes_answer = options.overwrite;
    if (!confirm_replace(desktop, name, Owner::none))
        return output.fail(exit_bad_input, name + " exists already; give --overwrite to replace it");
    std::error_code ec;
    if (!fs::is_directory(fs::path(name).parent_path().empty() ? "." : fs::path(name).parent_path(), ec))
        return output.fail(exit_bad_input, "the folder of " + name + " does not exist");

    if (!places.cache_problem.empty()) return output.fail(exit_bad_input, places.cache_problem);
    if (!places.cache_warning.empty()) output.warn(places.cache_warning);
    const RunFolder folder(places.cache_folder);
    if (!folder.created()) return output.fail(exit_failed, folder.error());

    FalsecolorForm form;
    float bottom = 0, top = 0;
    if (options.bottom_text.empty()) {
        const auto measured = measure_extremes(options.picture, map.exposure, folder.path(), places, desktop);
        if (!measured) return output.fail(measured.failure().code, measured.failure().message);
        const Extremes extremes = measured.value();
        form.on_open(extremes.minimum, extremes.maximum, extremes.minimum, extremes.maximum);
        bottom = extremes.minimum;
        top = extremes.maximum;
    } else {
        form.on_open(0, 0, 0, 0);
        form.bottom_text = options.bottom_text;
        form.top_text = options.top_text;
        form.on_field_edited();
        const auto request = form.on_apply();
        bottom = request->bottom;
        top = request->top;
    }

    const std::string rendering = folder.path() + working_file::falsecolor;
    if (!write_falsecolor_bmp(rendering, log_luminance(map), map.width, map.height, falsecolor_log_range(bottom, top)))
        return output.fail(exit_failed, "File IO Error!: Could not write " + rendering);
    if (copy_exported_file(desktop, rendering, name) != 0) return output.fail(exit_failed, desktop.first_message());

    output.out << "Picture: " << name << '\n';
    output.out << "Range: " << form.bottom_text << " to " << form.top_text << " cd/m\u00b2\n";
    output.out << "Legend (bottom to top):";
    for (const std::string& label : form.labels) output.out << ' ' << label;
    output.out << '\n';
    return 0;
}
