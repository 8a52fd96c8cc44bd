#pragma once
// What the analysis and the calibration wizards alike ask of the main window
// (their hosts' common part): the desktop, the picture and programs for the
// statistics, the selection tool and the selection, and the menu and window
// states that change while the user draws a region. Each wizard's host adds
// its own on top.

#include "app/application.h"
#include "app/commands.h"

template <class Host>
class ApplicationWizardHost : public Host {
public:
    explicit ApplicationWizardHost(Application& app) : app_(app) {}

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
    void set_picture_commands_enabled(bool enabled) override { app_.set_picture_commands_enabled(enabled); }
    void set_main_window_enabled(bool enabled) override { app_.desktop().set_main_window_enabled(enabled); }

protected:
    Application& app_;
};
