#pragma once
// A Desktop for tests: answers file and folder dialogs from queues, runs
// modal dialogs through test-supplied functions, and records every message
// box, menu state, status text and title.

#include <deque>
#include <functional>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "desktop/desktop.h"

struct RecordedMessage {
    std::string text;
    std::string caption;
    MessageIcon icon;
    Owner owner;
};

// Thrown by terminate(), so a test can see that the program would have ended.
struct TerminateRequested : std::runtime_error {
    explicit TerminateRequested(int code) : std::runtime_error("terminate"), exit_code(code) {}
    int exit_code;
};

class ScriptedDesktop : public Desktop {
public:
    ScriptedDesktop();

    // --- scripting ---
    std::deque<FileDialogAnswer> file_answers;
    std::deque<std::string> folder_answers;
    std::function<int(SettingsForm&)> settings_dialog;  // default: Cancel
    int about_result = 1;

    // --- what happened ---
    std::vector<RecordedMessage> messages;
    std::vector<FileDialogRequest> file_requests;
    std::map<int, bool> menu_enabled;  // starts with the menu table's states
    std::map<int, bool> menu_checked;
    std::string status[5];
    std::string title;
    CursorShape cursor = CursorShape::arrow;
    std::string display_picture;  // the path last decoded
    int progress_shows = 0;
    int progress_closes = 0;
    int pumps = 0;
    int repaints = 0;
    int about_runs = 0;
    std::vector<CaptureForm*> capture_dialogs;  // the form of each capture dialog shown
    bool main_window_destroyed = false;

    void message_box(const std::string& text, const std::string& caption, MessageIcon icon, Owner owner) override;
    FileDialogAnswer file_dialog(const FileDialogRequest& request) override;
    std::string choose_folder(const std::string& title, Owner owner) override;
    void show_progress() override;
    void close_progress() override;
    bool progress_shown() const override { return progress_open_; }
    void pump() override { ++pumps; }
    void set_menu_enabled(int id, bool enabled) override { menu_enabled[id] = enabled; }
    void set_menu_checked(int id, bool checked) override { menu_checked[id] = checked; }
    void set_status_text(int part, const std::string& text) override { status[part] = text; }
    void set_title(const std::string& text) override { title = text; }
    void repaint(bool) override { ++repaints; }
    void set_cursor(CursorShape shape) override { cursor = shape; }
    // Reads the size from the BMP or GIF header; refuses anything else.
    bool load_display_picture(const std::string& path, SizeF& size) override;
    void clear_display_picture() override { display_picture.clear(); }
    int run_settings_dialog(SettingsForm& form) override;
    int run_about_dialog() override;
    void show_capture_dialog(CaptureForm& form) override { capture_dialogs.push_back(&form); }
    void destroy_main_window() override { main_window_destroyed = true; }
    void terminate(int exit_code) override { throw TerminateRequested(exit_code); }

    // --- analysis ---
    std::deque<bool> yes_no_answers;  // default when empty: No
    std::vector<RecordedMessage> questions;
    std::function<int(AnalysisWizard&)> analysis_wizard;  // default: the sheet is cancelled at once
    bool main_window_enabled = true;
    bool busy = false;
    int busy_calls = 0;
    bool ask_yes_no(const std::string& text, const std::string& caption, Owner owner) override;
    void set_busy(bool on) override {
        busy = on;
        ++busy_calls;
    }
    void set_main_window_enabled(bool enabled) override { main_window_enabled = enabled; }
    int run_analysis_wizard(AnalysisWizard& wizard) override;
    // --- export ---
    std::function<int(ReinhardForm&)> reinhard_dialog;  // default: Cancel
    std::function<int(WardForm&)> ward_dialog;          // default: Cancel
    std::vector<FalsecolorForm*> falsecolor_windows;    // the form of each window shown
    bool falsecolor_window_open = false;
    int run_reinhard_dialog(ReinhardForm& form) override { return reinhard_dialog ? reinhard_dialog(form) : 0; }
    int run_ward_dialog(WardForm& form) override { return ward_dialog ? ward_dialog(form) : 0; }
    void show_falsecolor_window(FalsecolorForm& form) override {
        falsecolor_windows.push_back(&form);
        falsecolor_window_open = true;
    }
    void close_falsecolor_window() override { falsecolor_window_open = false; }
    // --- macro ---
    std::function<int(BatchForm&)> batch_dialog;  // default: Cancel
    int batch_progress_shows = 0;
    int batch_progress_closes = 0;
    int batch_progress_steps = 0;
    std::vector<std::pair<int, std::string>> batch_progress;  // every (done, text) shown
    int batch_pumps = 0;
    // Presses Stop once this many progress updates have been shown (-1: never).
    int stop_after_updates = -1;
    int run_batch_dialog(BatchForm& form) override { return batch_dialog ? batch_dialog(form) : 0; }
    void show_batch_progress(int steps) override;
    void set_batch_progress(int done, const std::string& text) override;
    void pump_batch_progress() override { ++batch_pumps; }
    bool batch_stop_requested() const override;
    void close_batch_progress() override { ++batch_progress_closes; }

private:
    bool progress_open_ = false;

public:
    // --- editing ---
    // Each dialog runs the test's function over its form; without one the
    // dialog is cancelled.
    std::function<int(ResizeForm&)> resize_dialog;
    std::function<int(CropForm&)> crop_dialog;
    std::function<int(ExposureForm&)> exposure_dialog;
    std::function<int(HeaderForm&)> header_dialog;
    std::function<int(ImageOperationForm&)> image_operation_dialog;
    std::function<int(ProjectionForm&)> projection_dialog;
    int editing_dialog_runs = 0;

    int run_resize_dialog(ResizeForm& form) override { return run_editing_dialog(resize_dialog, form); }
    int run_crop_dialog(CropForm& form) override { return run_editing_dialog(crop_dialog, form); }
    int run_exposure_dialog(ExposureForm& form) override { return run_editing_dialog(exposure_dialog, form); }
    int run_header_dialog(HeaderForm& form) override { return run_editing_dialog(header_dialog, form); }
    int run_image_operation_dialog(ImageOperationForm& form) override {
        return run_editing_dialog(image_operation_dialog, form);
    }
    int run_projection_dialog(ProjectionForm& form) override { return run_editing_dialog(projection_dialog, form); }

private:
    template <class Form>
    int run_editing_dialog(const std::function<int(Form&)>& dialog, Form& form) {
        ++editing_dialog_runs;
        return dialog ? dialog(form) : 0;
    }

public:
    // --- calibration ---
    std::function<int(CalibrationWizard&)> calibration_wizard;  // default: the sheet is cancelled at once
    int run_calibration_wizard(CalibrationWizard& wizard) override;
};
