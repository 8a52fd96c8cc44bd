#include "series/series_measure.h"

#include <cmath>
#include <filesystem>

#include "analysis/glare_command.h"
#include "analysis/glare_summary.h"
#include "analysis/lens_figures.h"
#include "desktop/windowless_desktop.h"
#include "common/json_value.h"
#include "macro/macro_recorder.h"
#include "regions/picture_regions.h"
#include "regions/region_table.h"
#include "common/regular_file.h"
#include "common/text_format.h"
#include "picture/rgbe_reader.h"
#include "series/picture_time.h"
#include "tools/command_path.h"
#include "tools/editing_step.h"
#include "tools/process_runner.h"
#include "tools/working_files.h"

namespace fs = std::filesystem;

namespace {

Failure failed(const SeriesInput& picture, const std::string& why) { return Failure{-1, picture.name + ": " + why}; }

std::string lower_case(std::string text) {
    for (char& c : text) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    return text;
}

// evalglare on the picture (scaled down first when it is larger than
// evalglare is given in the window); its indices or why there are none.
Result<std::array<std::string, 6>> glare_of(const SeriesInput& picture, const SeriesSetup& setup, int width,
                                            int height, int slot) {
    if (!is_command_safe_path(picture.path))
        return failed(picture, "its path holds a blank or a character the shell would read");
    const GlareScale scale = glare_scale(width, height);
    std::string input = picture.path;
    std::error_code ec;
    if (scale.scaled()) {
        input = setup.scratch_folder + strprintf("/series-%d.hdr", slot);
        fs::remove(input, ec);
        const std::string line = glare_downscale_command(scale.factor, picture.path, input);
        const std::string failure =
            editing_step_failure(line, run_shell_command(line, setup.program_folder, nullptr, nullptr), input);
        if (!failure.empty()) {
            fs::remove(input, ec);
            return failed(picture, "pfilt: " + one_line(failure));
        }
    }
    std::string line = "/C evalglare";
    for (const std::string& word : *setup.glare_words) line += " " + word;
    line += " " + input;
    const ProcessOutput output = run_shell_command(line, setup.program_folder, nullptr, nullptr);
    if (scale.scaled()) fs::remove(input, ec);
    if (!output.started) return failed(picture, "evalglare: " + one_line(output.error));
    const auto indices = glare_indices_of(output.text);
    if (!indices || output.exit_status != 0)
        return failed(picture, "evalglare: " + (output.text.empty() ? std::string("printed no result")
                                                                       : one_line(output.text)));
    return *indices;
}

// Every region's mean and weighted mean, as candelux-cli stats --regions
// gives them, and the picture's lens, measured once with them. The regions
// are measured in the worker's own folder, where the picture is linked (not
// copied: the pixels are read once) as the working copy a mask is applied
// to; nothing there writes the working copy, and the link is removed before
// the next picture's is made.
Result<RegionTable> regions_of(const SeriesInput& picture, const SeriesSetup& setup, const LuminanceMap& map,
                               int slot) {
    const auto fit = fit_picture_regions(*setup.regions, setup.regions_file, map.width, map.height);
    if (!fit) return failed(picture, fit.failure().message);
    const std::string folder = setup.scratch_folder + strprintf("/regions-%d", slot);
    const std::string link = folder + working_file::working_copy;
    std::error_code ec;
    fs::create_directories(folder, ec);
    fs::remove(link, ec);
    fs::create_symlink(fs::absolute(picture.path, ec), link, ec);
    if (ec) return failed(picture, "cannot link it into " + folder + ": " + ec.message());

    WindowlessDesktop desktop;
    MacroRecorder recorder;
    ProcessRunner runner(desktop, recorder);
    runner.set_program_folder(setup.program_folder);
    StatisticsContext context{map, folder, runner, desktop, false, false};
    auto table = analyse_region_table(context, fit.value().file, setup.regions_file, RegionTableRequest{});
    fs::remove(link, ec);
    if (!table) {
        const std::string shown = desktop.first_message();
        return failed(picture, table.failure().message + (shown.empty() ? "" : " (" + shown + ")"));
    }
    return table;
}

}  // namespace

std::string series_lux_text(double lux) { return strprintf("%.1f", lux); }

std::optional<std::array<std::string, 6>> glare_indices_of(const std::string& text) {
    if (!has_glare_result(text)) return std::nullopt;
    std::array<std::string, 6> indices;
    size_t found = 0;
    for (const GlareIndexRow& row : glare_index_rows(text)) {
        const std::string name = lower_case(row.name);
        for (size_t i = 0; i < glare_index_names.size(); ++i)
            if (name == glare_index_names[i] && indices[i].empty()) indices[i] = row.value, ++found;
    }
    if (found != indices.size()) return std::nullopt;
    return indices;
}

Result<SeriesRow> measure_series_picture(const SeriesInput& picture, const SeriesSetup& setup, int slot) {
    if (const std::string problem = regular_file_problem(picture.path); !problem.empty())
        return failed(picture, problem);
    const auto header = read_picture_header(picture.path);
    if (!header) return failed(picture, "not a readable Radiance picture (" + one_line(header.failure().message) + ")");

    SeriesRow row;
    row.picture = picture.name;
    const PictureTime time = picture_time(picture.path, header.value());
    row.time = time.iso;
    row.time_source = time.source;
    int width = 0, height = 0;
    {
        // The one read of the pixels: everything but evalglare works on it,
        // and it is let go before evalglare runs.
        const auto map = load_luminance_map(picture.path);
        if (!map) return failed(picture, "not a readable Radiance picture (" + one_line(map.failure().message) + ")");
        if (map.value().empty()) return failed(picture, "the picture has no pixels");
        width = map.value().width;
        height = map.value().height;
        PictureLens lens;
        if (setup.regions) {
            auto table = regions_of(picture, setup, map.value(), slot);
            if (!table) return table.failure();
            for (const RegionRow& region : table.value().rows) {
                const float mean = region.analysis.statistics.mean;
                const LensFigures& through_lens = region.analysis.lens;
                row.regions.push_back(std::isfinite(mean) ? format_shortest(mean) : std::string());
                row.regions.push_back(through_lens.has_view && std::isfinite(through_lens.weighted_mean)
                                          ? json_number(through_lens.weighted_mean)
                                          : std::string());
            }
            lens = std::move(table.value().lens);
        } else {
            lens = picture_lens(map.value(), header.value());
        }
        if (lens.has_view()) row.vertical_illuminance = series_lux_text(lens.vertical_illuminance);
        row.ceiling_pixels = strprintf("%lld", static_cast<long long>(lens.ceiling_pixels));
    }
    if (setup.glare_words) {
        auto indices = glare_of(picture, setup, width, height, slot);
        if (!indices) return indices.failure();
        row.glare = indices.value();
    }
    return row;
}
