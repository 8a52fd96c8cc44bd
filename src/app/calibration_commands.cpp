// Tools > Calibration...: the calibration wizard, and what it asks of the
// main window while it runs.

#include "analysis/calibration_wizard.h"
#include "app/application.h"
#include "app/commands.h"
#include "app/wizard_host.h"
#include "profiles/camera_profile.h"

namespace {

class ApplicationCalibrationHost final : public ApplicationWizardHost<CalibrationHost> {
public:
    explicit ApplicationCalibrationHost(Application& app) : ApplicationWizardHost(app) {}

    void set_calibration_enabled(bool enabled) override {
        app_.desktop().set_menu_enabled(command::calibration, enabled);
    }
    int run_editing_step(const std::string& command_line) override { return app_.run_editing_step(command_line); }
    void reload_working_copy() override { app_.reload_working_copy(); }
};

}  // namespace

int Application::run_calibration_wizard(bool illuminance_first) {
    calibration_wizard_active_ = true;
    ApplicationCalibrationHost host(*this);
    CalibrationWizard wizard(host);
    if (illuminance_first) wizard.on_kind_chosen(CalibrationKind::illuminance);
    wizard.set_profile_folder(profile_folder(settings_file_.folders().appdata));
    set_calibration_receiver(&wizard);
    wizard.start();
    desktop_.run_calibration_wizard(wizard);
    set_calibration_receiver(nullptr);
    return 0;
}

void Application::run_calibration_command(bool illuminance_first) {
    // The menu item is off without a picture; a stray command changes nothing.
    if (!image_loaded_) return;
    clear_selection();
    desktop_.set_main_window_enabled(false);
    if (run_calibration_wizard(illuminance_first) == 0) {
        calibration_wizard_active_ = false;
        clear_selection();
        // A division that could not be shown leaves no picture to work on.
        set_image_menu_items(image_loaded_);
    }
    desktop_.set_main_window_enabled(true);
    desktop_.repaint(false);
}
