#include "analysis/analyse_region.h"

#include "analysis/masked_map.h"

WizardRegion wizard_region(const RegionChoice& choice) {
    if (choice.source == RegionChoice::Source::drawn) return {choice.geometry, choice.tool};
    return {Region{}, RegionKind::mask};
}

RegionAttempt analyse_region(StatisticsContext& context, const PictureLens& lens, const WizardRegion& region,
                             const AnalysisSettings& record, const char* scratch) {
    RegionAttempt attempt;
    std::optional<RegionAnalysis> result;
    if (record.source != RegionSource::from_mask_file) {
        result = region_statistics_or_failure(context, region.geometry, region.tool, record);
    } else {
        const auto map = masked_working_copy(context, record.mask_file, record.mask_type, scratch);
        if (!map) return attempt;
        StatisticsContext masked_context{*map,          context.cache_directory, context.runner, context.desktop,
                                         context.mean_only, context.histogram};
        result = region_statistics_or_failure(masked_context, Region{}, RegionKind::mask, record);
    }
    attempt.program_failed = !result;
    attempt.analysis = result ? std::move(*result) : RegionAnalysis{};
    const RegionStatistics& s = attempt.analysis->statistics;
    attempt.analysis->lens = lens_figures(lens, s.samples, s.positions, context.map.width);
    return attempt;
}
