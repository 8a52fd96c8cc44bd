#include "regions/region_table_form.h"

#include <filesystem>

#include "analysis/statistics_reports.h"
#include "desktop/busy_cursor.h"
#include "regions/csv_fields.h"
#include "regions/region_list_form.h"
#include "regions/region_list_host.h"
#include "regions/regions_desktop.h"

namespace fs = std::filesystem;

RegionTableForm::RegionTableForm(RegionsDesktop& desktop, RegionListHost& host, RegionTable table, RegionFile file,
                                 std::string region_file_path)
    : desktop_(desktop),
      host_(host),
      table_(std::move(table)),
      file_(std::move(file)),
      region_file_path_(std::move(region_file_path)),
      histogram_tried_(table_.rows.size(), false) {
    take_cells();
}

void RegionTableForm::take_cells() {
    // The window shows what the CSV holds, field for field.
    std::vector<std::vector<std::string>> records = csv_records(region_table_csv(table_));
    titles_.clear();
    cells_.clear();
    if (records.empty()) return;
    titles_ = std::move(records.front());
    cells_.assign(std::make_move_iterator(records.begin() + 1), std::make_move_iterator(records.end()));
}

bool RegionTableForm::set_weighted(bool weighted) {
    if (weighted == this->weighted()) return true;
    if (weighted && !can_weight()) return false;
    RegionTableRequest request;
    request.settings = table_.settings;
    request.settings.weight_by_solid_angle = weighted;
    StatisticsContext context = host_.statistics_context();
    BusyCursor busy(context.desktop);
    Result<RegionTable> again = analyse_region_table(context, file_, region_file_path_, request);
    if (!again) {
        desktop_.region_message(again.failure().message, MessageIcon::error);
        return false;
    }
    // The histograms count pixels alike whatever the weighting: those made
    // stay.
    RegionTable& table = again.value();
    for (size_t i = 0; i < table.rows.size() && i < table_.rows.size(); ++i) {
        const RegionRow& before = table_.rows[i];
        if (!before.has_histogram) continue;
        table.rows[i].analysis.histogram = before.analysis.histogram;
        table.rows[i].analysis.peak = before.analysis.peak;
        table.rows[i].has_histogram = true;
    }
    table_ = std::move(table);
    take_cells();
    return true;
}

const RegionAnalysis& RegionTableForm::row_with_histogram(size_t row) {
    RegionRow& wanted = table_.rows.at(row);
    if (wanted.has_histogram || histogram_tried_[row]) return wanted.analysis;
    histogram_tried_[row] = true;
    StatisticsContext context = host_.statistics_context();
    BusyCursor busy(context.desktop);
    Result<RegionAnalysis> again = analyse_region_row(context, table_, file_, region_file_path_, row);
    if (again) {
        wanted.analysis = std::move(again.value());
        wanted.has_histogram = true;
    }
    return wanted.analysis;
}

std::string RegionTableForm::suggested_csv_base() const {
    const std::string picture = host_.picture_path();
    if (picture.empty()) return {};
    return (fs::path(picture).parent_path() / fs::path(picture).stem()).string();
}

std::string RegionTableForm::on_save_csv() {
    const std::string chosen = desktop_.choose_table_file(suggested_csv_base());
    if (chosen.empty()) return {};
    const ReportName name = report_name(chosen);
    if (name.base.empty()) return {};
    const std::string path = name.folder + regions_csv_name(name.base);
    std::error_code ec;
    if (fs::exists(fs::symlink_status(path, ec)) &&
        !desktop_.region_question(fs::path(path).filename().string() + " already exists.\nDo you want to replace it?"))
        return {};
    if (!write_region_table_csv(path, table_)) {
        desktop_.region_message("File IO Error!\n" + path, MessageIcon::error);
        return {};
    }
    return path;
}
