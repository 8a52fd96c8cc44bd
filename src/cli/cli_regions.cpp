#include "cli/cli_regions.h"

#include <filesystem>

#include "cli/cli_desktop.h"
#include "cli/cli_run.h"
#include "macro/macro_recorder.h"
#include "tools/process_runner.h"
#include "tools/working_files.h"

namespace fs = std::filesystem;

Result<PictureRegions> measure_picture_regions(const std::string& picture, const LuminanceMap& map,
                                               const RegionFile& file, const std::string& region_file_path,
                                               const CliPlaces& places, const RegionTableRequest& request) {
    RegionFit fit = fit_region_file(file, map.width, map.height);
    if (!fit.refused.empty()) {
        std::string message;
        for (const std::string& refusal : fit.refused) message += (message.empty() ? "" : "; ") + refusal;
        return Failure{exit_bad_input, message};
    }
    for (const NamedRegion& region : fit.file.regions) {
        if (region.kind != RegionKind::mask) continue;
        const std::string problem =
            region_problem(region_choice(region, region_file_path), region_label(region), map.width, map.height);
        if (!problem.empty()) return Failure{exit_bad_input, region_label(region) + ": " + problem};
    }
    if (!places.cache_problem.empty()) return Failure{exit_bad_input, places.cache_problem};

    const RunFolder folder(places.cache_folder);
    if (!folder.created()) return Failure{exit_failed, folder.error()};
    // The working copy, as in the application: masks are applied to it, and
    // its header gives the view.
    std::error_code ec;
    if (!fs::copy_file(picture, folder.path() + working_file::working_copy, ec))
        return Failure{exit_failed, "could not copy " + picture + " into " + folder.path()};

    CliDesktop desktop;
    float no_exposure = 1.0f;
    MacroRecorder recorder(no_exposure);
    ProcessRunner runner(desktop, recorder);
    runner.set_program_folder(places.program_folder);
    StatisticsContext context{map, folder.path(), runner, desktop, false};
    auto table = analyse_region_table(context, fit.file, region_file_path, request);
    if (!table) {
        const std::string shown = desktop.first_message();
        return Failure{exit_failed, table.failure().message + (shown.empty() ? "" : " (" + shown + ")")};
    }
    return PictureRegions{std::move(table).value(), fit.scaled_message};
}

std::string picture_regions_csv_path(const std::string& picture) {
    const fs::path path(picture);
    return (path.parent_path() / path.stem()).string() + "_regions.csv";
}
