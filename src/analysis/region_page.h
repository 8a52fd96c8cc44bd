#pragma once
// The pages that take a region: 109 (the single region), 114 (Region A) and
// 115 (Region B). The region is drawn on the main window while the sheet is
// hidden, and comes back with ENTER; or it is a mask file.

#include <string>

#include "analysis/analysis_host.h"
#include "analysis/analysis_settings.h"
#include "analysis/region_scan.h"
#include "analysis/wizard_sheet.h"
#include "tools/file_requests.h"
#include "tools/pixel_operations.h"

// Positions in the "Selection Tool" list.
enum class ToolChoice : int { circle = 0, polygon = 1, rectangle = 2 };
RegionKind tool_of(ToolChoice choice);

inline constexpr const char* no_region_text = "No Region Selected";
inline constexpr const char* valid_region_text = "Found a Valid Region";
inline constexpr const char* no_file_text = "No File Selected";
inline constexpr const char* whole_picture_text = "Whole Picture";

// The region that covers a width x height picture: a rectangle from its
// top-left corner to one past its bottom-right pixel.
WizardRegion whole_picture_region(int32_t width, int32_t height);

// A chosen file's name as a page shows it.
std::string file_name_of(const std::string& path);

// The mask file the user picks goes into the record (path and type) and its
// name into `label`; false when the dialog was cancelled.
template <class Record>
bool choose_mask_file(Desktop& desktop, Record& record, std::string& label) {
    FileDialogRequest request = mask_file_request();
    request.owner = Owner::dialog;
    const std::optional<FileDialogAnswer> answer = choose_command_file(desktop, request);
    if (!answer) return false;
    record.mask_file = answer->path;
    record.mask_type = answer->filter_index;
    label = file_name_of(answer->path);
    return true;
}

// A region handed back with ENTER, kept with the tool it was drawn with.
// It counts when the sampler samples it as drawn, and then replaces any
// mask file; the status text says which. True when it counts.
template <class Record>
bool take_drawn_region(Record& record, WizardRegion& kept, const Region& region, RegionKind tool,
                       std::string& file_label, std::string& status_text) {
    record.awaiting_region = false;
    kept = {region, tool};
    if (!region_is_sampled(kept.geometry, kept.tool)) {
        status_text = no_region_text;
        return false;
    }
    record.mask_file.clear();
    record.mask_type = 0;
    file_label = no_file_text;
    status_text = valid_region_text;
    return true;
}

class RegionPage {
public:
    // `status_label` is the page's status label id (region_page::...).
    RegionPage(int template_id, int status_label, AnalysisSettings& record, AnalysisHost& host, WizardSheet& sheet);

    int template_id() const { return template_id_; }
    int status_label() const { return status_label_; }

    // --- what the page shows ---
    RegionSource source() const { return record_.source; }
    ToolChoice tool_choice() const { return tool_choice_; }
    const std::string& help_text() const { return help_text_; }
    const std::string& help_tail() const { return help_tail_; }
    const std::string& status_text() const { return status_text_; }
    const std::string& file_label() const { return file_label_; }
    bool tool_list_enabled() const;
    bool selection_controls_enabled() const { return record_.source != RegionSource::from_mask_file; }
    bool mask_controls_enabled() const { return record_.source == RegionSource::from_mask_file; }

    // --- events ---
    void on_first_display();
    void on_activate();
    void on_source(RegionSource source);
    void on_tool_chosen(ToolChoice choice);
    void on_click_to_select();
    void on_browse();
    // "Whole Picture": every pixel of the picture is the region, which no
    // drawn rectangle reaches (its last row and column stay outside).
    void on_whole_picture();

    // --- the region ---
    bool waiting() const { return record_.awaiting_region; }
    // ENTER on the main window handed the selection back.
    void region_selected(const Region& region);
    const WizardRegion& region() const { return region_; }
    void clear_region();
    // A region as drawn, or a mask file, by the source chosen.
    bool has_valid_region() const;

private:
    void show_validity();

    int template_id_;
    int status_label_;
    AnalysisSettings& record_;
    AnalysisHost& host_;
    WizardSheet& sheet_;
    ToolChoice tool_choice_ = ToolChoice::rectangle;
    std::string help_text_;
    std::string help_tail_;
    std::string status_text_ = no_region_text;
    std::string file_label_ = no_file_text;
    WizardRegion region_;
};
