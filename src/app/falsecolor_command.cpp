// Tools > Falsecolor: the picture's luminance on a log scale in place of the
// picture, with the modeless "Falsecolor" window for its range. The
// luminance map stays as it is; only the display picture changes.

#include "app/application.h"
#include "app/commands.h"
#include "tools/extremes.h"
#include "tools/falsecolor.h"
#include "tools/working_files.h"

void Application::on_falsecolor_command(int mode, float bottom, float top) {
    if (falsecolor_open_ && settings_.display_mode != display_falsecolor) {
        // The Settings dialog chose another display format meanwhile: that
        // is the one to come back to, and its display copy is still to be
        // made.
        saved_display_mode_ = settings_.display_mode;
        settings_.display_mode = display_falsecolor;
        falsecolor_display_changed_ = true;
    }
    if (mode == -1) {
        leave_falsecolor_view();
        return;
    }
    if (!image_loaded_ || map_.empty()) return;
    falsecolor_active_ = true;
    if (mode == 1) falsecolor_range_ = {bottom, top};
    if (!falsecolor_open_) falsecolor_log_ = log_luminance(map_);

    if (!render_falsecolor(mode)) {
        leave_falsecolor_view();
        return;
    }
    if (!falsecolor_open_) {
        saved_display_mode_ = settings_.display_mode;
        settings_.display_mode = display_falsecolor;
        falsecolor_display_changed_ = false;
        open_falsecolor_window();
        falsecolor_open_ = true;
    }
    reload_working_copy();
    if (!image_loaded_) {
        // The bitmap could not be shown after all.
        leave_falsecolor_view();
        return;
    }
    set_image_menu_items(false);
    desktop_.set_menu_enabled(command::save_as, true);
    desktop_.set_menu_enabled(command::open, false);
}

bool Application::render_falsecolor(int mode) {
    if (mode == -1) return false;
    if (mode == 0) {
        const Extremes extremes =
            read_extremes(runner_, desktop_, working_path(working_file::working_copy), map_.exposure);
        falsecolor_measured_ = {extremes.minimum, extremes.maximum};
        falsecolor_range_ = falsecolor_measured_;
    }
    const std::string path = working_path(working_file::falsecolor);
    const LogRange range = falsecolor_log_range(falsecolor_range_.bottom, falsecolor_range_.top);
    if (!write_falsecolor_bmp(path, falsecolor_log_, map_.width, map_.height, range)) {
        desktop_.message_box("Could not write " + path, "File IO Error!", MessageIcon::warning, Owner::none);
        return false;
    }
    return true;
}

void Application::open_falsecolor_window() {
    auto form = std::make_unique<FalsecolorForm>();
    form->send = [this](const FalsecolorRequest& request) {
        on_falsecolor_command(request.mode, request.bottom, request.top);
    };
    form->on_open(falsecolor_measured_.bottom, falsecolor_measured_.top, falsecolor_measured_.bottom,
                  falsecolor_measured_.top);
    // The desktop replaces the earlier window, which still refers to the
    // earlier form; that form may go only after it.
    desktop_.show_falsecolor_window(*form);
    falsecolor_form_ = std::move(form);
}

void Application::leave_falsecolor_view() {
    // Closing the window ends the view for good, and nothing else would
    // take the statistics out of their means-only mode.
    falsecolor_active_ = false;
    falsecolor_log_ = {};
    if (!falsecolor_open_) return;  // never shown: the normal view is still there
    desktop_.close_falsecolor_window();
    settings_.display_mode = saved_display_mode_;
    // The map is still the picture's and the display copy of the normal
    // view is still in the cache, unless either went meanwhile: then both
    // are made again from the working copy.
    if (falsecolor_display_changed_ || !image_loaded_) falsecolor_open_ = false;
    reload_working_copy();
    falsecolor_open_ = false;
    if (image_loaded_) set_image_menu_items(true);
    desktop_.set_menu_enabled(command::open, true);
}
