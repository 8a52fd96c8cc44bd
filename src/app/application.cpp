#include "app/application.h"

#include <filesystem>

#include "app/commands.h"
#include "app/menu_table.h"
#include "settings/settings_form.h"
#include "tools/command_path.h"
#include "tools/editing_step.h"
#include "tools/working_files.h"

namespace {
constexpr const char* internal_error_caption = "Internal Process Error!";
}

Application::Application(Desktop& desktop, PlatformFolders folders, std::string program_folder)
    : desktop_(desktop), settings_file_(std::move(folders)), runner_(desktop, recorder_) {
    runner_.set_program_folder(std::move(program_folder));
}

bool Application::on_create() {
    switch (settings_file_.ensure_settings_file()) {
    case SettingsFile::Status::appdata_missing:
        desktop_.message_box("Could not find APPDATA folder", internal_error_caption, MessageIcon::warning,
                             Owner::none);
        desktop_.terminate(0);
        return false;
    case SettingsFile::Status::cannot_open:
        desktop_.message_box("Could not open settings file", internal_error_caption, MessageIcon::warning,
                             Owner::none);
        desktop_.terminate(0);
        return false;
    case SettingsFile::Status::temp_missing:
        desktop_.message_box(
            "Could not find TEMP folder - Please set your cache directory from Tools > Settings menu",
            internal_error_caption, MessageIcon::warning, Owner::none);
        break;
    case SettingsFile::Status::ok:
        break;
    }

    zoom_ = 1.0f;
    image_loaded_ = false;
    map_ = {};
    pan_ = {};
    panning_ = false;
    tools_.set_tool(RegionKind::rectangle);
    guidelines_ = false;
    cursor_ = anchor_ = drag_ = {};

    std::error_code ec;
    startup_directory_ = std::filesystem::current_path(ec).string();
    if (startup_directory_.size() >= max_path_chars) startup_directory_.resize(max_path_chars - 1);

    apply_cache_setting(settings_file_, settings_);
    use_safe_cache_directory();
    apply_tonemap_setting(settings_file_.read_setting("DEFTONEMAP="), settings_);
    apply_display_setting(settings_file_.read_setting("IMGDISP="), settings_);

    analysis_wizard_active_ = false;
    calibration_wizard_active_ = false;
    falsecolor_open_ = false;
    falsecolor_active_ = false;
    return true;
}

void Application::use_safe_cache_directory() {
    std::string& cache = settings_.cache_directory;
    if (cache.empty() || is_command_safe_path(cache)) return;
    // Every working-file path goes into command lines unquoted: a folder the
    // shell would misread is refused as if it had been chosen with Browse,
    // and this run works in the private default instead.
    desktop_.message_box("Cache path cannot contain spaces", "Path Error", MessageIcon::error, Owner::none);
    const auto& folders = settings_file_.folders();
    cache = folders.cache ? *folders.cache : settings_file_.fallback_cache_folder().string();
    ensure_private_folder(cache);
}

void Application::on_command(int id) {
    recorder_.note_command(id);
    switch (id) {
    case command::open:
        on_open_command();
        break;
    case command::exit:
        // Leaves the working files in the cache directory.
        keep_recording_at_exit();
        release_luminance_map();
        desktop_.destroy_main_window();
        break;
    case command::settings:
        run_settings_dialog();
        break;
    case command::rectangle_tool:
    case command::polygon_tool:
    case command::circle_tool:
        select_tool(id);
        break;
    case command::guidelines:
        toggle_guidelines();
        break;
    case command::fit_to_display:
        fit_to_display();
        break;
    case command::capture_setup:
        run_capture_setup();
        break;
    case command::assemble_hdr: run_assemble_hdr(); break;
    case command::camera_profiles: run_camera_profiles(); break;
    case command::regions_panel: case command::analyze_all_regions: on_regions_command(id); break;
    case command::series: run_series(); break;
    case command::analyze: run_analyze_command(); break;
    case command::calibration: run_calibration_command(); break;
    case command::about:
        desktop_.run_about_dialog();
        break;
    case command::crop: case command::rotate_90: case command::rotate_180: case command::flip_horizontal: case command::flip_vertical: case command::resize: case command::exposure: case command::edit_header: case command::vignetting_maskfile: case command::apply_maskfile: case command::operation: case command::projections: run_editing_command(id); break;
    case command::save_as: run_save_as(); break;
    case command::reinhard: run_reinhard_dialog(); break;
    case command::ward: run_ward_dialog(); break;
    case command::falsecolor: on_falsecolor_command(0); break;
    case command::record_macro: case command::stop_recording: case command::batch_process: on_macro_command(id); break;
    default:
        break;
    }
}

void Application::on_close() {
    keep_recording_at_exit();
    release_luminance_map();
    const std::string& cache = settings_.cache_directory;
    // An empty or shell-unsafe cache directory would turn the patterns into
    // something else entirely ("rm -f /*dtemp*.*" at the root); skip them.
    if (cache.empty() || !is_command_safe_path(cache)) return;
    runner_.run(cleanup_working_copies_command(cache), true);
    desktop_.close_progress();
    runner_.run(cleanup_falsecolor_command(cache), true);
    desktop_.close_progress();
}

void Application::set_image_menu_items(bool enabled) {
    for (int id : picture_dependent_items()) desktop_.set_menu_enabled(id, enabled);
    if (recorder_.recording()) desktop_.set_menu_enabled(command::record_macro, false);  // never beside Stop Recording
}

int Application::run_editing_step(const std::string& command_line) {
    return ::run_editing_step(runner_, desktop_, settings_.cache_directory, command_line);
}

void Application::release_luminance_map() {
    if (image_loaded_) map_ = {};
}

void Application::select_tool(int id) {
    desktop_.set_menu_checked(command::rectangle_tool, id == command::rectangle_tool);
    desktop_.set_menu_checked(command::polygon_tool, id == command::polygon_tool);
    desktop_.set_menu_checked(command::circle_tool, id == command::circle_tool);
    tools_.set_tool(id == command::rectangle_tool ? RegionKind::rectangle
                    : id == command::polygon_tool ? RegionKind::polygon
                                                  : RegionKind::circle);
    desktop_.repaint(false);
}

void Application::toggle_guidelines() {
    guidelines_ = !guidelines_;
    desktop_.set_menu_checked(command::guidelines, guidelines_);
    desktop_.repaint(false);
}

void Application::run_settings_dialog() {
    SettingsForm form(desktop_, settings_file_, settings_);
    form.on_open();
    desktop_.run_settings_dialog(form);
}
