#include "regions/region_list_form.h"

#include <algorithm>
#include <filesystem>

#include "analysis/region_scan.h"
#include "regions/region_list_host.h"
#include "regions/region_table_form.h"
#include "regions/regions_desktop.h"

namespace fs = std::filesystem;

namespace {

bool blank(const std::string& text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return c == ' ' || c == '\t'; });
}

std::string joined(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text += (text.empty() ? "" : "\n") + line;
    return text;
}

}  // namespace

RegionListForm::RegionListForm(RegionsDesktop& desktop, RegionListHost& host) : desktop_(desktop), host_(host) {}

RegionListForm::~RegionListForm() = default;

bool RegionListForm::has_picture() const { return host_.has_picture(); }

void RegionListForm::changed() {
    desktop_.regions_changed();
    host_.repaint();
}

bool RegionListForm::on_add() {
    const Region& selection = host_.selection();
    const RegionKind tool = host_.tool();
    if (!host_.has_picture() || tool == RegionKind::mask || !region_is_sampled(selection, tool)) {
        desktop_.region_message(no_selection_text, MessageIcon::information);
        return false;
    }
    std::vector<NamedRegion>& regions = file_.regions;
    regions.push_back(drawn_named_region(default_region_name(regions), default_region_color(regions.size()),
                                         selection, tool));
    current_ = static_cast<int>(regions.size() - 1);
    changed();
    return true;
}

bool RegionListForm::on_rename(size_t index, const std::string& name) {
    if (!valid(index)) return false;
    if (file_.regions[index].name == name) return true;
    std::string problem;
    if (blank(name)) problem = "A region needs a name.";
    for (const NamedRegion& other : file_.regions)
        if (other.name == name) problem = "The list has a region named \"" + name + "\" already.";
    if (!problem.empty()) {
        desktop_.region_message(problem, MessageIcon::warning);
        desktop_.regions_changed();
        return false;
    }
    file_.regions[index].name = name;
    changed();
    return true;
}

void RegionListForm::on_visible(size_t index, bool visible) {
    if (!valid(index) || file_.regions[index].visible == visible) return;
    file_.regions[index].visible = visible;
    changed();
}

void RegionListForm::on_color(size_t index) {
    if (!valid(index)) return;
    const std::string color = desktop_.choose_region_color(file_.regions[index].color);
    if (!color.empty()) set_color(index, color);
}

void RegionListForm::set_color(size_t index, const std::string& color) {
    if (!valid(index) || !is_region_color(color)) return;
    file_.regions[index].color = color;
    changed();
}

void RegionListForm::on_select(size_t index) {
    if (!valid(index)) return;
    current_ = static_cast<int>(index);
    const NamedRegion& region = file_.regions[index];
    // A mask has no outline to select; the selection it leaves is none.
    if (region.kind == RegionKind::mask) host_.take_selection(Region{}, host_.tool());
    else host_.take_selection(region.geometry, region.kind);
    changed();
}

void RegionListForm::on_move(size_t index, int step) {
    const size_t target = index + static_cast<size_t>(step);
    if (!valid(index) || !valid(target)) return;
    std::swap(file_.regions[index], file_.regions[target]);
    if (current_ == static_cast<int>(index)) current_ = static_cast<int>(target);
    else if (current_ == static_cast<int>(target)) current_ = static_cast<int>(index);
    changed();
}

void RegionListForm::on_delete(size_t index) {
    if (!valid(index)) return;
    file_.regions.erase(file_.regions.begin() + static_cast<std::ptrdiff_t>(index));
    if (current_ == static_cast<int>(index)) current_ = -1;
    else if (current_ > static_cast<int>(index)) --current_;
    changed();
}

std::string RegionListForm::suggested_file() const {
    if (!file_path_.empty()) return file_path_;
    return host_.picture_path().empty() ? std::string() : default_region_file_path(host_.picture_path());
}

void RegionListForm::on_load() {
    if (!host_.has_picture()) return;
    const std::string path = desktop_.choose_region_file(false, suggested_file());
    if (!path.empty()) load(path);
}

void RegionListForm::on_save() {
    if (!host_.has_picture()) return;
    const std::string path = desktop_.choose_region_file(true, suggested_file());
    if (!path.empty()) save(path);
}

bool RegionListForm::load(const std::string& path) {
    Result<RegionFile> read = read_region_file(path);
    if (!read) {
        desktop_.region_message(read.failure().message, MessageIcon::error);
        return false;
    }
    RegionFit fit = fit_region_file(read.value(), host_.picture_width(), host_.picture_height());
    file_ = std::move(fit.file);
    file_path_ = path;
    current_ = -1;
    changed();
    std::vector<std::string> said;
    if (!fit.scaled_message.empty()) said.push_back(fit.scaled_message);
    said.insert(said.end(), fit.refused.begin(), fit.refused.end());
    if (!said.empty())
        desktop_.region_message(joined(said), fit.refused.empty() ? MessageIcon::information : MessageIcon::warning);
    return true;
}

bool RegionListForm::save(const std::string& path) {
    RegionFile written = file_;
    written.width = host_.picture_width();
    written.height = host_.picture_height();
    // A mask is named from the folder of the file that holds it.
    if (!file_path_.empty())
        for (NamedRegion& region : written.regions)
            if (region.kind == RegionKind::mask)
                region.mask_file = stored_mask_name(path, region_mask_path(file_path_, region));
    const Result<bool> result = write_region_file(path, written);
    if (!result) {
        desktop_.region_message(result.failure().message, MessageIcon::error);
        return false;
    }
    file_ = std::move(written);
    file_path_ = path;
    return true;
}

void RegionListForm::on_picture_opened() {
    file_ = {};
    file_path_.clear();
    current_ = -1;
    changed();
    const std::string beside = default_region_file_path(host_.picture_path());
    std::error_code ec;
    if (host_.picture_path().empty() || !fs::is_regular_file(beside, ec)) return;
    if (desktop_.region_question("The picture has a region file beside it:\n" + beside +
                                 "\nLoad its regions into the list?"))
        load(beside);
}

void RegionListForm::on_picture_edited(const PictureEdit& edit) {
    if (file_.regions.empty()) return;
    for (NamedRegion& region : file_.regions) region = edited_region(region, edit);
    changed();
}

void RegionListForm::on_analyze_all() { on_analyze_all(AnalysisSettings{}); }

void RegionListForm::on_analyze_all(const AnalysisSettings& settings) {
    if (!host_.can_analyse()) return;
    if (file_.regions.empty()) {
        desktop_.region_message(no_regions_text, MessageIcon::information);
        return;
    }
    RegionFile current = file_;
    current.width = host_.picture_width();
    current.height = host_.picture_height();
    // An edit since the regions were drawn (a crop, a resize) may have left
    // some outside the picture.
    RegionFit fit = fit_region_file(current, current.width, current.height);
    if (!fit.refused.empty()) desktop_.region_message(joined(fit.refused), MessageIcon::warning);
    if (fit.file.regions.empty()) return;
    const std::string region_file = suggested_file();

    StatisticsContext context = host_.statistics_context();
    RegionTableRequest request;
    request.settings = settings;
    request.settings.general_statistics = true;
    context.desktop.show_progress();
    Result<RegionTable> table = analyse_region_table(context, fit.file, region_file, request);
    context.desktop.close_progress();
    if (!table) {
        desktop_.region_message(table.failure().message, MessageIcon::error);
        return;
    }
    auto form = std::make_unique<RegionTableForm>(desktop_, host_, std::move(table.value()), std::move(fit.file),
                                                  region_file);
    // The earlier window refers to the earlier form: it goes first.
    desktop_.show_region_table(*form);
    table_form_ = std::move(form);
}
