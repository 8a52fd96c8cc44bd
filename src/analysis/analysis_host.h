#pragma once
// What the analysis wizard needs from the program around it: the picture and
// the programs for the statistics, the selection tool and the selection on
// the main window, and the menu and window states that change while the user
// draws a region.

#include <string>

#include "analysis/analysis_settings.h"
#include "analysis/compute_statistics.h"
#include "view/region.h"

class Desktop;

class AnalysisHost {
public:
    virtual ~AnalysisHost() = default;

    virtual Desktop& desktop() = 0;
    // The working copy's luminance map, the cache folder, the runner.
    virtual StatisticsContext statistics_context() = 0;

    // The selection tool of the main window; choosing one checks its menu
    // item and clears the selection.
    virtual RegionKind tool() const = 0;
    virtual void select_tool(RegionKind tool) = 0;
    virtual void clear_selection() = 0;
    // Forgets the copies of Region A and Region B kept by the main window.
    virtual void clear_saved_regions() = 0;

    virtual void set_image_menu_items(bool enabled) = 0;
    virtual void set_analyze_enabled(bool enabled) = 0;
    // Open and every command that changes the picture: off while a region is
    // being drawn for the wizard, so the picture it is drawn on stays the one
    // analysed.
    virtual void set_picture_commands_enabled(bool enabled) = 0;
    virtual void set_main_window_enabled(bool enabled) = 0;
    // The picture's name as it was opened, for the reports ("" unknown).
    virtual std::string picture_name() const { return {}; }
    // The overflow sentence's link: the illuminance calibration is wanted
    // once the wizard has closed.
    virtual void request_illuminance_calibration() {}
    // The named regions beside the picture: whether the list has any, and
    // the wish, once the wizard has closed, to analyse them all into the
    // region table with the wizard's statistics.
    virtual bool has_listed_regions() const { return false; }
    virtual void request_listed_regions(const AnalysisSettings&) {}
};

// A region handed back to the wizard, with the tool it was drawn with: it is
// sampled with that tool whatever is chosen afterwards.
struct WizardRegion {
    Region geometry;
    RegionKind tool = RegionKind::rectangle;
};
