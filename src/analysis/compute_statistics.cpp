#include "analysis/compute_statistics.h"

#include <thread>

#include "analysis/histogram_run.h"
#include "analysis/sample_file.h"
#include "common/huge_pages.h"
#include "common/parallel_bands.h"
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

    if (context.mean_only) {
        RegionAnalysis result;
        result.statistics.mean = sample_mean(samples.values);
        return result;
    }

    // The mean (a sum in order, for the same rounding every time) is taken
    // while the samples are sorted.
    float mean = 0;
    std::vector<float> sorted;
    run_side_by_side(
        [&] {
            sorted.reserve(samples.values.size());
            advise_huge_pages(sorted.data(), samples.values.size() * sizeof(float));
            sorted.assign(samples.values.begin(), samples.values.end());
            sort_samples(sorted);
        },
        [&] { mean = sample_mean(samples.values); });

    const std::string sample_path = context.cache_directory + working_file::samples;
    if (context.histogram && !write_sample_file(sample_path, sorted)) {
        context.desktop.message_box("Failed to initialize header file", "File IO Error!", MessageIcon::warning,
                                    Owner::none);
        return std::nullopt;
    }

    RegionAnalysis result;
    RegionStatistics& statistics = result.statistics;
    statistics.mean = mean;
    auto work_out_figures = [&] {
        sorted_figures(sorted, mean, statistics);
        statistics.criterion_percentage = criterion_percentage(settings, samples.values);
        statistics.percentile_ratio = percentile_ratio(settings, sorted);
        statistics.contrast = 0;
    };
    if (!context.histogram) {
        work_out_figures();
        statistics.samples = std::move(samples.values);
        statistics.positions = std::move(samples.positions);
        return result;
    }

    // The figures from the sorted samples are worked out while rcalc and
    // histo make the histogram.
    std::jthread figures(work_out_figures);
    const std::string command = histogram_command(sample_path, histogram_range(sorted.front(), sorted.back()));
    const ProcessOutput output = context.runner.run(command, true);
    figures.join();
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
