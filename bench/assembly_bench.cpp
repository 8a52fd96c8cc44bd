// Assembling an exposure series: 7 JPEG pictures two stops apart, of
// 24 megapixels (6000 x 4000) and, for scale, of 6 megapixels, with the
// response recovered from the series. Counters: the megapixels of output
// per second and the process's peak resident memory against the output's
// own size (a Radiance picture held whole would be 4 bytes a pixel).

#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "assembly/assemble_series.h"
#include "assembly/series_exposures.h"
#include "exif_block.h"
#include "sensor_response.h"
#include "support/test_pictures.h"

namespace fs = std::filesystem;

namespace {

struct BenchFolder {
    fs::path path = fs::temp_directory_path() / "candelux-assembly-bench";
    BenchFolder() { fs::create_directories(path); }
    ~BenchFolder() {
        std::error_code ec;
        fs::remove_all(path, ec);
    }
};

// A room: smooth walls from 0.5 to 300 cd/m², a window band of 3000 and a
// lamp of 100 000 cd/m², with a little texture.
double scene(int x, int y, int width, int height) {
    const double u = static_cast<double>(x) / width, v = static_cast<double>(y) / height;
    double luminance = 0.5 * std::pow(600.0, u * (1 - 0.5 * v)) * (1 + 0.05 * std::sin(x * 0.05) * std::cos(y * 0.07));
    if (v < 0.3 && u > 0.55 && u < 0.85) luminance = 3000 * (1 + 0.1 * v);
    if (std::hypot(u - 0.2, v - 0.2) < 0.02) luminance = 100000;
    return luminance;
}

// One picture of the camera: sRGB, f/8, ISO 100, the meter's K = 12.5.
void write_exposure(const fs::path& path, int width, int height, double seconds) {
    const double gain = 0.18 * 100 / 12.5 * seconds / 64;
    constexpr double tints[3] = {0.9, 1.0, 1.1};
    const std::string exif = sim::exif_block({seconds, 8, 100, "2026:01:01 12:00:00", "Bench", "Bench", "Bench"});
    write_test_jpeg(
        path, width, height,
        [&](int x, int y, int c) {
            const double signal = scene(x, y, width, height) * gain * tints[c];
            return static_cast<int>(std::lround(255 * sim::encode_signal(sim::SensorResponse::srgb, signal)));
        },
        90, exif);
}

void BM_AssembleSevenPictures(benchmark::State& state) {
    const int width = static_cast<int>(state.range(0)), height = width * 2 / 3;
    BenchFolder folder;
    std::vector<std::string> pictures;
    for (int j = 0; j < 7; ++j) {
        const fs::path path = folder.path / ("IMG_" + std::to_string(j) + ".JPG");
        write_exposure(path, width, height, std::exp2(2.0 * j - 10));
        pictures.push_back(path.string());
    }
    auto exposures = read_series_exposures(pictures, std::nullopt);
    if (!exposures) {
        state.SkipWithError(exposures.failure().message.c_str());
        return;
    }
    const std::string output = (folder.path / "out.hdr").string();
    for (auto _ : state) {
        auto report = assemble_series({pictures, exposures.value(), std::nullopt, 12.5}, output);
        if (!report) state.SkipWithError(report.failure().message.c_str());
        fs::remove(output);
    }
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const double megapixels = static_cast<double>(width) * height / 1e6;
    state.counters["MP_per_s"] = benchmark::Counter(megapixels, benchmark::Counter::kIsIterationInvariantRate);
    state.counters["peak_MB"] = static_cast<double>(usage.ru_maxrss) / 1024;
    state.counters["output_MB"] = megapixels * 4;
}

BENCHMARK(BM_AssembleSevenPictures)->Arg(3000)->Arg(6000)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
