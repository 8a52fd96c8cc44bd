#pragma once
// What the calibration wizard needs from the program around it: the picture
// and the programs for the mean, the selection tool and the selection on the
// main window, the menu and window states that change while the user draws a
// region, and the editing step that scales the working copy.

#include <string>

#include "analysis/compute_statistics.h"
#include "view/region.h"

class Desktop;

class CalibrationHost {
public:
    virtual ~CalibrationHost() = default;

    virtual Desktop& desktop() = 0;
    // The working copy's luminance map, the cache folder, the runner.
    virtual StatisticsContext statistics_context() = 0;

    // The selection tool of the main window; choosing one checks its menu
    // item and clears the selection.
    virtual RegionKind tool() const = 0;
    virtual void select_tool(RegionKind tool) = 0;
    virtual void clear_selection() = 0;

    virtual void set_image_menu_items(bool enabled) = 0;
    virtual void set_calibration_enabled(bool enabled) = 0;
    // Open and every command that changes the picture: off while a region is
    // being drawn, so the picture it is drawn on stays the one calibrated.
    virtual void set_picture_commands_enabled(bool enabled) = 0;
    virtual void set_main_window_enabled(bool enabled) = 0;

    // Runs one editing step on the working copy: 0, or -1 after the failure
    // was shown (the working copy is then unchanged).
    virtual int run_editing_step(const std::string& command_line) = 0;
    // Shows the working copy again after it changed.
    virtual void reload_working_copy() = 0;
};
