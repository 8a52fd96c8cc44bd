#include "analysis/analysis_wizard.h"

#include <cmath>

#include "analysis/analysis_ids.h"
#include "analysis/glare_ids.h"

namespace {

constexpr const char* multiple_title = "Analysis of a Multiple Regions of Interest";
constexpr const char* single_title = "Analysis of a Single Region of Interest";

std::vector<WizardPage> analysis_wizard_pages() {
    using namespace analysis_pages;
    return {
        {type, "Luminance Distribution Analysis Wizard"},
        {single_region, single_title},
        {statistics, single_title},
        {percentiles, single_title},
        {criterion, single_title},
        {results, "Statistical Results"},
        {region_a, multiple_title},
        {region_b, multiple_title},
        {two_region_statistics, multiple_title},
        {glare_page::intro, "Glare Analysis through Evalglare"},
        {glare_page::task_area, "Task Area Specification"},
        {glare_page::task_position, "Task Position"},
        {glare_page::field_of_view, "Field of View"},
        {glare_page::view_types, "View Types"},
        {glare_page::advanced, "Advanced Options"},
        {glare_page::results, "Glare Analysis Results"},
    };
}

}  // namespace

bool valid_percentile(float value) { return value >= 1.0f && value <= 100.0f; }

uint32_t unsigned_field_value(float value) {
    if (!(value > 0)) return 0;
    if (value >= 4294967295.0f) return 4294967295u;
    return static_cast<uint32_t>(value);
}

AnalysisWizard::AnalysisWizard(AnalysisHost& host, GlareHost& glare)
    : host_(host),
      sheet_("Analysis Wizard", analysis_wizard_pages()),
      single_page_(analysis_pages::single_region, region_page::single, main, host, sheet_),
      a_page_(analysis_pages::region_a, region_page::region_a, region_a, host, sheet_),
      b_page_(analysis_pages::region_b, region_page::region_b, region_b, host, sheet_),
      results_(host, main, region_a, region_b),
      glare_(glare, sheet_) {}

void AnalysisWizard::start() { sheet_.start(*this); }

RegionPage* AnalysisWizard::region_page(int template_id) {
    switch (template_id) {
    case analysis_pages::single_region: return &single_page_;
    case analysis_pages::region_a: return &a_page_;
    case analysis_pages::region_b: return &b_page_;
    default: return nullptr;
    }
}

void AnalysisWizard::clear_regions() {
    single_page_.clear_region();
    a_page_.clear_region();
    b_page_.clear_region();
    host_.clear_selection();
    host_.clear_saved_regions();
}

void AnalysisWizard::on_first_display(int page) {
    namespace pages = analysis_pages;
    switch (page) {
    case pages::type: main.kind = chosen_kind_ = AnalysisKind::single_region; break;
    case pages::single_region:
    case pages::region_a:
    case pages::region_b: region_page(page)->on_first_display(); break;
    case pages::percentiles:
        main.upper_percentile = 10;
        main.lower_percentile = 10;
        break;
    case pages::criterion:
        main.criterion_kind = CriterionKind::lesser_than;
        main.criterion_threshold = 2000;
        break;
    default:
        if (GlarePages::is_glare_page(page)) glare_.on_first_display(page);
        break;
    }
}

void AnalysisWizard::on_activate(int page) {
    namespace pages = analysis_pages;
    if (displayed_.insert(page).second) on_first_display(page);
    switch (page) {
    case pages::statistics:
    case pages::percentiles:
    case pages::criterion: set_settings_buttons(page); break;
    case pages::type:
        // Back to the start: the analysis starts over.
        clear_regions();
        sheet_.set_buttons(wizard_button::next);
        break;
    case pages::single_region:
    case pages::region_a:
    case pages::region_b: region_page(page)->on_activate(); break;
    case pages::results:
        results_.activate(single_page_.region(), a_page_.region(), b_page_.region());
        // Finish must be offered for the results to be released.
        sheet_.set_buttons(wizard_button::back | wizard_button::finish);
        break;
    default:
        if (GlarePages::is_glare_page(page)) glare_.on_activate(page);
        else sheet_.set_buttons(wizard_button::back | wizard_button::next);
        break;
    }
}

int AnalysisWizard::on_next(int page) {
    namespace pages = analysis_pages;
    switch (page) {
    case pages::type:
        if (all_regions_) return pages::statistics;
        switch (main.kind) {
        case AnalysisKind::single_region: return pages::single_region;
        case AnalysisKind::multiple_regions: return pages::region_a;
        case AnalysisKind::glare: return pages::glare_first;
        default: return stay_on_page;
        }
    case pages::single_region: return pages::statistics;
    case pages::region_a: return pages::region_b;
    case pages::region_b: return pages::two_region_statistics;
    case pages::statistics:
        main.general_statistics = true;
        main.percentile_enabled = percentile_checked;
        main.criterion_enabled = criterion_checked;
        return percentile_checked ? pages::percentiles : criterion_checked ? pages::criterion : pages::results;
    case pages::percentiles:
        if (!valid_percentile(main.upper_percentile) || !valid_percentile(main.lower_percentile)) {
            balloon_shown_ = true;
            ++balloon_requests_;
            sheet_.changed();
            return stay_on_page;
        }
        balloon_shown_ = false;
        return main.criterion_enabled ? pages::criterion : pages::results;
    case pages::criterion: return pages::results;
    case pages::two_region_statistics:
        main.general_statistics = true;
        main.percentile_enabled = contrast_checked;
        return pages::results;
    default: return glare_.on_next(page);
    }
}

int AnalysisWizard::on_back(int page) {
    namespace pages = analysis_pages;
    switch (page) {
    case pages::single_region:
    case pages::region_a:
    case pages::results: return pages::type;
    case pages::region_b: return pages::region_a;
    case pages::statistics: return all_regions_ ? pages::type : pages::single_region;
    case pages::percentiles:
        balloon_shown_ = false;
        return pages::statistics;
    case pages::criterion: return pages::statistics;
    case pages::two_region_statistics: return pages::region_b;
    default: return glare_.on_back(page);
    }
}

void AnalysisWizard::close_down() {
    results_.clear();
    clear_regions();
    balloon_shown_ = false;
    // A sheet closed while a page waited for a region gives the commands back.
    for (AnalysisSettings* record : {&main, &region_a, &region_b}) {
        if (!record->awaiting_region) continue;
        record->awaiting_region = false;
        host_.set_analyze_enabled(true);
        host_.set_picture_commands_enabled(true);
    }
    host_.set_main_window_enabled(true);
}

bool AnalysisWizard::on_finish(int page) {
    if (all_regions_ && page != analysis_pages::results) {
        // The page's Next takes its fields (and refuses bad percentiles);
        // the table takes the place of the results page.
        if (on_next(page) != analysis_pages::results) return false;
        host_.request_listed_regions(main);
    }
    close_down();
    return true;
}

void AnalysisWizard::on_all_regions_chosen() {
    if (!all_regions_offered()) return;
    main.kind = chosen_kind_ = AnalysisKind::single_region;
    all_regions_ = true;
}

void AnalysisWizard::on_statistics_boxes_changed() {
    if (sheet_.current_page() == analysis_pages::statistics) set_settings_buttons(analysis_pages::statistics);
}

int AnalysisWizard::last_settings_page(int page) const {
    namespace pages = analysis_pages;
    // Page 110's boxes count once its Next has taken them; on it, as they stand.
    if (page == pages::statistics)
        return criterion_checked ? pages::criterion : percentile_checked ? pages::percentiles : pages::statistics;
    return main.criterion_enabled ? pages::criterion
           : main.percentile_enabled ? pages::percentiles
                                     : pages::statistics;
}

void AnalysisWizard::set_settings_buttons(int page) {
    const bool last = all_regions_ && page == last_settings_page(page);
    sheet_.set_buttons(wizard_button::back | (last ? wizard_button::finish : wizard_button::next));
}

void AnalysisWizard::on_cancel(int) { close_down(); }

void AnalysisWizard::on_kind_chosen(AnalysisKind kind) {
    main.kind = chosen_kind_ = kind;
    all_regions_ = false;
}

void AnalysisWizard::on_upper_percentile(float value) {
    main.upper_percentile = static_cast<float>(unsigned_field_value(value));
}

void AnalysisWizard::on_lower_percentile(float value) {
    main.lower_percentile = static_cast<float>(unsigned_field_value(value));
}

void AnalysisWizard::on_criterion_chosen(CriterionKind kind) { main.criterion_kind = kind; }

void AnalysisWizard::on_threshold(float value) { main.criterion_threshold = value > 0 ? value : 0.0f; }

bool AnalysisWizard::waiting(int status_label) const {
    switch (status_label) {
    case region_page::single: return main.awaiting_region;
    case region_page::region_a: return region_a.awaiting_region;
    case region_page::region_b: return region_b.awaiting_region;
    default: return false;
    }
}

void AnalysisWizard::region_selected(const Region& region, int status_label) {
    for (RegionPage* page : {&single_page_, &a_page_, &b_page_})
        if (page->status_label() == status_label) page->region_selected(region);
}
