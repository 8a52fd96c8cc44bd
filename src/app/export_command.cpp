// File > Save As... and Tools > Tonemapping: the working copy (or the
// falsecolor picture) written out for the user. None of them changes the
// working copy.

#include <filesystem>

#include "app/application.h"
#include "tools/export_commands.h"
#include "tools/export_paths.h"
#include "tools/export_steps.h"
#include "tools/reinhard_form.h"
#include "tools/tonemap_output.h"
#include "tools/ward_form.h"
#include "tools/working_files.h"

namespace {
constexpr const char* radiance_caption = "Radiance Process Error!";
}  // namespace

void Application::run_save_as() {
    const bool falsecolor_view = settings_.display_mode == display_falsecolor || falsecolor_open_;
    // The falsecolor view offers its bitmap alone, as type 1, and PNG as type
    // 2 once its window shows the export choices.
    const bool offer_png = falsecolor_view && falsecolor_form_ && falsecolor_form_->options_shown;
    const FileDialogAnswer answer = desktop_.file_dialog(save_image_request(falsecolor_view, offer_png));
    if (answer.cancelled()) return;
    const int type = falsecolor_view ? save_bmp : answer.filter_index;
    const bool png = offer_png && answer.filter_index == 2;
    const std::string name = apply_output_name_rule(answer.path, png ? "png" : save_type_extension(type));
    switch (output_path_problem(name)) {
    case OutputPathProblem::empty_or_unsafe:
        desktop_.message_box("File path cannot contain spaces", "Path Error", MessageIcon::error, Owner::main_window);
        return;
    case OutputPathProblem::too_long:
        desktop_.message_box("File path is too long: at most " + std::to_string(max_path_chars - 1) +
                                 " characters can be written",
                             "Path Error", MessageIcon::error, Owner::main_window);
        return;
    case OutputPathProblem::none:
        break;
    }
    if (!confirm_replace(desktop_, name, Owner::main_window)) return;

    const std::string working_copy = working_path(working_file::working_copy);
    if (falsecolor_view) {
        save_falsecolor_view(name, png);
        return;
    }
    std::vector<ExportStep> steps;
    switch (type) {
    case save_bmp:
        steps.push_back({save_bmp_command(working_copy, name), name, radiance_caption});
        break;
    case save_gif:
        steps.push_back({save_gif_command(working_copy, name), name, radiance_caption});
        break;
    case save_jpeg:
        if (settings_.default_tone_mapper == tone_mapper_ward) {
            const std::string scratch = working_path(working_file::save_step);
            steps.push_back({pcond_command("", working_copy, scratch), scratch, radiance_caption, true});
            steps.push_back({tm_linear_command(scratch, name), name, radiance_caption});
        } else {
            steps.push_back({reinhard_save_command(working_copy, name), name, radiance_caption});
        }
        break;
    default:
        copy_exported_file(desktop_, working_copy, name);
        return;
    }
    run_export_steps(runner_, desktop_, steps);
}

void Application::run_reinhard_dialog() {
    ReinhardForm form(desktop_);
    form.on_open();
    if (desktop_.run_reinhard_dialog(form) != 1) return;
    const std::string line =
        reinhard_command(working_path(working_file::working_copy), form.output_name(), form.options());
    if (run_export_steps(runner_, desktop_, {{line, form.output_name(), "Tonemapping Error!"}}) != 0) return;
    desktop_.message_box(tonemap_success_text, "Reinhard Photographic Tonemapping", MessageIcon::information,
                         Owner::none);
}

void Application::run_ward_dialog() {
    WardForm form(desktop_);
    form.on_open();
    if (desktop_.run_ward_dialog(form) != 1) return;
    const std::string scratch = working_path(working_file::pcond_step);
    const std::vector<ExportStep> steps{
        {pcond_command(ward_option_text(form.options()), working_path(working_file::working_copy), scratch), scratch,
         "Tonemapping Error at pcond!", true},
        {tm_linear_command(scratch, form.output_name()), form.output_name(), "Tonemapping Error at WardTM!"},
    };
    const int result = run_export_steps(runner_, desktop_, steps);
    // Not a working copy: the close-time clean-up would not find it.
    std::error_code ec;
    std::filesystem::remove(scratch, ec);
    if (result != 0) return;
    desktop_.message_box(tonemap_success_text, ward_title, MessageIcon::information, Owner::dialog);
}
