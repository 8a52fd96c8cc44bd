#pragma once
// Page 124 of the calibration wizard: the region whose mean is compared with
// the meter, drawn on the main window while the sheet is hidden and handed
// back with ENTER, or taken from a mask file.
//
// The region keeps the tool it was drawn with. It counts only when the
// sampler would sample it as drawn: a region too small for that would stand
// for the whole picture, which is not what the meter saw.

#include <string>

#include "analysis/analysis_host.h"
#include "analysis/calibration_host.h"
#include "analysis/calibration_settings.h"
#include "analysis/region_page.h"
#include "analysis/wizard_sheet.h"

class CalibrationRegionPage {
public:
    CalibrationRegionPage(CalibrationSettings& record, CalibrationHost& host, WizardSheet& sheet);

    // --- what the page shows ---
    CalibrationSource source() const { return record_.source; }
    ToolChoice tool_choice() const { return tool_choice_; }
    const std::string& status_text() const { return status_text_; }
    const std::string& file_label() const { return file_label_; }
    bool selection_controls_enabled() const { return record_.source == CalibrationSource::from_image; }
    bool mask_controls_enabled() const { return !selection_controls_enabled(); }

    // --- events ---
    void on_first_display();
    void on_activate();
    void on_source(CalibrationSource source);
    void on_tool_chosen(ToolChoice choice);
    void on_click_to_select();
    void on_browse();

    // --- the region ---
    bool waiting() const { return record_.awaiting_region; }
    // ENTER on the main window handed the selection back (the sheet is
    // already shown again).
    void region_selected(const Region& region);
    const WizardRegion& region() const { return region_; }
    // A region as drawn, or a mask file, by the source chosen.
    bool has_valid_region() const;

private:
    void show_validity();

    CalibrationSettings& record_;
    CalibrationHost& host_;
    WizardSheet& sheet_;
    ToolChoice tool_choice_ = ToolChoice::rectangle;
    std::string status_text_ = no_region_text;
    std::string file_label_ = no_file_text;
    WizardRegion region_;
};
