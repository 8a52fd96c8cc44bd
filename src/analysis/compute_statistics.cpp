#include "analysis/compute_statistics.h"

#include "analysis/histogram_run.h"
#include "analysis/sample_file.h"
#include "desktop/desktop.h"
#include "picture/rgbe_reader.h"
#include "tools/process_runner.h"
#include "tools/working_files.h"

namespace {

constexpr const char* program_error_caption = "Radiance Process Error!";
constexpr int shown_output_lines = 20;

// The first lines of what the programs printed, for a message box.
std::string first_lines(const std::string& text) {
    size_t at = 0;
    for (int line = 0; line < shown_output_lines; ++line) {
        at = text.find('\n', at);
        if (at == std::string::npos) return text;
        ++at;
    }
    return text.substr(0, at) + "...";
}

}  // namespace

RegionAnalysis compute_region_statistics(StatisticsContext& context, const Region& region, RegionKind tool,
                                         const AnalysisSettings& settings) {
    std::optional<RegionAnalysis> result = region_statistics_or_failure(context, region, tool, settings);
    return result ? std::move(*result) : RegionAnalysis{};
}

std::optional<RegionAnalysis> region_statistics_or_failure(StatisticsContext& context, const Region& region,
                                                           RegionKind tool, const AnalysisSettings& settings) {
    RegionSamples samples = sample_region(context.map, region, tool);
    if (samples.values.empty()) return RegionAnalysis{};

    const float mean = sample_mean(samples.values);
    if (context.mean_only) {
        RegionAnalysis result;
        result.statistics.mean = mean;
        return result;
    }

    std::vector<float> sorted = samples.values;
    sort_samples(sorted);

    const std::string sample_path = context.cache_directory + working_file::samples;
    if (context.histogram && !write_sample_file(sample_path, sorted)) {
        context.desktop.message_box("Failed to initialize header file", "File IO Error!", MessageIcon::warning,
                                    Owner::none);
        return std::nullopt;
    }

    RegionAnalysis result;
    RegionStatistics& statistics = result.statistics;
    statistics.mean = mean;
    sorted_figures(sorted, mean, statistics);
    statistics.criterion_percentage = criterion_percentage(settings, samples.values);
    statistics.percentile_ratio = percentile_ratio(settings, sorted);
    statistics.contrast = 0;
    if (!context.histogram) {
        statistics.samples = std::move(samples.values);
        statistics.positions = std::move(samples.positions);
        return result;
    }

    const std::string command = histogram_command(sample_path, histogram_range(statistics.minimum, statistics.maximum));
    const ProcessOutput output = context.runner.run(command, true);
    context.desktop.close_progress();
    const auto histogram = output.started ? parse_histogram(output.text) : std::nullopt;
    if (!histogram) {
        const std::string text = output.started ? first_lines(output.text) : output.error;
        context.desktop.message_box(text, program_error_caption, MessageIcon::warning, Owner::none);
        return std::nullopt;
    }
    result.histogram = *histogram;
    result.peak = histogram_peak(result.histogram);
    statistics.samples = std::move(samples.values);
    statistics.positions = std::move(samples.positions);
    return result;
}

PictureLens working_copy_lens(const StatisticsContext& context) {
    const auto header = read_picture_header(context.cache_directory + working_file::working_copy);
    return picture_lens(context.map, header.ok() ? header.value() : std::vector<std::string>{});
}
