#pragma once
// Everything the core asks of the windowing system, in one seam.
//
// The Qt main window implements it for the running program; tests use a
// scripted implementation that answers dialogs from a queue and records every
// message box, menu state and status text. No core code reaches a window in
// any other way.

#include <string>
#include <vector>

#include "common/geometry.h"
#include "desktop/cursor_shape.h"

class AnalysisWizard;
class BatchForm;
class CaptureForm;
class SettingsForm;
// --- editing ---
class CropForm;
class ExposureForm;
class HeaderForm;
class ImageOperationForm;
class ProjectionForm;
class ResizeForm;
// --- export ---
class FalsecolorForm;
class ReinhardForm;
class WardForm;
// --- calibration ---
class CalibrationWizard;

enum class MessageIcon { none, information, warning, error };

// Whose child a message box or file dialog is.
enum class Owner {
    none,         // no owner: a top-level box
    main_window,  // the main window
    dialog,       // the dialog that is open (e.g. the Settings dialog)
};

struct FileFilter {
    std::string label;    // "HDR Images"
    std::string pattern;  // "*.hdr;"
};

struct FileDialogRequest {
    enum class Kind { open, save } kind = Kind::open;
    std::string title;  // may be empty
    std::vector<FileFilter> filters;
    bool overwrite_prompt = false;
    Owner owner = Owner::main_window;
};

struct FileDialogAnswer {
    int filter_index = 0;  // 1-based index of the chosen filter; 0 = cancelled
    std::string path;
    bool cancelled() const { return filter_index == 0; }
};

class Desktop {
public:
    virtual ~Desktop() = default;

    // A modal message box with an OK button.
    virtual void message_box(const std::string& text, const std::string& caption, MessageIcon icon,
                             Owner owner) = 0;

    virtual FileDialogAnswer file_dialog(const FileDialogRequest& request) = 0;
    // The chosen folder, or "" when cancelled.
    virtual std::string choose_folder(const std::string& title, Owner owner) = 0;

    // The "Processing..." window, centred on the main window.
    virtual void show_progress() = 0;
    virtual void close_progress() = 0;
    virtual bool progress_shown() const = 0;
    // Lets the windows repaint while a child process runs; user input that
    // arrives meanwhile is dropped.
    virtual void pump() = 0;

    virtual void set_menu_enabled(int id, bool enabled) = 0;
    virtual void set_menu_checked(int id, bool checked) = 0;
    virtual void set_status_text(int part, const std::string& text) = 0;
    virtual void set_title(const std::string& title) = 0;
    virtual void repaint(bool erase) = 0;
    virtual void set_cursor(CursorShape shape) = 0;

    // Decodes the display copy (a BMP or GIF file) into the picture the view
    // paints, replacing the previous one. False when it cannot be decoded;
    // the previous picture then stays.
    virtual bool load_display_picture(const std::string& path, SizeF& size) = 0;
    virtual void clear_display_picture() = 0;

    // Modal dialogs; each returns the dialog's result.
    virtual int run_settings_dialog(SettingsForm& form) = 0;
    virtual int run_about_dialog() = 0;

    // The modeless capture dialog over `form`, replacing any earlier one.
    virtual void show_capture_dialog(CaptureForm& form) = 0;

    // Closes the main window without the close-time clean-up.
    virtual void destroy_main_window() = 0;
    // Ends the process at once (after a fatal message).
    virtual void terminate(int exit_code) = 0;

    // --- editing ---
    // The editing dialogs over their forms; each returns the dialog's result.
    virtual int run_resize_dialog(ResizeForm& form) = 0;
    virtual int run_crop_dialog(CropForm& form) = 0;
    virtual int run_exposure_dialog(ExposureForm& form) = 0;
    virtual int run_header_dialog(HeaderForm& form) = 0;
    virtual int run_image_operation_dialog(ImageOperationForm& form) = 0;
    virtual int run_projection_dialog(ProjectionForm& form) = 0;
    // --- analysis ---
    // A modal question with Yes and No; true for Yes.
    virtual bool ask_yes_no(const std::string& text, const std::string& caption, Owner owner) = 0;
    // The wait cursor over every window of the program while on.
    virtual void set_busy(bool busy) = 0;
    // Whether the main window takes input; off while a wizard sheet is up.
    virtual void set_main_window_enabled(bool enabled) = 0;
    // Shows the wizard's sheet, which hides itself while the user draws a
    // region on the main window; returns the sheet's result once it closed.
    virtual int run_analysis_wizard(AnalysisWizard& wizard) = 0;

    // --- export ---
    // The tone-mapping dialogs; each returns 1 for OK, 0 otherwise.
    virtual int run_reinhard_dialog(ReinhardForm& form) = 0;
    virtual int run_ward_dialog(WardForm& form) = 0;
    // The modeless "Falsecolor" window over `form`, replacing any earlier
    // one, and its end when the view ends without it.
    virtual void show_falsecolor_window(FalsecolorForm& form) = 0;
    virtual void close_falsecolor_window() = 0;

    // --- macro ---
    // The batch dialog (146) over `form`; 1 for OK, 0 for Cancel.
    virtual int run_batch_dialog(BatchForm& form) = 0;
    // The batch progress window (147): a bar over `steps` steps and a Stop
    // button, over the main window, which takes no input while it is shown.
    virtual void show_batch_progress(int steps) = 0;
    virtual void set_batch_progress(int done, const std::string& text) = 0;
    // Lets the windows paint and the Stop button be pressed while a step
    // runs; other input is dropped.
    virtual void pump_batch_progress() = 0;
    // True once Stop has been pressed in the progress window shown last.
    virtual bool batch_stop_requested() const = 0;
    virtual void close_batch_progress() = 0;
    // --- calibration ---
    // Shows the calibration wizard's sheet (hidden while the user draws a
    // region); returns the sheet's result once it closed.
    virtual int run_calibration_wizard(CalibrationWizard& wizard) = 0;
};
