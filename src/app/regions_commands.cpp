// View > Regions and Tools > Analyze All Regions: the list of named regions
// beside the picture, and what it asks of the main window.

#include <utility>

#include "app/application.h"
#include "app/commands.h"
#include "common/status_text.h"
#include "regions/region_list_form.h"
#include "regions/region_list_host.h"
#include "regions/regions_desktop.h"

namespace {

class ApplicationRegionHost final : public RegionListHost {
public:
    explicit ApplicationRegionHost(Application& app) : app_(app) {}

    std::string picture_path() const override { return app_.image_loaded() ? app_.picture_name() : std::string(); }
    bool has_picture() const override { return app_.image_loaded(); }
    int32_t picture_width() const override { return app_.luminance_map().width; }
    int32_t picture_height() const override { return app_.luminance_map().height; }
    const Region& selection() const override { return app_.tools().selection(); }
    RegionKind tool() const override { return app_.tools().tool(); }
    void take_selection(const Region& region, RegionKind tool) override {
        // The tool's check mark follows, as when the menu chose it.
        app_.desktop().set_menu_checked(command::rectangle_tool, tool == RegionKind::rectangle);
        app_.desktop().set_menu_checked(command::polygon_tool, tool == RegionKind::polygon);
        app_.desktop().set_menu_checked(command::circle_tool, tool == RegionKind::circle);
        app_.tools().take(region, tool);
        // The status bar shows a selected rectangle's corners, as after drawing it.
        const Region& s = app_.tools().selection();
        if (s.has_rectangle())
            app_.desktop().set_status_text(status_part::position, status_rectangle_text(s.x0, s.y0, s.x1, s.y1));
    }
    void repaint() override { app_.desktop().repaint(false); }
    bool can_analyse() const override {
        return app_.image_loaded() && !app_.falsecolor_active() && !app_.analysis_wizard_active() &&
               !app_.calibration_wizard_active();
    }
    StatisticsContext statistics_context() override {
        return {app_.luminance_map(), app_.cache_directory(), app_.runner(), app_.desktop(),
                app_.statistics_mean_only()};
    }

private:
    Application& app_;
};

}  // namespace

struct RegionPanelState {
    RegionPanelState(RegionsDesktop& desktop, Application& app) : host(app), form(desktop, host) {}
    RegionsDesktop* desktop = nullptr;
    ApplicationRegionHost host;
    RegionListForm form;
};

void RegionPanelStateDeleter::operator()(RegionPanelState* state) const { delete state; }

void Application::set_regions_desktop(RegionsDesktop* desktop) {
    regions_.reset();
    if (!desktop) return;
    regions_.reset(new RegionPanelState(*desktop, *this));
    regions_->desktop = desktop;
}

RegionListForm* Application::region_list() const { return regions_ ? &regions_->form : nullptr; }

void Application::regions_follow(const PictureEdit& edit) {
    if (regions_) regions_->form.on_picture_edited(edit);
}

void Application::on_regions_command(int id) {
    if (!regions_) return;
    if (id == command::regions_panel) {
        region_panel_shown_ = !region_panel_shown_;
        desktop_.set_menu_checked(command::regions_panel, region_panel_shown_);
        regions_->desktop->show_region_panel(region_panel_shown_);
    } else if (id == command::analyze_all_regions) {
        regions_->form.on_analyze_all();
    }
}

void Application::analyse_listed_regions() {
    const std::optional<AnalysisSettings> settings = std::exchange(listed_regions_request_, std::nullopt);
    if (settings && regions_) regions_->form.on_analyze_all(*settings);
}

void Application::regions_picture_opened() {
    if (regions_) regions_->form.on_picture_opened();
}
