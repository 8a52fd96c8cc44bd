#pragma once
// The Desktop of the running program: message boxes, file dialogs, the
// progress window, the menu and the status bar of the main window.

#include <QPointer>

#include "desktop/desktop.h"

class BatchProgressDialog;
class MainWindow;
class ProgressWindow;
class QWidget;

class QtDesktop : public Desktop {
public:
    explicit QtDesktop(MainWindow& window);
    ~QtDesktop() override;

    void message_box(const std::string& text, const std::string& caption, MessageIcon icon, Owner owner) override;
    FileDialogAnswer file_dialog(const FileDialogRequest& request) override;
    std::string choose_folder(const std::string& title, Owner owner) override;

    void show_progress() override;
    void close_progress() override;
    bool progress_shown() const override;
    void pump() override;

    void set_menu_enabled(int id, bool enabled) override;
    void set_menu_checked(int id, bool checked) override;
    void set_status_text(int part, const std::string& text) override;
    void set_title(const std::string& title) override;
    void repaint(bool erase) override;
    void set_cursor(CursorShape shape) override;
    bool load_display_picture(const std::string& path, SizeF& size) override;
    void clear_display_picture() override;

    int run_settings_dialog(SettingsForm& form) override;
    int run_about_dialog() override;
    void show_capture_dialog(CaptureForm& form) override;

    void destroy_main_window() override;
    void terminate(int exit_code) override;

    // --- editing ---
    int run_resize_dialog(ResizeForm& form) override;
    int run_crop_dialog(CropForm& form) override;
    int run_exposure_dialog(ExposureForm& form) override;
    int run_header_dialog(HeaderForm& form) override;
    int run_image_operation_dialog(ImageOperationForm& form) override;
    int run_projection_dialog(ProjectionForm& form) override;
    // --- analysis ---
    bool ask_yes_no(const std::string& text, const std::string& caption, Owner owner) override;
    void set_busy(bool busy) override;
    void set_main_window_enabled(bool enabled) override;
    int run_analysis_wizard(AnalysisWizard& wizard) override;

    // --- export ---
    int run_reinhard_dialog(ReinhardForm& form) override;
    int run_ward_dialog(WardForm& form) override;
    void show_falsecolor_window(FalsecolorForm& form) override;
    void close_falsecolor_window() override;

    // --- calibration ---
    int run_calibration_wizard(CalibrationWizard& wizard) override;

private:
    QWidget* owner_widget(Owner owner) const;

    MainWindow& window_;
    QPointer<ProgressWindow> progress_;
    int busy_ = 0;  // wait cursors pushed

    // --- macro ---
public:
    int run_batch_dialog(BatchForm& form) override;
    void show_batch_progress(int steps) override;
    void set_batch_progress(int done, const std::string& text) override;
    void pump_batch_progress() override;
    bool batch_stop_requested() const override;
    void close_batch_progress() override;
    BatchProgressDialog* batch_progress() const;

private:
    QPointer<BatchProgressDialog> batch_progress_;
};
