#include "cli/cli_regions.h"

#include "desktop/windowless_desktop.h"
#include "cli/cli_run.h"
#include "macro/macro_recorder.h"
#include "tools/process_runner.h"

Result<PictureRegions> measure_regions_in_run_folder(const std::string& picture, const LuminanceMap& map,
                                                     const RegionFile& file, const std::string& region_file_path,
                                                     const CliPlaces& places, const RegionTableRequest& request) {
    if (!places.cache_problem.empty()) return Failure{exit_bad_input, places.cache_problem};
    const RunFolder folder(places.cache_folder);
    if (!folder.created()) return Failure{exit_failed, folder.error()};
    WindowlessDesktop desktop;
    float no_exposure = 1.0f;
    MacroRecorder recorder(no_exposure);
    ProcessRunner runner(desktop, recorder);
    runner.set_program_folder(places.program_folder);
    auto measured =
        measure_picture_regions(picture, map, file, region_file_path, folder.path(), runner, desktop, request);
    if (measured) return measured;
    const Failure& failure = measured.failure();
    if (failure.code == regions_refused) return Failure{exit_bad_input, failure.message};
    const std::string shown = desktop.first_message();
    return Failure{exit_failed, failure.message + (shown.empty() ? "" : " (" + shown + ")")};
}
