#include "analysis/region_page.h"

#include "analysis/analysis_ids.h"
#include "desktop/desktop.h"

namespace {

constexpr const char* rectangle_help =
    "With rectangle selection tool, use the left mouse button to specify the first corner and drag in image "
    "display area to point to the opposite corner. Rectangle is drawn when the mouse is released.";
constexpr const char* circle_help =
    "With circle selection tool, use the left mouse button to select the center and drag the mouse in image "
    "display area to specify the radius. Circle is drawn when the mouse key is released.";
constexpr const char* polygon_help =
    "With the polygon selection tool, use the left mouse button to specify the vertices of the polygon. A minimum "
    "of 4 vertices is required to draw a polygon. To automatically close the polygon by drawing a line from the "
    "end point to the start point, use the mouse right-click button.";


}  // namespace

RegionKind tool_of(ToolChoice choice) {
    switch (choice) {
    case ToolChoice::circle: return RegionKind::circle;
    case ToolChoice::polygon: return RegionKind::polygon;
    case ToolChoice::rectangle: return RegionKind::rectangle;
    }
    return RegionKind::rectangle;
}

RegionPage::RegionPage(int template_id, int status_label, AnalysisSettings& record, AnalysisHost& host,
                       WizardSheet& sheet)
    : template_id_(template_id), status_label_(status_label), record_(record), host_(host), sheet_(sheet) {}

bool RegionPage::tool_list_enabled() const {
    // Region A's page keeps its list whatever the source.
    return template_id_ == analysis_pages::region_a || selection_controls_enabled();
}

void RegionPage::on_first_display() {
    host_.select_tool(RegionKind::rectangle);
    tool_choice_ = ToolChoice::rectangle;
    help_text_ = rectangle_help;
    help_tail_.clear();
    record_.source = RegionSource::from_image;
}

bool RegionPage::has_valid_region() const {
    if (record_.source == RegionSource::from_mask_file) return !record_.mask_file.empty();
    return region_is_sampled(region_.geometry, region_.tool);
}

void RegionPage::show_validity() {
    const bool valid = has_valid_region();
    status_text_ = valid ? valid_region_text : no_region_text;
    sheet_.set_buttons(valid ? wizard_button::back | wizard_button::next : wizard_button::back);
}

void RegionPage::on_activate() {
    show_validity();
    // The tool current on the results page is then Region B's.
    if (template_id_ == analysis_pages::region_b && has_valid_region()) host_.select_tool(tool_of(tool_choice_));
}

void RegionPage::on_source(RegionSource source) {
    record_.source = source;
    show_validity();
}

void RegionPage::on_tool_chosen(ToolChoice choice) {
    tool_choice_ = choice;
    help_text_ = choice == ToolChoice::rectangle ? rectangle_help
                 : choice == ToolChoice::circle  ? circle_help
                                                 : polygon_help;
    const bool polygon = choice == ToolChoice::polygon;
    help_tail_ = !polygon ? ""
                 : template_id_ == analysis_pages::single_region ? "use the mouse right-click button"
                                                                  : "use the mouse right-click button.";
    // Region B's page only remembers the tool until the user draws.
    if (template_id_ != analysis_pages::region_b) host_.select_tool(tool_of(choice));
    host_.clear_selection();
    if (template_id_ == analysis_pages::single_region) {
        // The single region is the selection on the main window, which the
        // choice has just cleared.
        clear_region();
        show_validity();
    } else {
        sheet_.changed();
    }
}

void RegionPage::on_click_to_select() {
    record_.awaiting_region = true;
    if (template_id_ == analysis_pages::region_b) host_.select_tool(tool_of(tool_choice_));
    if (template_id_ == analysis_pages::single_region) host_.set_image_menu_items(false);
    else host_.set_analyze_enabled(false);
    host_.set_picture_commands_enabled(false);
    host_.set_main_window_enabled(true);
    sheet_.enable_buttons(0);
    sheet_.set_shown(false);
    sheet_.set_enabled(false);
}

void RegionPage::region_selected(const Region& region) {
    const bool was_shown = sheet_.shown();
    sheet_.set_shown(true);
    if (was_shown) return;
    if (take_drawn_region(record_, region_, region, host_.tool(), file_label_, status_text_))
        sheet_.enable_buttons(wizard_button::back | wizard_button::next | wizard_button::cancel);
    else
        sheet_.enable_buttons(wizard_button::back | wizard_button::cancel);
    host_.set_main_window_enabled(false);
    sheet_.set_enabled(true);
    host_.set_analyze_enabled(true);
    host_.set_picture_commands_enabled(true);
}

void RegionPage::on_browse() {
    if (!choose_mask_file(host_.desktop(), record_, file_label_)) return;
    clear_region();
    if (template_id_ == analysis_pages::single_region) host_.clear_selection();
    show_validity();
}

void RegionPage::on_whole_picture() {
    const StatisticsContext context = host_.statistics_context();
    record_.source = RegionSource::from_image;
    record_.mask_file.clear();
    record_.mask_type = 0;
    file_label_ = no_file_text;
    region_ = whole_picture_region(context.map.width, context.map.height);
    // The single region is otherwise the selection on the main window; what
    // was drawn there is no longer it.
    if (template_id_ == analysis_pages::single_region) host_.clear_selection();
    show_validity();
}

void RegionPage::clear_region() { region_ = {}; }

WizardRegion whole_picture_region(int32_t width, int32_t height) {
    WizardRegion whole;
    whole.geometry.x1 = static_cast<float>(width);
    whole.geometry.y1 = static_cast<float>(height);
    whole.tool = RegionKind::rectangle;
    return whole;
}

std::string file_name_of(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}
