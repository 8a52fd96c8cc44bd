#include "cli/cli_regions.h"

#include <algorithm>

#include "analysis/analysis_wizard.h"
#include "common/text_format.h"
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

AnalysisSettings figure_settings(const RegionFigureOptions& options) {
    AnalysisSettings settings;
    settings.general_statistics = true;
    settings.weight_by_solid_angle = options.weighted;
    settings.kind = AnalysisKind::single_region;
    if (options.upper_percentile && options.lower_percentile) {
        settings.percentile_enabled = true;
        settings.upper_percentile = static_cast<float>(unsigned_field_value(*options.upper_percentile));
        settings.lower_percentile = static_cast<float>(unsigned_field_value(*options.lower_percentile));
    }
    if (options.criterion_kind) {
        settings.criterion_enabled = true;
        settings.criterion_kind = *options.criterion_kind;
        settings.criterion_threshold = std::max(options.criterion_threshold, 0.0f);
    }
    return settings;
}

std::string figure_option_words(const RegionFigureOptions& options) {
    std::string words;
    if (options.upper_percentile && options.lower_percentile)
        words += strprintf(" --percentile %.0f,%.0f", *options.upper_percentile, *options.lower_percentile);
    if (options.criterion_kind) {
        const char* kind = *options.criterion_kind == CriterionKind::greater_than ? "greater"
                           : *options.criterion_kind == CriterionKind::lesser_than ? "lesser"
                                                                                   : "equal";
        words += strprintf(" --criterion %s,%.0f", kind, options.criterion_threshold);
    }
    if (options.weighted) words += " --weighted";
    return words;
}
