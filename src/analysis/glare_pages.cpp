#include "analysis/glare_pages.h"

#include "analysis/analysis_ids.h"
#include "analysis/analysis_wizard.h"
#include "analysis/glare_ids.h"
#include "desktop/busy_cursor.h"
#include "desktop/desktop.h"

GlarePages::GlarePages(GlareHost& host, WizardSheet& sheet)
    : host_(host), sheet_(sheet), view_page_(record, host.desktop(), sheet) {}

bool GlarePages::is_glare_page(int page) {
    namespace ids = glare_page;
    for (int glare : {ids::intro, ids::task_area, ids::task_position, ids::field_of_view, ids::view_types,
                      ids::advanced, ids::results})
        if (page == glare) return true;
    return false;
}

void GlarePages::on_first_display(int page) {
    switch (page) {
    case glare_page::task_area: task_area_choice_ = false; break;
    case glare_page::task_position:
        record.task_x = record.task_y = 0;
        record.task_angle = 0;
        task_x_field_ = task_y_field_ = 0;
        break;
    case glare_page::field_of_view:
        guth_choice_ = false;
        field_of_view_choice_ = FieldOfView::total;
        record.guth_cut = 0;
        record.field_of_view = FieldOfView::total;
        break;
    case glare_page::view_types: view_page_.on_first_display(); break;
    case glare_page::advanced:
        advanced = {};
        record.ev = record.radius = record.peak_threshold = record.threshold = 0;
        break;
    case glare_page::results: run_ = {}; break;
    default: break;
    }
}

void GlarePages::on_activate(int page) {
    switch (page) {
    case glare_page::view_types: view_page_.on_activate(); break;
    case glare_page::results: show_results(); break;
    default: sheet_.set_buttons(wizard_button::back | wizard_button::next); break;
    }
}

void GlarePages::show_results() {
    // Runs once for each arrival from the options page: the sheet activates
    // a page only when the user moves to it.
    {
        BusyCursor busy(host_.desktop());
        ++runs_;
        run_ = run_glare_analysis(host_, record);
        if (run_.status >= 0) host_.show_check_picture();
        host_.desktop().close_progress();
    }
    sheet_.set_buttons(wizard_button::back | wizard_button::finish);
}

int GlarePages::on_next(int page) {
    Desktop& desktop = host_.desktop();
    switch (page) {
    case glare_page::intro: return glare_page::task_area;
    case glare_page::task_area:
        record.task_area = task_area_choice_;
        return task_area_choice_ ? glare_page::task_position : glare_page::field_of_view;
    case glare_page::task_position:
        record.task_x = static_cast<int32_t>(unsigned_field_value(task_x_field_));
        record.task_y = static_cast<int32_t>(unsigned_field_value(task_y_field_));
        return glare_page::field_of_view;
    case glare_page::field_of_view:
        record.guth_cut = guth_choice_ ? 1 : 0;
        record.field_of_view = field_of_view_choice_;
        return glare_page::view_types;
    case glare_page::view_types: return view_page_.on_next() ? glare_page::advanced : stay_on_page;
    case glare_page::advanced:
        // A value of 0 would ask evalglare for nothing it can use.
        if (advanced.external_ev && !(record.ev > 0)) {
            desktop.message_box(ev_refused_text, "Input Error", MessageIcon::warning, Owner::dialog);
            return stay_on_page;
        }
        if (advanced.search_radius && !(record.radius > 0)) {
            desktop.message_box(radius_refused_text, "Input Error", MessageIcon::warning, Owner::dialog);
            return stay_on_page;
        }
        record.smoothing = advanced.smoothing;
        record.external_ev = advanced.external_ev;
        record.search_radius = advanced.search_radius;
        record.peak_extraction = advanced.peak_extraction;
        record.glare_threshold = advanced.glare_threshold;
        return glare_page::results;
    default: return stay_on_page;
    }
}

int GlarePages::on_back(int page) {
    switch (page) {
    case glare_page::intro:
    case glare_page::task_area: return analysis_pages::type;
    case glare_page::task_position: return glare_page::intro;
    case glare_page::field_of_view: return glare_page::task_position;
    case glare_page::view_types: return glare_page::field_of_view;
    case glare_page::advanced: return glare_page::view_types;
    case glare_page::results: return glare_page::advanced;
    default: return stay_on_page;
    }
}
