// evalglare on an 800 x 800 angular fisheye picture (the size the
// application scales glare pictures down to), run through /bin/sh as the
// application runs it. Wall-clock time per run; "reference_s" is what the
// reference evalglare 2.10 needs for a picture of this size (0 where not
// measured).

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "bench_folder.h"
#include "picture/rgbe_pixel.h"
#include "picture/rgbe_writer.h"

namespace {

constexpr int size = 800;

const std::filesystem::path& folder() {
    static const std::filesystem::path path = bench::scratch_folder("candelux-evalglare-bench");
    return path;
}

// An office seen through a fisheye: walls with noise, a window with blinds
// whose slats hover around the glare threshold (many ragged sources to link),
// a sun behind them, black outside the image circle.
const std::string& picture() {
    static const std::string path = [] {
        std::mt19937 random(11);
        std::normal_distribution<float> noise(1.0f, 0.15f);
        std::vector<RgbePixel> pixels(size_t(size) * size);
        for (int row = 0; row < size; ++row)
            for (int x = 0; x < size; ++x) {
                const float dx = (x + 0.5f) / size - 0.5f, dy = (row + 0.5f) / size - 0.5f;
                float l = 0;
                if (dx * dx + dy * dy < 0.25f) {
                    const bool window = dx < -0.05f && dy < 0.1f && dy > -0.35f;
                    l = window ? (row % 12 < 7 ? 4000.0f : 1200.0f) : 150.0f + 400.0f * (0.5f - dy);
                    l *= noise(random);
                    if ((dx + 0.25f) * (dx + 0.25f) + (dy + 0.2f) * (dy + 0.2f) < 0.0001f) l = 2e6f;
                }
                const float v = l / 179.0f;
                pixels[size_t(row) * size + size_t(x)] = encode_rgbe(v, v, v);
            }
        RgbePictureHeader header;
        header.lines = {"VIEW= -vta -vh 180 -vv 180"};
        header.resolution = standard_resolution(size, size);
        const std::string file = (folder() / "fisheye.hdr").string();
        write_rgbe_picture(file, header, pixels);
        return file;
    }();
    return path;
}

void run(benchmark::State& state, const std::string& options, double reference) {
    const std::string command = std::string(CANDELUX_PROGRAMS_DIR) + "/evalglare -c " +
                                (folder() / "check.hdr").string() + " " + options + " " + picture() + " > /dev/null";
    for (auto _ : state)
        if (std::system(command.c_str()) != 0) state.SkipWithError(("failed: " + command).c_str());
    state.counters["reference_s"] = reference;
}

// What the application sends with every page left at its defaults.
void evalglare_defaults(benchmark::State& s) { run(s, "-x", 2.0); }
void evalglare_peaks(benchmark::State& s) { run(s, "-y", 0); }
void evalglare_smoothing(benchmark::State& s) { run(s, "-s -x", 0); }
void evalglare_task_guth(benchmark::State& s) { run(s, "-T 400 400 0.5 -G 1 -x", 0); }
void evalglare_low_threshold(benchmark::State& s) { run(s, "-b 1000 -r 0.3 -x", 0); }

}  // namespace

BENCHMARK(evalglare_defaults)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
BENCHMARK(evalglare_peaks)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
BENCHMARK(evalglare_smoothing)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
BENCHMARK(evalglare_task_guth)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
BENCHMARK(evalglare_low_threshold)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
BENCHMARK_MAIN();
