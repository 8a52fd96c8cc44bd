// Opening a picture and reloading the working copy: the working copy, the
// display copy made by ra_bmp or ra_gif, the luminance map, the display
// picture, the title, the menu and the status bar.

#include <filesystem>
#include <future>

#include "app/application.h"
#include "common/status_text.h"
#include "picture/rgbe_reader.h"
#include "tools/working_files.h"

namespace {

constexpr const char* open_title = "Open Image";
constexpr const char* conversion_error = "Invalid File: Radiance returned an error";
constexpr const char* conversion_caption = "Radiance Process Error";
constexpr const char* window_title = "candelux";

FileDialogRequest open_picture_request() {
    FileDialogRequest request;
    request.kind = FileDialogRequest::Kind::open;
    request.title = open_title;
    request.filters = {{"HDR Images", "*.hdr;"}, {"PIC Images", "*.pic;"}};
    request.owner = Owner::main_window;
    return request;
}

}  // namespace

std::string Application::display_copy_path() const {
    switch (settings_.display_mode) {
    case display_bmp: return working_path(working_file::display_bmp);
    case display_falsecolor: return working_path(working_file::falsecolor);
    default: return working_path(working_file::display_gif);
    }
}

bool Application::check_open_paths(const std::string& chosen) {
    if (chosen.size() >= max_path_chars) {
        desktop_.message_box("File path is too long: at most " + std::to_string(max_path_chars - 1) +
                                 " characters can be opened",
                             "Path Error", MessageIcon::error, Owner::main_window);
        return false;
    }
    const std::string& cache = settings_.cache_directory;
    if (const std::string problem = cache_directory_problem(cache); !problem.empty()) {
        desktop_.message_box(problem, "Path Error", MessageIcon::error, Owner::main_window);
        return false;
    }
    std::error_code ec;
    std::filesystem::create_directories(cache, ec);
    return true;
}

std::optional<LuminanceMap> Application::prepare_display_copy(const std::string& path) {
    const bool gif = settings_.display_mode == display_gif;
    const std::string command = std::string(gif ? "/C ra_gif " : "/C ra_bmp ") + path + "  " +
                                working_path(gif ? working_file::display_gif : working_file::display_bmp);
    // The luminance map is read while the display copy is made: both only
    // read the working copy, and the window needs both before it paints.
    std::future<Result<LuminanceMap>> reading =
        std::async(std::launch::async, [path] { return load_luminance_map(path); });
    const ProcessOutput output = runner_.run(command, true);
    auto map = reading.get();
    if (!output.started || !output.text.empty()) {
        desktop_.message_box(output.started ? conversion_error : output.error, conversion_caption, MessageIcon::error,
                             Owner::none);
        desktop_.close_progress();
        return std::nullopt;
    }
    if (!map.ok()) {
        // The picture programs accepted a file the reader cannot read.
        desktop_.message_box(conversion_error, conversion_caption, MessageIcon::error, Owner::none);
        desktop_.close_progress();
        return std::nullopt;
    }
    return std::move(map).value();
}

Application::OpenResult Application::open_image(bool interactive, const std::optional<std::string>& preset_path) {
    namespace fs = std::filesystem;
    const std::string working_copy = working_path(working_file::working_copy);
    // The earlier working copy is kept while the new picture is tried, so that
    // a picture that fails to open does not cost the user the one they had.
    const std::string kept = working_path(working_file::kept_working_copy);
    std::string chosen;
    bool keeping = false;
    std::error_code ec;

    auto give_up = [&](OpenResult result) {
        if (keeping) fs::rename(kept, working_copy, ec);
        desktop_.close_progress();
        return result;
    };

    if (interactive) {
        if (preset_path) {
            chosen = *preset_path;
        } else {
            const FileDialogAnswer answer = desktop_.file_dialog(open_picture_request());
            if (answer.cancelled()) {
                desktop_.close_progress();
                return OpenResult::cancelled;
            }
            chosen = answer.path;
        }
        if (!check_open_paths(chosen)) return OpenResult::failed;
        // Opening the working copy itself needs no copy at all.
        const bool same_file = fs::exists(working_copy, ec) && fs::equivalent(chosen, working_copy, ec);
        if (!same_file && image_loaded_ && fs::exists(working_copy, ec)) {
            fs::rename(working_copy, kept, ec);
            keeping = !ec;
        }
        // A working copy left by an earlier session is removed rather than
        // emptied by the copy (ext4 writes a file emptied and rewritten out
        // when it is closed); one of a loaded picture was moved aside above.
        if (!same_file && !image_loaded_) fs::remove(working_copy, ec);
        if (!same_file && !fs::copy_file(chosen, working_copy, fs::copy_options::overwrite_existing, ec)) {
            desktop_.message_box("Could not read " + chosen, "File IO Error!", MessageIcon::warning, Owner::none);
            return give_up(image_loaded_ ? OpenResult::kept_earlier : OpenResult::failed);
        }
    }

    std::optional<LuminanceMap> map;
    if (settings_.display_mode == display_falsecolor) {
        // The falsecolor view replaces only the display picture.
    } else if (falsecolor_open_) {
        // Leaving the falsecolor view: the map is still the picture's.
        falsecolor_open_ = false;
    } else {
        map = prepare_display_copy(working_copy);
        if (!map) return give_up(image_loaded_ ? OpenResult::kept_earlier : OpenResult::failed);
    }

    SizeF size;
    if (!desktop_.load_display_picture(display_copy_path(), size)) {
        desktop_.message_box("Could not read the display copy " + display_copy_path(), "File IO Error!",
                             MessageIcon::warning, Owner::none);
        return give_up(image_loaded_ ? OpenResult::kept_earlier : OpenResult::failed);
    }

    if (map) map_ = std::move(*map);
    bitmap_ = size;
    image_loaded_ = true;
    picture_name_ = chosen;
    if (keeping) fs::remove(kept, ec);
    if (interactive) {
        title_ = std::string(window_title) + " - " + chosen;
        desktop_.set_title(title_);
    }
    desktop_.close_progress();
    return OpenResult::loaded;
}

void Application::show_picture_status() {
    desktop_.set_status_text(status_part::zoom, status_zoom_text(zoom_));
    desktop_.set_status_text(status_part::resolution, status_resolution_text(bitmap_.width, bitmap_.height));
    desktop_.set_status_text(status_part::luminance, status_luminance_text(0.0f));
    desktop_.set_status_text(status_part::exposure, status_exposure_text(map_.exposure));
}

void Application::on_open_command(const std::optional<std::string>& path) {
    const OpenResult result = open_image(true, path);
    if (result == OpenResult::failed || result == OpenResult::kept_earlier) {
        // A picture that was loaded before stays as it was, view included.
        return;
    }
    if (!image_loaded_) {
        zoom_ = 1.0f;
        return;
    }
    analysis_wizard_active_ = false;
    calibration_wizard_active_ = false;
    falsecolor_open_ = false;
    set_image_menu_items(true);
    placement_recompute_ = true;
    zoom_changed_ = true;
    zoom_ = fit_zoom(view_size_, bitmap_);
    clear_selection();
    desktop_.repaint(true);
    show_picture_status();
    regions_picture_opened();
}

void Application::reload_working_copy() {
    clear_selection();
    desktop_.close_progress();
    if (open_image(false, std::nullopt) != OpenResult::loaded) {
        // The working copy can no longer be shown: nothing is loaded now, so
        // the map, the display picture and the menu agree again.
        image_loaded_ = false;
        map_ = {};
        bitmap_ = {};
        desktop_.clear_display_picture();
        set_image_menu_items(false);
        desktop_.set_title(window_title);
    }
    placement_recompute_ = true;
    zoom_changed_ = true;
    desktop_.repaint(true);
    show_picture_status();
}
