// Tools > Calibration...: the calibration wizard, and what it asks of the
// main window while it runs.

#include "analysis/calibration_wizard.h"
#include "app/application.h"
#include "app/commands.h"

namespace {

class ApplicationCalibrationHost final : public CalibrationHost {
public:
    explicit ApplicationCalibrationHost(Application& app) : app_(app) {}

    Desktop& desktop() override { return app_.desktop(); }
    StatisticsContext statistics_context() override {
        return {app_.luminance_map(), app_.cache_directory(), app_.runner(), app_.desktop(),
                app_.statistics_mean_only()};
    }
    RegionKind tool() const override { return app_.tools().tool(); }
    void select_tool(RegionKind tool) override {
        // As a page does it: through the menu command, which also moves the
        // check mark.
        app_.on_command(tool == RegionKind::circle    ? command::circle_tool
                        : tool == RegionKind::polygon ? command::polygon_tool
                                                      : command::rectangle_tool);
    }
    void clear_selection() override { app_.clear_selection(); }
    void set_image_menu_items(bool enabled) override { app_.set_image_menu_items(enabled); }
    void set_calibration_enabled(bool enabled) override {
        app_.desktop().set_menu_enabled(command::calibration, enabled);
    }
    void set_picture_commands_enabled(bool enabled) override { app_.set_picture_commands_enabled(enabled); }
    void set_main_window_enabled(bool enabled) override { app_.desktop().set_main_window_enabled(enabled); }
    int run_editing_step(const std::string& command_line) override { return app_.run_editing_step(command_line); }
    void reload_working_copy() override { app_.reload_working_copy(); }

private:
    Application& app_;
};

}  // namespace

int Application::run_calibration_wizard() {
    calibration_wizard_active_ = true;
    ApplicationCalibrationHost host(*this);
    CalibrationWizard wizard(host);
    set_calibration_receiver(&wizard);
    wizard.start();
    desktop_.run_calibration_wizard(wizard);
    set_calibration_receiver(nullptr);
    return 0;
}

void Application::run_calibration_command() {
    // The menu item is off without a picture; a stray command changes nothing.
    if (!image_loaded_) return;
    clear_selection();
    desktop_.set_main_window_enabled(false);
    if (run_calibration_wizard() == 0) {
        calibration_wizard_active_ = false;
        clear_selection();
        // A division that could not be shown leaves no picture to work on.
        set_image_menu_items(image_loaded_);
    }
    desktop_.set_main_window_enabled(true);
    desktop_.repaint(false);
}
