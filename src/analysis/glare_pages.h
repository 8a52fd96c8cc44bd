#pragma once
// The glare pages of the analysis wizard, in the order the user meets them:
// 130 (what the analysis does), 138 (entire picture or a task area), 131
// (task position), 132 (field of view), 133 (view, glare_view_page.h), 134
// (advanced options) and 135, which runs evalglare and shows what it printed.
//
// Check boxes and radio buttons reach the record when the user presses Next;
// number fields as they change, except the task position, taken at Next.

#include <string>

#include "analysis/glare_run.h"
#include "analysis/lens_figures.h"
#include "analysis/glare_settings.h"
#include "analysis/glare_view_page.h"
#include "analysis/wizard_sheet.h"

inline constexpr const char* ev_refused_text = "The measured vertical illuminance must be greater than 0 lux";
inline constexpr const char* radius_refused_text = "The search radius must be greater than 0 radians";

class GlarePages {
public:
    GlarePages(GlareHost& host, WizardSheet& sheet);

    GlareSettings record;

    // --- 138 ---
    bool task_area_chosen() const { return task_area_choice_; }
    void on_task_area(bool specify) { task_area_choice_ = specify; }
    // --- 131: the fields' values ---
    void on_task_x(float value) { task_x_field_ = value; }
    void on_task_y(float value) { task_y_field_ = value; }
    void on_task_angle(float radians) { record.task_angle = radians; }
    // --- 132 ---
    bool guth_checked() const { return guth_choice_; }
    FieldOfView field_of_view_choice() const { return field_of_view_choice_; }
    void on_guth(bool checked) { guth_choice_ = checked; }
    void on_field_of_view(FieldOfView choice) { field_of_view_choice_ = choice; }
    // --- 133 ---
    GlareViewPage& view_page() { return view_page_; }
    const GlareViewPage& view_page() const { return view_page_; }
    // --- 134: the check boxes; each enables its field ---
    struct AdvancedChoice {
        bool smoothing = false;
        bool external_ev = false;
        bool search_radius = false;
        bool peak_extraction = false;
        bool glare_threshold = false;
    };
    AdvancedChoice advanced;
    void on_ev(float lux) { record.ev = lux; }
    void on_radius(float radians) { record.radius = radians; }
    void on_peak_threshold(float value) { record.peak_threshold = value; }
    void on_threshold(float value) { record.threshold = value; }
    // --- 135 ---
    const std::string& command_line() const { return run_.command_line; }
    const std::string& result_text() const { return run_.result_text; }
    // The table under evalglare's text, and the sentence about clipped pixels.
    std::vector<GlareIndexRow> summary_rows() const { return glare_summary_rows(run_.result_text, run_.details); }
    std::string overflow() const { return overflow_sentence(run_.ceiling_pixels, run_.ceiling_share_percent); }
    void on_calibration_link() { host_.request_illuminance_calibration(); }
    int runs() const { return runs_; }

    // --- the sheet's events for a glare page ---
    static bool is_glare_page(int page);
    void on_first_display(int page);
    void on_activate(int page);
    int on_next(int page);
    int on_back(int page);

private:
    void show_results();

    GlareHost& host_;
    WizardSheet& sheet_;
    GlareViewPage view_page_;
    bool task_area_choice_ = false;
    float task_x_field_ = 0;
    float task_y_field_ = 0;
    bool guth_choice_ = false;
    FieldOfView field_of_view_choice_ = FieldOfView::total;
    GlareRun run_;
    int runs_ = 0;
};
