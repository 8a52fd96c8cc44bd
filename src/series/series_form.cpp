#include "series/series_form.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "common/file_extension.h"
#include "common/regular_file.h"
#include "common/text_file.h"

namespace fs = std::filesystem;

namespace {

// Plot pictures saved from the window are this wide (and as high as the
// layout wants), whatever the window's size.
constexpr int saved_plot_width = 1200;

bool write_whole_file(const std::string& path, const std::string& text) {
    std::FILE* file = create_regular_file(path);
    if (!file) return false;
    const bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
    return std::fclose(file) == 0 && written;
}

}  // namespace

SeriesForm::SeriesForm(SeriesDesktop& desktop, OpenPicture open_picture, std::string working_folder,
                       std::string program_folder)
    : desktop_(desktop),
      open_picture_(std::move(open_picture)),
      working_folder_(std::move(working_folder)),
      program_folder_(std::move(program_folder)) {}

bool SeriesForm::on_choose_folder() {
    std::string chosen = desktop_.choose_series_folder();
    if (chosen.empty()) return false;
    folder = std::move(chosen);
    return true;
}

bool SeriesForm::on_choose_regions() {
    std::string chosen = desktop_.choose_regions_file();
    if (chosen.empty()) return false;
    regions = std::move(chosen);
    return true;
}

std::optional<std::vector<SeriesInput>> SeriesForm::folder_pictures() {
    if (folder.empty()) {
        desktop_.series_message("Choose a folder of pictures first.", MessageIcon::warning);
        return std::nullopt;
    }
    auto pictures = series_pictures_of_folder(folder);
    if (!pictures) {
        desktop_.series_message("Cannot list the pictures: " + pictures.failure().message, MessageIcon::warning);
        return std::nullopt;
    }
    return std::move(pictures.value());
}

Result<SeriesOptions> SeriesForm::run_options(std::vector<SeriesInput> pictures, bool add) {
    SeriesOptions options;
    options.pictures = std::move(pictures);
    options.csv = working_csv();
    options.existing = add ? ExistingCsv::resume : ExistingCsv::overwrite;
    if (glare) {
        auto words = glare_option_words(glare_options);
        if (!words) {
            desktop_.series_message("The glare options cannot be used: " + words.failure().message,
                                    MessageIcon::warning);
            return words.failure();
        }
        options.glare_options = glare_options;
    }
    std::error_code ec;
    if (!regions.empty() && !fs::is_regular_file(regions, ec)) {
        Failure failure{-2, "The regions file cannot be found:\n" + regions};
        desktop_.series_message(failure.message, MessageIcon::warning);
        return failure;
    }
    options.regions_file = regions;
    options.program_folder = program_folder_;
    // The window makes the run's own scratch folder in it.
    options.scratch_folder = working_folder_;
    options.jobs = std::max(1, jobs);
    return options;
}

std::string SeriesForm::working_csv() const { return (fs::path(working_folder_) / "series.csv").string(); }

bool SeriesForm::reload_table() {
    auto read = read_series_csv(working_csv());
    if (!read) return false;
    table = std::move(read.value());
    return true;
}

std::vector<std::string> SeriesForm::available_figures() const {
    std::vector<std::string> names{"ev"};
    for (const char* index : glare_index_names) names.emplace_back(index);
    names.emplace_back("ceiling");
    for (const std::string& region : table.region_names) {
        names.push_back(region + "_mean");
        names.push_back(region + "_weighted_mean");
    }
    return names;
}

Result<PlotLayout> SeriesForm::plot(int width, int height) const {
    return series_plot_layout(table.rows, table.region_names, figures, width, height);
}

std::string SeriesForm::picture_path(size_t row) const {
    if (row >= table.rows.size()) return "";
    const fs::path picture = table.rows[row].picture;
    return picture.is_absolute() || folder.empty() ? picture.string() : (fs::path(folder) / picture).string();
}

bool SeriesForm::on_save_csv() {
    std::error_code ec;
    if (table.rows.empty() || !fs::is_regular_file(working_csv(), ec)) {
        desktop_.series_message("There is no series to save yet.", MessageIcon::information);
        return false;
    }
    const std::string path = desktop_.choose_series_csv("series.csv");
    if (path.empty()) return false;
    if (fs::weakly_canonical(path, ec) == fs::weakly_canonical(working_csv(), ec)) return true;
    // Written beside the target and renamed over it: an earlier file stays
    // whole until the new one is.
    const std::string partial = path + ".partial";
    const auto bytes = read_file_bytes(working_csv());
    if (bytes && write_whole_file(partial, *bytes)) fs::rename(partial, path, ec);
    if (!bytes || ec || !fs::exists(path, ec)) {
        fs::remove(partial, ec);
        desktop_.series_message("File IO Error!\n" + path, MessageIcon::error);
        return false;
    }
    return true;
}

bool SeriesForm::on_save_plot(const PngWriter& write_png) {
    auto layout = plot(saved_plot_width, 0);
    if (!layout || table.rows.empty()) {
        desktop_.series_message("There is no plot to save yet.", MessageIcon::information);
        return false;
    }
    const FileDialogAnswer answer = desktop_.choose_series_plot("series.png");
    if (answer.cancelled()) return false;
    // A name that says its kind wins over the filter chosen.
    bool svg = answer.filter_index == static_cast<int>(PlotFileKind::svg);
    if (has_extension(answer.path, ".svg")) svg = true;
    if (has_extension(answer.path, ".png")) svg = false;
    const bool written = svg ? write_whole_file(answer.path, plot_svg(layout.value()))
                             : write_png(layout.value(), answer.path);
    if (!written) {
        desktop_.series_message("File IO Error!\n" + answer.path, MessageIcon::error);
        return false;
    }
    return true;
}

void SeriesForm::open_picture(size_t row) const {
    const std::string path = picture_path(row);
    if (open_picture_ && !path.empty()) open_picture_(path);
}
