// Tools > Falsecolor: the picture's luminance on a log scale in place of the
// picture, with the modeless "Falsecolor" window for its range. The
// luminance map stays as it is; only the display picture changes.

#include <filesystem>

#include "app/application.h"
#include "app/commands.h"
#include "picture/bmp_reader.h"
#include "picture/bmp_writer.h"
#include "picture/png_writer.h"
#include "tools/export_steps.h"
#include "tools/extremes.h"
#include "tools/falsecolor.h"
#include "tools/falsecolor_figure.h"
#include "tools/falsecolor_render.h"
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
    const FalsecolorScale scale = falsecolor_scale();
    bool written = false;
    if (scale.classic()) {
        const LogRange range = falsecolor_log_range(falsecolor_range_.bottom, falsecolor_range_.top);
        written = write_falsecolor_bmp(path, falsecolor_log_, map_.width, map_.height, range);
    } else {
        const bool over_picture =
            scale.display == FalsecolorDisplay::contours || scale.display == FalsecolorDisplay::bands;
        const BgrRaster picture = render_on_scale(map_, scale, over_picture ? falsecolor_base() : BgrRaster{},
                                                  contour_line_width(map_.width, map_.height));
        written = write_bmp24(path, picture.width, picture.height, picture.bgr);
    }
    if (!written) {
        desktop_.message_box("Could not write " + path, "File IO Error!", MessageIcon::warning, Owner::none);
        return false;
    }
    return true;
}

FalsecolorScale Application::falsecolor_scale() const {
    FalsecolorScale scale = falsecolor_choice_;
    scale.bottom = falsecolor_range_.bottom;
    scale.top = falsecolor_range_.top;
    return scale;
}

const BgrRaster& Application::falsecolor_base() {
    if (!falsecolor_base_) falsecolor_base_ = tone_mapped_grey(map_);
    return *falsecolor_base_;
}

void Application::save_falsecolor_view(const std::string& name, bool png) {
    const std::string shown = working_path(working_file::falsecolor);
    const bool legend = falsecolor_form_ && falsecolor_form_->legend_in_picture;
    const bool extrema = falsecolor_form_ && falsecolor_form_->extrema_in_picture;
    if (!png && !legend && !extrema) {
        copy_exported_file(desktop_, shown, name);
        return;
    }
    const auto picture = read_bmp_raster(shown);
    if (!picture) {
        desktop_.message_box("Could not read " + shown, "File IO Error!", MessageIcon::warning, Owner::none);
        return;
    }
    FigureOptions options{legend, extrema, {}};
    if (extrema) options.marks = find_extrema(map_);
    const BgrRaster figure = falsecolor_figure(*picture, falsecolor_scale(), options);
    // Written beside the target and renamed over it, so that a failure
    // leaves a file that was there before as it was.
    const std::filesystem::path target(name);
    const std::string partial = partial_file_beside(name);
    std::error_code ec;
    std::filesystem::remove(partial, ec);  // whatever stands under the temporary name: made afresh
    bool written = png ? write_png24(partial, figure.width, figure.height, figure.bgr)
                       : write_bmp24(partial, figure.width, figure.height, figure.bgr);
    if (written) std::filesystem::rename(partial, target, ec);
    if (!written || ec) {
        std::filesystem::remove(partial, ec);
        desktop_.message_box("Could not write " + name, "File IO Error!", MessageIcon::warning, Owner::none);
    }
}

void Application::open_falsecolor_window() {
    auto form = std::make_unique<FalsecolorForm>();
    form->desktop = &desktop_;
    form->send = [this](const FalsecolorRequest& request) {
        if (request.mode != -1) falsecolor_choice_ = request.choice;
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
    falsecolor_choice_ = {};
    falsecolor_base_.reset();
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
