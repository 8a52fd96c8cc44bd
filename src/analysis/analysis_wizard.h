#pragma once
// The analysis wizard: the sheet "Analysis Wizard" with its pages, the three
// records, where each page's Back and Next lead, and the hand-back of a region
// drawn on the main window.
//
// Page 108 chooses the analysis; 109 (one region) leads through 110 (which
// statistics), 111 (percentiles) and 112 (criterion) to the results, 113;
// 114 and 115 (Regions A and B) lead through 116 to 113. "Glare Analysis"
// leads through the glare pages, 130 to 135 (glare_pages.h).
//
// When the region panel's list has regions, page 108 offers "All regions in
// the list" too: it leads straight to 110 (and 111, 112 as chosen), whose
// last page offers Finish, and the region table of every listed region is
// made with those statistics once the sheet has closed.

#include <set>
#include <string>

#include "analysis/analysis_host.h"
#include "analysis/analysis_settings.h"
#include "analysis/glare_pages.h"
#include "analysis/region_page.h"
#include "analysis/results_page.h"
#include "analysis/wizard_sheet.h"
#include "view/region_hand_back.h"

class AnalysisWizard : public WizardController, public AnalysisRegionReceiver {
public:
    AnalysisWizard(AnalysisHost& host, GlareHost& glare);

    WizardSheet& sheet() { return sheet_; }
    const WizardSheet& sheet() const { return sheet_; }
    // Shows the first page.
    void start();

    // The three records.
    AnalysisSettings main;
    AnalysisSettings region_a;
    AnalysisSettings region_b;

    RegionPage& single_page() { return single_page_; }
    RegionPage& a_page() { return a_page_; }
    RegionPage& b_page() { return b_page_; }
    RegionPage* region_page(int template_id);
    ResultsPage& results() { return results_; }
    GlarePages& glare() { return glare_; }

    // --- page 108 ---
    void on_kind_chosen(AnalysisKind kind);
    AnalysisKind chosen_kind() const { return chosen_kind_; }
    // "All regions in the list": offered only while the list has regions.
    bool all_regions_offered() const { return host_.has_listed_regions(); }
    void on_all_regions_chosen();
    bool all_regions_chosen() const { return all_regions_; }
    // --- page 110 (the general box is always checked) ---
    bool percentile_checked = false;
    bool criterion_checked = false;
    // Either box changed: with all regions, the last page offers Finish.
    void on_statistics_boxes_changed();
    // --- page 111: the values the fields hold ---
    void on_upper_percentile(float value);
    void on_lower_percentile(float value);
    // The balloon on the upper field: shown while true; a new request each
    // time the count grows.
    bool balloon_shown() const { return balloon_shown_; }
    int balloon_requests() const { return balloon_requests_; }
    // --- page 112 ---
    void on_criterion_chosen(CriterionKind kind);
    void on_threshold(float value);
    // --- page 116 ---
    bool contrast_checked = false;

    // --- WizardController ---
    void on_activate(int page) override;
    int on_next(int page) override;
    int on_back(int page) override;
    bool on_finish(int page) override;
    void on_cancel(int page) override;

    // --- AnalysisRegionReceiver ---
    bool waiting(int status_label) const override;
    void region_selected(const Region& region, int status_label) override;

private:
    void on_first_display(int page);
    // The settings page that ends the all-regions way, as the boxes stand.
    int last_settings_page(int page) const;
    void set_settings_buttons(int page);
    void clear_regions();
    void close_down();

    AnalysisHost& host_;
    WizardSheet sheet_;
    RegionPage single_page_;
    RegionPage a_page_;
    RegionPage b_page_;
    ResultsPage results_;
    GlarePages glare_;
    std::set<int> displayed_;
    AnalysisKind chosen_kind_ = AnalysisKind::single_region;
    bool all_regions_ = false;
    bool balloon_shown_ = false;
    int balloon_requests_ = 0;
};

// A numeric field's value read as an unsigned integer: the whole part of a
// positive number, 0 for anything else.
uint32_t unsigned_field_value(float value);

// What the percentile page lets through Next: 1 to 100 percent.
bool valid_percentile(float value);
