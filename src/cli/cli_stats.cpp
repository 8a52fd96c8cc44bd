// stats PICTURE [region] [--percentile U,L] [--criterion K,T] [--region-b region] [--weighted]:
// the analysis wizard's results page without the wizard. The records are
// filled as the wizard's pages fill them, and the results page object itself
// computes, words and saves the figures.

#include <algorithm>
#include <filesystem>

#include "analysis/analyse_region.h"
#include "analysis/analysis_wizard.h"
#include "analysis/lens_lines.h"
#include "analysis/results_page.h"
#include "cli/cli_commands.h"
#include "cli/cli_regions.h"
#include "desktop/windowless_desktop.h"
#include "cli/statistics_json.h"
#include "common/regular_file.h"
#include "common/text_format.h"
#include "macro/macro_recorder.h"
#include "tools/export_steps.h"
#include "tools/command_path.h"
#include "tools/process_runner.h"
#include "tools/working_files.h"

namespace fs = std::filesystem;

namespace {

class CliAnalysisHost final : public AnalysisHost {
public:
    CliAnalysisHost(WindowlessDesktop& desktop, const LuminanceMap& map, std::string folder, ProcessRunner& runner,
                    std::string picture)
        : desktop_(desktop), map_(map), folder_(std::move(folder)), runner_(runner), picture_(std::move(picture)) {}

    Desktop& desktop() override { return desktop_; }
    StatisticsContext statistics_context() override { return {map_, folder_, runner_, desktop_, false}; }
    RegionKind tool() const override { return tool_; }
    void select_tool(RegionKind tool) override { tool_ = tool; }
    void clear_selection() override {}
    void clear_saved_regions() override {}
    void set_image_menu_items(bool) override {}
    void set_analyze_enabled(bool) override {}
    void set_picture_commands_enabled(bool) override {}
    void set_main_window_enabled(bool) override {}
    std::string picture_name() const override { return picture_; }

private:
    WindowlessDesktop& desktop_;
    const LuminanceMap& map_;
    std::string folder_;
    ProcessRunner& runner_;
    RegionKind tool_ = RegionKind::rectangle;
    std::string picture_;
};

// Why the reports cannot be written where --report says, or "".
std::string report_problem(const StatsOptions& options) {
    const ReportName name = report_name(options.report_base);
    if (name.base.empty()) return "--report needs a file name, not only a folder";
    std::error_code ec;
    if (!fs::is_directory(name.folder.empty() ? "." : name.folder, ec))
        return "the folder " + name.folder + " of --report does not exist";
    for (const std::string& path : report_paths(name.folder, name.base))
        if (std::string problem = existing_output_problem(path, options.overwrite); !problem.empty()) return problem;
    return {};
}

void take_source(AnalysisSettings& record, const RegionChoice& choice) {
    record.source =
        choice.source == RegionChoice::Source::mask_file ? RegionSource::from_mask_file : RegionSource::from_image;
    // The mask's name reaches the programs' command lines.
    record.mask_file = not_an_option(choice.mask_file);
    record.mask_type = choice.mask_type;
}

}  // namespace

void print_lines(std::ostream& out, const ResultLines& lines, int count) {
    using namespace results_ids;
    auto text = [&](int id) {
        const auto found = lines.texts.find(id);
        return found == lines.texts.end() ? std::string() : found->second;
    };
    for (const FigureCaption& caption : general_captions) out << caption.text << ' ' << text(caption.value_id) << '\n';
    for (auto [caption, value] : {std::pair{percentile_caption, percentile}, std::pair{contrast_caption, contrast},
                                  std::pair{criterion_caption, criterion}})
        if (!text(caption).empty()) out << text(caption) << ' ' << text(value) << '\n';
    if (lines.axis_labels_shown) out << "Histogram: " << text(axis_minimum) << " to " << text(axis_maximum) << '\n';
    if (count >= 0) out << "Pixels: " << count << '\n';
}

void print_lens_lines(std::ostream& out, const PictureLens& lens, const RegionAnalysis& region) {
    for (const LensLine& line : lens_lines(lens, region.lens)) out << line.caption << ' ' << line.value << '\n';
    const std::string overflow = overflow_sentence(lens);
    if (!overflow.empty()) out << overflow << '\n';
}

int run_stats(const StatsOptions& options, const CliPlaces& places, const CliOutput& output) {
    auto picture = read_picture(options.picture);
    if (!picture) return output.fail(exit_bad_input, picture.failure().message);
    const LuminanceMap& map = picture.value();
    const bool two = options.region_b.has_value();

    AnalysisSettings main, record_a, record_b;
    if (!two) {
        main = figure_settings(options);
        take_source(main, options.region);
        if (main.percentile_enabled &&
            (!valid_percentile(main.upper_percentile) || !valid_percentile(main.lower_percentile)))
            return output.fail(exit_bad_input, "--percentile: each percentage must be from 1 to 100");
    } else {
        main.general_statistics = true;
        main.weight_by_solid_angle = options.weighted;
        main.kind = AnalysisKind::multiple_regions;
        main.percentile_enabled = true;  // the contrast
        take_source(record_a, options.region);
        take_source(record_b, *options.region_b);
    }

    if (!options.regions_file.empty()) return run_stats_regions(options, main, map, places, output);

    for (const std::string& problem :
         {region_problem(options.region, two ? "Region A" : "the region", map.width, map.height),
          two ? region_problem(*options.region_b, "Region B", map.width, map.height) : std::string(),
          options.report_base.empty() ? std::string() : report_problem(options)})
        if (!problem.empty()) return output.fail(exit_bad_input, problem);

    if (!places.cache_problem.empty()) return output.fail(exit_bad_input, places.cache_problem);
    if (!places.cache_warning.empty()) output.warn(places.cache_warning);
    const RunFolder folder(places.cache_folder);
    if (!folder.created()) return output.fail(exit_failed, folder.error());
    {
        // The working copy, as in the application: masks are applied to it,
        // and its header gives the view.
        std::error_code ec;
        if (!fs::copy_file(options.picture, folder.path() + working_file::working_copy, ec))
            return output.fail(exit_failed, "could not copy " + options.picture + " into " + folder.path());
    }

    WindowlessDesktop desktop;
    float no_exposure = 1.0f;
    MacroRecorder recorder(no_exposure);
    ProcessRunner runner(desktop, recorder);
    runner.set_program_folder(places.program_folder);
    CliAnalysisHost host(desktop, map, folder.path(), runner, options.picture);
    ResultsPage results(host, main, record_a, record_b);
    if (two) results.activate({}, wizard_region(options.region), wizard_region(*options.region_b));
    else results.activate(wizard_region(options.region), {}, {});
    if (!desktop.messages.empty() || !results.completed()) return output.fail(exit_failed, desktop.first_message());

    if (options.json) {
        output.out << (two ? two_region_json(results.a(), results.b(),
                                             region_contrast(results.a().statistics.mean, results.b().statistics.mean),
                                             results.lens())
                           : statistics_json(results.single(), &results.lens()))
                   << '\n';
    } else if (!two) {
        print_lines(output.out, results.lines(), results.single().count());
        print_lens_lines(output.out, results.lens(), results.single());
    } else {
        const std::pair<ResultView, const char*> views[] = {
            {ResultView::region_a, "Region A"}, {ResultView::region_b, "Region B"}, {ResultView::ratio_ab, "Ratio A:B"}};
        for (const auto& [view, title] : views) {
            results.on_view(view);
            output.out << (view == ResultView::region_a ? "" : "\n") << title << '\n';
            const RegionAnalysis* shown = view == ResultView::region_a   ? &results.a()
                                          : view == ResultView::region_b ? &results.b()
                                                                         : nullptr;
            print_lines(output.out, results.lines(), shown ? shown->count() : -1);
            if (shown) print_lens_lines(output.out, results.lens(), *shown);
        }
    }

    if (!options.report_base.empty()) {
        // Written in the run's folder and moved into place under a fresh
        // name, so that a symbolic link standing where a report goes is
        // replaced, never written through.
        const ReportName wanted = report_name(options.report_base);
        desktop.file_answers.push_back({1, folder.path() + "/" + wanted.base});
        results.on_save();
        if (!desktop.messages.empty()) return output.fail(exit_failed, desktop.first_message());
        const std::vector<std::string> written = report_paths(folder.path() + "/", wanted.base);
        const std::vector<std::string> targets = report_paths(wanted.folder, wanted.base);
        for (size_t i = 0; i < written.size(); ++i)
            if (copy_exported_file(desktop, written[i], targets[i]) != 0)
                return output.fail(exit_failed, desktop.first_message());
    }
    return 0;
}
