// Tools > Analyze...: the analysis wizard, and what it asks of the main
// window while it runs.

#include <array>

#include "analysis/analysis_wizard.h"
#include "app/application.h"
#include "app/commands.h"
#include "app/wizard_host.h"
#include "regions/region_list_form.h"

namespace {

// The commands that would change or replace the picture a region is being
// drawn on (besides Open and Batch Process, which need no picture).
constexpr std::array picture_commands = {
    command::edit_header, command::exposure,  command::resize,          command::crop,
    command::rotate_90,   command::rotate_180, command::flip_horizontal, command::flip_vertical,
    command::vignetting_maskfile, command::apply_maskfile, command::operation, command::projections,
    command::ward,        command::reinhard,  command::falsecolor,      command::calibration,
};

class ApplicationAnalysisHost final : public ApplicationWizardHost<AnalysisHost>, public GlareHost {
public:
    explicit ApplicationAnalysisHost(Application& app) : ApplicationWizardHost(app) {}

    // The glare run asks for it too.
    Desktop& desktop() override { return app_.desktop(); }
    void clear_saved_regions() override { app_.clear_saved_regions(); }
    void set_analyze_enabled(bool enabled) override { app_.desktop().set_menu_enabled(command::analyze, enabled); }
    std::string picture_name() const override { return app_.picture_name(); }
    void request_illuminance_calibration() override { app_.request_illuminance_calibration(); }
    bool has_listed_regions() const override {
        return app_.region_list() && !app_.region_list()->regions().empty();
    }
    void request_listed_regions(const AnalysisSettings& settings) override { app_.request_listed_regions(settings); }
    // --- glare ---
    ProcessRunner& runner() override { return app_.runner(); }
    std::string glare_cache_directory() const override { return app_.cache_directory(); }
    const LuminanceMap& picture_map() const override { return app_.luminance_map(); }
    void show_check_picture() override { app_.reload_working_copy_at(1.0f); }
};

}  // namespace

void Application::clear_saved_regions() {
    clear_region(region_a_);
    clear_region(region_b_);
}

void Application::set_picture_commands_enabled(bool enabled) {
    desktop_.set_menu_enabled(command::open, enabled);
    desktop_.set_menu_enabled(command::batch_process, enabled);
    // Without a picture they stay as they were: off.
    if (enabled && !image_loaded_) return;
    for (int id : picture_commands) desktop_.set_menu_enabled(id, enabled);
}

int Application::run_analysis_wizard() {
    analysis_wizard_active_ = true;
    ApplicationAnalysisHost host(*this);
    AnalysisWizard wizard(host, host);
    set_analysis_receiver(&wizard);
    wizard.start();
    desktop_.run_analysis_wizard(wizard);
    set_analysis_receiver(nullptr);
    return 0;
}

void Application::run_analyze_command() {
    clear_selection();
    desktop_.set_main_window_enabled(false);
    if (run_analysis_wizard() == 0) {
        analysis_wizard_active_ = false;
        clear_selection();
        // Before any picture is loaded there is nothing for them to work on.
        if (image_loaded_) set_image_menu_items(true);
        else desktop_.set_menu_enabled(command::analyze, true);
    }
    desktop_.set_main_window_enabled(true);
    desktop_.repaint(false);
    analyse_listed_regions();
    if (illuminance_calibration_requested_) {
        illuminance_calibration_requested_ = false;
        run_calibration_command(true);
    }
}

void Application::reload_working_copy_at(float zoom) {
    zoom_ = zoom;
    reload_working_copy();
}
