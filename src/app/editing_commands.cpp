// The Edit menu's picture changes and File > Edit header...: each builds its
// command line, runs it as an editing step on the working copy and reloads
// the picture, on success or, where nothing else could have changed, in any
// case.

#include "app/application.h"
#include "app/commands.h"
#include "common/text_format.h"
#include "regions/region_edit.h"
#include "tools/crop_form.h"
#include "tools/exposure_change.h"
#include "tools/exposure_form.h"
#include "tools/file_requests.h"
#include "tools/geometry_commands.h"
#include "tools/header_editing.h"
#include "tools/pixel_operations.h"
#include "tools/projection.h"
#include "tools/working_files.h"

void Application::run_editing_command(int id) {
    // The items are disabled without a picture; a command sent regardless
    // has no working copy to change.
    if (!image_loaded_) return;
    const std::string input = working_path(working_file::working_copy);
    const std::string output = working_path(working_file::step_output);
    switch (id) {
    case command::crop: crop_to_selection(); break;
    case command::rotate_90: run_geometry_step(rotate_command(input, output), {PictureEditKind::quarter_turn}); break;
    case command::rotate_180:
        run_geometry_step(flip_command(half_turn_options, input, output), {PictureEditKind::half_turn});
        break;
    case command::flip_horizontal:
        run_geometry_step(flip_command(flip_horizontal_options, input, output), {PictureEditKind::flip_horizontal});
        break;
    case command::flip_vertical:
        run_geometry_step(flip_command(flip_vertical_options, input, output), {PictureEditKind::flip_vertical});
        break;
    case command::resize: resize_picture(); break;
    case command::exposure: change_exposure(); break;
    case command::edit_header: edit_header(); break;
    case command::apply_maskfile: apply_maskfile(); break;
    case command::vignetting_maskfile: correct_vignetting(); break;
    case command::operation: run_image_operation(); break;
    case command::projections: project_picture(); break;
    default: break;
    }
}

void Application::refresh_on_success(int result) {
    if (result >= 0) reload_working_copy();
}

void Application::run_geometry_step(const std::string& command_line, PictureEdit edit) {
    edit.width = map_.width;
    edit.height = map_.height;
    if (run_editing_step(command_line) < 0) return;
    reload_working_copy();
    regions_follow(edit);
}

void Application::crop_to_selection() {
    const Region& s = tools_.selection();
    const std::optional<CropBox> box = crop_box({s.x0, s.y0, s.x1, s.y1}, map_.height);
    if (!box) return;
    PictureEdit edit{PictureEditKind::crop};
    edit.left = box->left;
    edit.top = map_.height - box->bottom - box->height;
    run_geometry_step(
        crop_command(*box, working_path(working_file::working_copy), working_path(working_file::step_output)), edit);
}

void Application::resize_picture() {
    ResizeForm form(resize_lock_, map_.width, map_.height);
    form.on_open();
    if (desktop_.run_resize_dialog(form) != 1) return;
    PictureEdit edit{PictureEditKind::resize};
    edit.width = map_.width;
    edit.height = map_.height;
    const int result = run_editing_step(resize_command(
        form.factor_x, form.factor_y, working_path(working_file::working_copy), working_path(working_file::step_output)));
    reload_working_copy();
    if (result < 0) return;
    edit.new_width = map_.width;
    edit.new_height = map_.height;
    regions_follow(edit);
}

void Application::change_exposure() {
    ExposureForm form(desktop_, map_.exposure);
    form.on_open();
    if (desktop_.run_exposure_dialog(form) != 1) return;
    entered_exposure_ = form.entered;
    if (const std::optional<float> factor = exposure_factor(form.entered, map_.exposure)) {
        run_editing_step(exposure_command(format_shortest(*factor), working_path(working_file::working_copy),
                                          working_path(working_file::step_output)));
    } else {
        desktop_.message_box("The exposure " + format_default(form.entered) + " cannot be reached from " +
                                 format_default(map_.exposure) + "; the picture was not changed",
                             "Input Error", MessageIcon::warning, Owner::main_window);
    }
    reload_working_copy();
}

void Application::edit_header() {
    const std::string& cache = settings_.cache_directory;
    if (read_header_for_editing(runner_, desktop_, cache) != 0) return;
    HeaderForm form(desktop_, working_path(working_file::header_text));
    form.on_open();
    if (desktop_.run_header_dialog(form) != 1) return;
    desktop_.close_progress();
    refresh_on_success(put_header_back(runner_, desktop_, cache));
}

void Application::apply_maskfile() {
    FileDialogRequest request = mask_file_request();
    request.owner = Owner::main_window;
    int type = 0;
    const std::string mask = choose_command_path(desktop_, request, &type);
    if (mask.empty()) return;
    const std::string working_copy = working_path(working_file::working_copy);
    refresh_on_success(
        apply_mask_file(runner_, desktop_, settings_.cache_directory, mask, type, working_copy, working_copy));
}

void Application::correct_vignetting() {
    const std::string correction = choose_command_path(desktop_, open_image_request(Owner::main_window));
    if (correction.empty()) return;
    refresh_on_success(run_editing_step(vignetting_command(working_path(working_file::working_copy), correction,
                                                           working_path(working_file::step_output))));
}

void Application::run_image_operation() {
    ImageOperationForm form(desktop_, operand_paths_, image_operation_);
    form.on_open();
    if (desktop_.run_image_operation_dialog(form) != 1) return;
    const ImageOperation& op = image_operation_;
    run_editing_step(image_operation_command(op.a, op.op, op.b, working_path(working_file::step_output)));
    reload_working_copy();
}

void Application::project_picture() {
    ProjectionForm form(desktop_, projection_, map_.width, map_.height);
    form.on_open();
    if (desktop_.run_projection_dialog(form) != 1) return;
    if ((projection_.choice & 0xFFFF) == projection_angular_to_hemispherical)
        project_to_hemisphere(runner_, desktop_, settings_.cache_directory, map_.exposure, projection_.width,
                              projection_.height);
    reload_working_copy();
}

void Application::edit_selection_rectangle() {
    if (!image_loaded_ || !tools_.double_click_edits_rectangle(picture_position(cursor_))) return;
    Region& s = tools_.selection();
    CropRectangle rectangle{s.x0, s.y0, s.x1, s.y1};
    CropForm form(desktop_, rectangle, map_.width, map_.height);
    form.on_open();
    if (desktop_.run_crop_dialog(form) != 1) return;
    s.x0 = rectangle.x0;
    s.y0 = rectangle.y0;
    s.x1 = rectangle.x1;
    s.y1 = rectangle.y1;
    desktop_.repaint(false);
}
