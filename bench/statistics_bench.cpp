// Whole-picture statistics of a 3000 x 3000 photograph-like picture, end to
// end as the results page runs them (scan, sort, figures, the sample file,
// rcalc | histo, the parse), and each stage alone to show where the time goes.
// Every pixel of the picture is above the sample threshold: nine million
// samples. The end-to-end median is printed against the goal at the end;
// the pipeline of the reference programs cannot run here, so the ratio to
// it comes from comparing with an earlier build's figure.

#include <benchmark/benchmark.h>

#include <cmath>
#include <filesystem>
#include <random>

#include "bench_folder.h"
#include "analysis/compute_statistics.h"
#include "bench_ratio.h"
#include "analysis/histogram_run.h"
#include "analysis/region_scan.h"
#include "analysis/sample_file.h"
#include "desktop/desktop.h"
#include "bench_programs.h"
#include "macro/macro_recorder.h"
#include "picture/rgbe_pixel.h"
#include "support/scripted_desktop.h"
#include "tools/process_runner.h"

namespace {

constexpr int size = 3000;

// Smooth gradients with sensor noise, a bright window and a lamp, decoded
// from RGBE as the reader would see them.
const LuminanceMap& picture() {
    static const LuminanceMap map = [] {
        std::mt19937 random(7);
        std::normal_distribution<float> noise(1.0f, 0.02f);
        LuminanceMap m;
        m.width = m.height = size;
        m.data.resize(static_cast<size_t>(size) * size);
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x) {
                const bool window = y < size / 3 && x % 700 < 300;
                const float dx = x - 2200.0f, dy = y - 2100.0f;
                float v = window ? 800.0f + 200.0f * x / size
                                 : 0.2f + 3.0f * std::fabs(std::sin(x * 0.004f) * std::cos(y * 0.003f));
                if (dx * dx + dy * dy < 90000) v = 20000.0f;
                v *= noise(random);
                const RgbePixel p = encode_rgbe(v * 0.9f, v, v * 1.1f);
                m.data[static_cast<size_t>(y) * size + static_cast<size_t>(x)] = rgbe_luminance(p.r, p.g, p.b, p.e, 1.0f);
            }
        return m;
    }();
    return map;
}

std::string cache_folder() {
    static const std::string folder = bench::scratch_folder("candelux-statistics-bench").string();
    return folder;
}

void whole_picture_end_to_end(benchmark::State& state) {
    Programs programs;
    const LuminanceMap& map = picture();
    for (auto _ : state) {
        StatisticsContext context{map, cache_folder(), programs.runner, programs.desktop, false};
        RegionAnalysis result;
        bench::timed("end to end", [&] { result = compute_region_statistics(context, Region{}, RegionKind::rectangle, {}); });
        if (result.count() != size * size) state.SkipWithError(("no statistics: " + programs.desktop.last_message).c_str());
        benchmark::DoNotOptimize(result.peak);
    }
    state.counters["samples"] = static_cast<double>(size) * size;
}

void scan(benchmark::State& state) {
    for (auto _ : state)
        bench::timed("scan", [] { benchmark::DoNotOptimize(sample_region(picture(), Region{}, RegionKind::rectangle)); });
}

void mean_and_sort(benchmark::State& state) {
    const RegionSamples samples = sample_region(picture(), Region{}, RegionKind::rectangle);
    for (auto _ : state) bench::timed("mean, sort, figures", [&] {
        benchmark::DoNotOptimize(sample_mean(samples.values));
        std::vector<float> sorted = samples.values;
        sort_samples(sorted);
        RegionStatistics s;
        sorted_figures(sorted, 1.0f, s);
        benchmark::DoNotOptimize(s.standard_deviation);
    });
}

std::vector<float> sorted_samples() {
    std::vector<float> sorted(picture().data.begin(), picture().data.end());
    sort_samples(sorted);
    return sorted;
}

void sample_file(benchmark::State& state) {
    const std::vector<float> sorted = sorted_samples();
    for (auto _ : state) bench::timed("sample file", [&] { write_sample_file(cache_folder() + "/pvalues", sorted); });
}

void rcalc_histo(benchmark::State& state) {
    const std::vector<float> sorted = sorted_samples();
    write_sample_file(cache_folder() + "/pvalues", sorted);
    const std::string command =
        histogram_command(cache_folder() + "/pvalues", histogram_range(sorted.front(), sorted.back()));
    Programs programs;
    for (auto _ : state) bench::timed("rcalc | histo", [&] {
        const ProcessOutput output = programs.runner.run(command, false);
        if (!parse_histogram(output.text)) state.SkipWithError("no histogram");
    });
}

const bench::GoalLine end_to_end_goal("whole-picture statistics, 9 MP", "end to end", 0.35);

}  // namespace

BENCHMARK(whole_picture_end_to_end)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
BENCHMARK(scan)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
BENCHMARK(mean_and_sort)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
BENCHMARK(sample_file)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
BENCHMARK(rcalc_histo)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
BENCH_RATIO_MAIN()
