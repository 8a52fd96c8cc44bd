#include "analysis/calibration_region_page.h"

#include "desktop/desktop.h"

CalibrationRegionPage::CalibrationRegionPage(CalibrationSettings& record, CalibrationHost& host, WizardSheet& sheet)
    : record_(record), host_(host), sheet_(sheet) {}

void CalibrationRegionPage::on_first_display() {
    host_.select_tool(RegionKind::rectangle);
    tool_choice_ = ToolChoice::rectangle;
    record_.source = CalibrationSource::from_image;
}

bool CalibrationRegionPage::has_valid_region() const {
    if (record_.source == CalibrationSource::from_mask_file) return !record_.mask_file.empty();
    return region_is_sampled(region_.geometry, region_.tool);
}

void CalibrationRegionPage::show_validity() {
    const bool valid = has_valid_region();
    status_text_ = valid ? valid_region_text : no_region_text;
    sheet_.set_buttons(valid ? wizard_button::back | wizard_button::next : wizard_button::back);
}

void CalibrationRegionPage::on_activate() { show_validity(); }

void CalibrationRegionPage::on_source(CalibrationSource source) {
    record_.source = source;
    show_validity();
}

void CalibrationRegionPage::on_tool_chosen(ToolChoice choice) {
    // The tool is applied when the user goes to draw; the choice clears what
    // was drawn with the previous one.
    tool_choice_ = choice;
    host_.clear_selection();
    region_ = {};
    show_validity();
}

void CalibrationRegionPage::on_click_to_select() {
    host_.select_tool(tool_of(tool_choice_));
    record_.awaiting_region = true;
    host_.set_image_menu_items(false);
    host_.set_picture_commands_enabled(false);
    host_.clear_selection();
    host_.set_main_window_enabled(true);
    sheet_.enable_buttons(0);
    sheet_.set_shown(false);
    sheet_.set_enabled(false);
}

void CalibrationRegionPage::region_selected(const Region& region) {
    if (take_drawn_region(record_, region_, region, host_.tool(), file_label_, status_text_)) {
        sheet_.set_buttons(wizard_button::back | wizard_button::next);
        sheet_.enable_buttons(wizard_button::back | wizard_button::next | wizard_button::cancel);
    } else {
        sheet_.set_buttons(wizard_button::back);
        sheet_.enable_buttons(wizard_button::back | wizard_button::cancel);
    }
    host_.set_main_window_enabled(false);
    sheet_.set_enabled(true);
    host_.set_calibration_enabled(true);
    host_.set_picture_commands_enabled(true);
}

void CalibrationRegionPage::on_browse() {
    if (!choose_mask_file(host_.desktop(), record_, file_label_)) return;
    region_ = {};
    host_.clear_selection();
    show_validity();
}
