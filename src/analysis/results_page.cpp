#include "analysis/results_page.h"

#include <filesystem>

#include "analysis/analyse_region.h"
#include "analysis/region_page.h"
#include "desktop/busy_cursor.h"
#include "desktop/desktop.h"

ResultsPage::ResultsPage(AnalysisHost& host, AnalysisSettings& main, const AnalysisSettings& record_a,
                         const AnalysisSettings& record_b)
    : host_(host), main_(main), record_a_(record_a), record_b_(record_b) {}

void ResultsPage::clear() {
    single_ = {};
    a_ = {};
    b_ = {};
    clear_region(single_region_);
    clear_region(a_region_);
    clear_region(b_region_);
    completed_ = false;
    lens_ = {};
}

bool ResultsPage::analyse(const WizardRegion& region, const AnalysisSettings& record, const char* scratch,
                          RegionAnalysis& slot, Region& reported) {
    StatisticsContext context = host_.statistics_context();
    RegionAttempt attempt = analyse_region(context, lens_, region, record, scratch);
    if (!attempt.analysis) return false;
    if (record.source != RegionSource::from_mask_file) reported = region.geometry;
    else clear_region(reported);
    slot = std::move(*attempt.analysis);
    PlainFigures& plain = &slot == &single_ ? plain_single_ : &slot == &a_ ? plain_a_ : plain_b_;
    plain = plain_of(slot.statistics);
    weigh(slot, record, plain);
    return true;
}

void ResultsPage::weigh(RegionAnalysis& slot, const AnalysisSettings& record, const PlainFigures& plain) const {
    RegionStatistics& s = slot.statistics;
    s.mean = plain.mean;
    s.standard_deviation = plain.standard_deviation;
    s.median = plain.median;
    s.percentile_ratio = plain.percentile_ratio;
    if (main_.weight_by_solid_angle) weight_by_solid_angle(lens_, record, map_width_, s);
}

void ResultsPage::on_weighting(bool weighted) {
    main_.weight_by_solid_angle = weighted;
    if (!completed_) return;
    if (main_.kind == AnalysisKind::multiple_regions) {
        weigh(a_, record_a_, plain_a_);
        weigh(b_, record_b_, plain_b_);
    } else {
        weigh(single_, main_, plain_single_);
    }
}

void ResultsPage::activate(const WizardRegion& single, const WizardRegion& a, const WizardRegion& b) {
    clear();
    BusyCursor busy(host_.desktop());
    {
        // The view and the clipped pixels belong to the picture as it is now:
        // the working copy.
        const StatisticsContext context = host_.statistics_context();
        lens_ = working_copy_lens(context);
        map_width_ = context.map.width;
    }
    if (main_.kind == AnalysisKind::multiple_regions) {
        main_.result_view = ResultView::ratio_ab;
        // The region records ask for no percentile and no criterion.
        completed_ = analyse(a, record_a_, mask_scratch::region_a, a_, a_region_) &&
                     analyse(b, record_b_, mask_scratch::region_b, b_, b_region_);
    } else {
        main_.result_view = ResultView::single;
        completed_ = analyse(single, main_, mask_scratch::single, single_, single_region_);
    }
}

void ResultsPage::on_view(ResultView view) { main_.result_view = view; }

std::vector<LensLine> ResultsPage::lens_lines() const {
    if (!completed_) return {};
    switch (main_.kind == AnalysisKind::multiple_regions ? main_.result_view : ResultView::single) {
    case ResultView::single: return ::lens_lines(lens_, single_.lens);
    case ResultView::region_a: return ::lens_lines(lens_, a_.lens);
    case ResultView::region_b: return ::lens_lines(lens_, b_.lens);
    case ResultView::ratio_ab: break;
    }
    return picture_illuminance_lines(lens_);
}

ReportInput ResultsPage::report_input() const {
    return {main_, {single_region_, single_}, {a_region_, a_}, {b_region_, b_}, &lens_, host_.picture_name()};
}

void ResultsPage::on_save() {
    if (!save_enabled()) return;
    Desktop& desktop = host_.desktop();
    FileDialogRequest request;
    request.kind = FileDialogRequest::Kind::save;
    request.title = save_statistics_title;
    request.filters = {{"Comma Separated Value", "*.csv;"}};
    request.owner = Owner::dialog;
    // The names written are not the name chosen: the question about
    // replacing files is asked below, about the files themselves.
    request.overwrite_prompt = false;
    const FileDialogAnswer answer = desktop.file_dialog(request);
    if (answer.cancelled() || answer.path.empty()) return;

    BusyCursor busy(desktop);
    const ReportName name = report_name(answer.path);
    std::vector<std::string> existing;
    std::error_code ec;
    for (const std::string& path : report_paths(name.folder, name.base))
        if (std::filesystem::exists(path, ec)) existing.push_back(file_name_of(path));
    if (!existing.empty()) {
        std::string question;
        for (const std::string& file : existing) question += file + " already exists.\n";
        question += existing.size() == 1 ? "Do you want to replace it?" : "Do you want to replace them?";
        if (!desktop.ask_yes_no(question, save_statistics_title, Owner::dialog)) return;
    }
    write_statistics_reports(desktop, name.folder, name.base, report_input());
}
