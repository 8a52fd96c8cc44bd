#pragma once
// The Desktop of a run without windows (candelux-cli, a series, a batch's
// region tables). The core shows its failures as message boxes; here they
// are collected, and the caller turns the first into its one-line error. File dialogs are answered from what the command
// line said; a question is answered as the command line allows (replace
// files only with --overwrite). Everything a window would do is nothing.

#include <deque>
#include <string>
#include <vector>

#include "desktop/desktop.h"

class WindowlessDesktop final : public Desktop {
public:
    // --- what the command line answers ---
    std::deque<FileDialogAnswer> file_answers;  // an empty queue cancels
    bool yes_answer = false;

    // --- what the core said ---
    std::vector<std::string> messages;  // "caption: text" of every message box
    std::vector<std::string> questions;

    // The first message as one line, or "" when there was none.
    std::string first_message() const;

    void message_box(const std::string& text, const std::string& caption, MessageIcon, Owner) override;
    FileDialogAnswer file_dialog(const FileDialogRequest&) override;
    std::string choose_folder(const std::string&, Owner) override { return {}; }
    void show_progress() override {}
    void close_progress() override {}
    bool progress_shown() const override { return false; }
    void pump() override {}
    void set_menu_enabled(int, bool) override {}
    void set_menu_checked(int, bool) override {}
    void set_status_text(int, const std::string&) override {}
    void set_title(const std::string&) override {}
    void repaint(bool) override {}
    void set_cursor(CursorShape) override {}
    bool load_display_picture(const std::string&, SizeF&) override { return false; }
    void clear_display_picture() override {}
    int run_settings_dialog(SettingsForm&) override { return 0; }
    int run_about_dialog() override { return 0; }
    void show_capture_dialog(CaptureForm&) override {}
    void destroy_main_window() override {}
    void terminate(int) override {}
    int run_resize_dialog(ResizeForm&) override { return 0; }
    int run_crop_dialog(CropForm&) override { return 0; }
    int run_exposure_dialog(ExposureForm&) override { return 0; }
    int run_header_dialog(HeaderForm&) override { return 0; }
    int run_image_operation_dialog(ImageOperationForm&) override { return 0; }
    int run_projection_dialog(ProjectionForm&) override { return 0; }
    bool ask_yes_no(const std::string& text, const std::string&, Owner) override;
    void set_busy(bool) override {}
    void set_main_window_enabled(bool) override {}
    int run_analysis_wizard(AnalysisWizard&) override { return 0; }
    int run_calibration_wizard(CalibrationWizard&) override { return 0; }
    int run_reinhard_dialog(ReinhardForm&) override { return 0; }
    int run_ward_dialog(WardForm&) override { return 0; }
    void show_falsecolor_window(FalsecolorForm&) override {}
    void close_falsecolor_window() override {}
    int run_batch_dialog(BatchForm&) override { return 0; }
    void show_batch_progress(int) override {}
    void set_batch_progress(int, const std::string&) override {}
    void pump_batch_progress() override {}
    bool batch_stop_requested() const override { return false; }
    void close_batch_progress() override {}
};

// A text of several lines as one line: line ends become " / ".
std::string one_line(const std::string& text);
