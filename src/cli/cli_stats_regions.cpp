// stats PICTURE --regions FILE [--json | --csv]: every region of a region
// file, each with the figures a single region's stats run gives it.

#include <filesystem>

#include "cli/cli_commands.h"
#include "cli/cli_regions.h"
#include "cli/statistics_json.h"

namespace fs = std::filesystem;

namespace {

// Where --report BASE puts the table, or why it cannot.
Result<std::string> report_target(const StatsOptions& options) {
    const fs::path base(options.report_base);
    if (base.filename().empty()) return Failure{exit_bad_input, "--report needs a file name, not only a folder"};
    std::error_code ec;
    const fs::path folder = base.parent_path().empty() ? fs::path(".") : base.parent_path();
    if (!fs::is_directory(folder, ec))
        return Failure{exit_bad_input, "the folder " + base.parent_path().string() + " of --report does not exist"};
    const std::string target = regions_csv_name(options.report_base);
    if (const std::string problem = existing_output_problem(target, options.overwrite); !problem.empty())
        return Failure{exit_bad_input, problem};
    return target;
}

void print_table(std::ostream& out, const RegionTable& table) {
    AnalysisSettings shown = table.settings;
    shown.kind = AnalysisKind::single_region;
    shown.result_view = ResultView::single;
    for (size_t i = 0; i < table.rows.size(); ++i) {
        const RegionRow& row = table.rows[i];
        out << (i == 0 ? "" : "\n") << "Region \"" << row.name << "\"\n";
        print_lines(out, result_lines(shown, row.analysis, {}, {}), row.analysis.count());
        print_lens_lines(out, table.lens, row.analysis);
    }
}

}  // namespace

int run_stats_regions(const StatsOptions& options, const AnalysisSettings& settings, const LuminanceMap& map,
                      const CliPlaces& places, const CliOutput& output) {
    auto file = read_region_file(options.regions_file);
    if (!file) return output.fail(exit_bad_input, file.failure().message);
    std::string report;
    if (!options.report_base.empty()) {
        auto target = report_target(options);
        if (!target) return output.fail(target.failure().code, target.failure().message);
        report = target.value();
    }
    if (!places.cache_problem.empty()) return output.fail(exit_bad_input, places.cache_problem);
    if (!places.cache_warning.empty()) output.warn(places.cache_warning);

    // The CSV holds no histogram; the text and the JSON show it, as a
    // single region's run does.
    const RegionTableRequest request{settings, !options.csv};
    auto measured =
        measure_regions_in_run_folder(options.picture, map, file.value(), options.regions_file, places, request);
    if (!measured) return output.fail(measured.failure().code, measured.failure().message);
    const PictureRegions& regions = measured.value();
    if (!regions.scaled_message.empty()) output.warn(regions.scaled_message);

    if (options.json) output.out << region_table_json(regions.table) << '\n';
    else if (options.csv) output.out << region_table_csv(regions.table);
    else print_table(output.out, regions.table);

    if (!report.empty() && !write_region_table_csv(report, regions.table))
        return output.fail(exit_failed, report + ": cannot be written");
    return 0;
}
