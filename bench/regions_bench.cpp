// Fifty named regions on a 24-megapixel fisheye picture (6000 x 4000):
// the table of every region's figures as the region window, the CSV and
// batch --regions make it (the picture's lens once, then each region's own
// pixels), and the same with every region's histogram, as stats --regions
// --json makes it (the picture programs once per region). The target is the
// table in under 2 s. The work runs on every core; "CPU" counts all of
// them, so on a machine shared with other work the CPU time over the cores
// says more than the wall time.

#include <benchmark/benchmark.h>

#include <cmath>
#include <filesystem>
#include <random>

#include "bench_folder.h"
#include "bench_programs.h"
#include "macro/macro_recorder.h"
#include "picture/rgbe_writer.h"
#include "regions/region_table.h"
#include "support/regions.h"
#include "support/scripted_desktop.h"
#include "tools/process_runner.h"
#include "tools/working_files.h"

namespace {

constexpr int width = 6000;
constexpr int height = 4000;
constexpr int columns = 10;
constexpr int rows = 5;

const LuminanceMap& picture() {
    static const LuminanceMap map = [] {
        std::mt19937 random(11);
        std::normal_distribution<float> noise(1.0f, 0.03f);
        LuminanceMap m;
        m.width = width;
        m.height = height;
        m.data.resize(size_t(width) * height);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                const float v = 50.0f + 400.0f * std::fabs(std::sin(x * 0.002f) * std::cos(y * 0.0015f));
                m.data[size_t(y) * width + size_t(x)] = v * noise(random);
            }
        return m;
    }();
    return map;
}

// The cache folder with a working copy that gives the picture's view: its
// header is all the lens reads.
std::string cache_folder() {
    static const std::string folder = [] {
        const auto path = bench::scratch_folder("candelux-regions-bench");
        RgbePictureHeader header;
        header.lines = {"VIEW= -vta -vh 180 -vv 180"};
        header.resolution = standard_resolution(width, height);
        std::vector<RgbePixel> pixels(size_t(width) * height, encode_rgbe(1, 1, 1));
        write_rgbe_picture(path.string() + working_file::working_copy, header, pixels);
        return path.string();
    }();
    return folder;
}

// A grid of ten by five cells over the whole picture, each holding a
// rectangle, a circle or a polygon nearly as large as the cell.
RegionFile fifty_regions() {
    RegionFile file;
    file.width = width;
    file.height = height;
    const float w = float(width) / columns, h = float(height) / rows;
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < columns; ++c) {
            const float x0 = c * w + 5, y0 = r * h + 5, x1 = (c + 1) * w - 5, y1 = (r + 1) * h - 5;
            const std::string name = "Region " + std::to_string(r * columns + c + 1);
            switch ((r * columns + c) % 3) {
            case 0:
                file.regions.push_back(drawn_named_region(name, "#ff0000", rectangle_region(x0, y0, x1, y1),
                                                          RegionKind::rectangle));
                break;
            case 1:
                file.regions.push_back(drawn_named_region(
                    name, "#00ff00", circle_region((x1 - x0) / 2, (x0 + x1) / 2, (y0 + y1) / 2), RegionKind::circle));
                break;
            default:
                file.regions.push_back(drawn_named_region(
                    name, "#0000ff", polygon_region({{x0, y0}, {x1, y0 + 40}, {x1 - 60, y1}, {x0 + 30, y1 - 20}}),
                    RegionKind::polygon));
                break;
            }
        }
    return file;
}

void table(benchmark::State& state, bool histograms) {
    Programs programs;
    const RegionFile file = fifty_regions();
    const std::string cache = cache_folder();
    size_t samples = 0;
    for (auto _ : state) {
        StatisticsContext context{picture(), cache, programs.runner, programs.desktop, false};
        auto made = analyse_region_table(context, file, cache + "/r.regions.json", {AnalysisSettings{}, histograms});
        if (!made || !made.value().lens.has_view()) {
            state.SkipWithError(("no table: " + programs.desktop.last_message).c_str());
            break;
        }
        samples = 0;
        for (const RegionRow& row : made.value().rows) samples += size_t(row.analysis.count());
        benchmark::DoNotOptimize(made.value().rows.back().analysis.lens.solid_angle);
    }
    state.counters["regions"] = double(file.regions.size());
    state.counters["samples"] = double(samples);
}

void fifty_regions_table(benchmark::State& state) { table(state, false); }
void fifty_regions_with_histograms(benchmark::State& state) { table(state, true); }

// The part every table pays once: the picture's view, illuminance and
// clipped pixels.
void picture_lens_alone(benchmark::State& state) {
    Programs programs;
    for (auto _ : state) {
        StatisticsContext context{picture(), cache_folder(), programs.runner, programs.desktop, false};
        benchmark::DoNotOptimize(working_copy_lens(context).vertical_illuminance);
    }
}

}  // namespace

BENCHMARK(picture_lens_alone)->Unit(benchmark::kMillisecond)->Iterations(3)->MeasureProcessCPUTime();
BENCHMARK(fifty_regions_table)->Unit(benchmark::kMillisecond)->Iterations(3)->MeasureProcessCPUTime();
BENCHMARK(fifty_regions_with_histograms)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK_MAIN();
