// candelux-cli as a script runs it, one process per call:
//   stats on a 3000 x 3000 photograph-like picture, the whole picture and a
//   circle of radius 1000 (reading, sampling, sorting, the sample file,
//   rcalc | histo, the printed page);
//   batch replay of a two-step sequence (rotate, flip) over 50 pictures of
//   1000 x 1000 with --jobs 1 and --jobs 2, and the speed-up of the second;
//   start-up to first output: luminance of one pixel of a 64 x 64 picture
//   (aimed at 30 ms or less).

#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "bench_ratio.h"
#include "picture/rgbe_pixel.h"
#include "picture/rgbe_writer.h"
#include "tools/process_runner.h"

namespace fs = std::filesystem;

namespace {

constexpr int batch_pictures = 50;
const std::string recorded_cache = "/recorded/cache";

// Removes the pictures and step files (hundreds of megabytes) at exit.
struct BenchFolder {
    fs::path path;
    ~BenchFolder() {
        std::error_code ec;
        fs::remove_all(path, ec);
    }
};

// Smooth light with sensor noise, a bright window band and a lamp.
std::vector<RgbePixel> photograph(int size, unsigned seed) {
    std::mt19937 random(seed);
    std::normal_distribution<float> noise(1.0f, 0.02f);
    std::vector<RgbePixel> pixels(static_cast<size_t>(size) * static_cast<size_t>(size));
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            const bool window = y < size / 3 && x % (size / 4) < size / 10;
            const float dx = x - 0.7f * size, dy = y - 0.7f * size;
            float v = window ? 800.0f : 0.2f + 3.0f * std::fabs(std::sin(x * 0.004f) * std::cos(y * 0.003f));
            if (dx * dx + dy * dy < 0.01f * size * size) v = 20000.0f;
            v *= noise(random);
            pixels[static_cast<size_t>(y) * static_cast<size_t>(size) + static_cast<size_t>(x)] =
                encode_rgbe(v * 0.9f, v, v * 1.1f);
        }
    return pixels;
}

void write_picture(const fs::path& path, int size, const std::vector<RgbePixel>& pixels) {
    RgbePictureHeader header;
    header.resolution = standard_resolution(size, size);
    write_rgbe_picture(path.string(), header, pixels);
}

const fs::path& folder() {
    static const BenchFolder bench{[] {
        const fs::path p = fs::temp_directory_path() / "candelux-cli-bench";
        fs::remove_all(p);
        fs::create_directories(p / "pictures");
        fs::create_directories(p / "home");
        write_picture(p / "large.hdr", 3000, photograph(3000, 7));
        write_picture(p / "small.hdr", 64, photograph(64, 5));
        const std::vector<RgbePixel> small = photograph(1000, 11);
        for (int i = 0; i < batch_pictures; ++i) {
            char name[32];
            std::snprintf(name, sizeof name, "IMG_%04d.hdr", i);
            write_picture(p / "pictures" / name, 1000, small);
        }
        const std::string w = recorded_cache + "/dtemp.hdr", o = recorded_cache + "/dtempo.hdr";
        std::FILE* seq = std::fopen((p / "macro.seq").c_str(), "wb");
        std::fprintf(seq, "40013#/C protate  %s %s#NULL\r\n", w.c_str(), o.c_str());
        std::fprintf(seq, "40015#/C pflip -c -h %s %s#NULL\r\n", w.c_str(), o.c_str());
        std::fclose(seq);
        return p;
    }()};
    return bench.path;
}

// Seconds for one run of candelux-cli; negative when it failed.
double run_cli(const std::string& words) {
    const std::string home = (folder() / "home").string();
    const std::string command = "/C XDG_CONFIG_HOME=" + home + " XDG_CACHE_HOME=" + home + " " + CANDELUX_CLI +
                                " " + words + " >/dev/null";
    const auto start = std::chrono::steady_clock::now();
    const ProcessOutput output = run_shell_command(command, "", nullptr, nullptr);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    return output.started && output.exit_status == 0 ? seconds : -1;
}

// From starting candelux-cli to its answer, through the shell as a script
// would call it: the program's start-up, the settings, reading a small
// picture and printing one line.
void BM_LuminanceStartUp(benchmark::State& state) {
    const std::string words = "luminance " + (folder() / "small.hdr").string() + " 10 20";
    for (auto _ : state) {
        const double seconds = run_cli(words);
        if (seconds < 0) return state.SkipWithError("candelux-cli luminance failed");
        state.SetIterationTime(seconds);
        bench::record_seconds("luminance start-up", seconds);
    }
}
BENCHMARK(BM_LuminanceStartUp)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(20);

void BM_StatsWholePicture(benchmark::State& state) {
    const std::string words = "stats " + (folder() / "large.hdr").string();
    for (auto _ : state) {
        const double seconds = run_cli(words);
        if (seconds < 0) return state.SkipWithError("candelux-cli stats failed");
        state.SetIterationTime(seconds);
    }
}
BENCHMARK(BM_StatsWholePicture)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3);

void BM_StatsCircle(benchmark::State& state) {
    const std::string words = "stats " + (folder() / "large.hdr").string() + " --circle 1000,1500,1500";
    for (auto _ : state) {
        const double seconds = run_cli(words);
        if (seconds < 0) return state.SkipWithError("candelux-cli stats failed");
        state.SetIterationTime(seconds);
    }
}
BENCHMARK(BM_StatsCircle)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3);

// The time of --jobs 1, for the speed-up reported with --jobs 2.
double one_job_seconds = 0;

void BM_BatchFiftyPictures(benchmark::State& state) {
    const int jobs = static_cast<int>(state.range(0));
    const std::string words = "batch " + (folder() / "macro.seq").string() + " " + (folder() / "pictures").string() +
                              " --overwrite --cache-folder " + recorded_cache + " --jobs " + std::to_string(jobs);
    double total = 0;
    for (auto _ : state) {
        const double seconds = run_cli(words);
        if (seconds < 0) return state.SkipWithError("candelux-cli batch failed");
        state.SetIterationTime(seconds);
        total += seconds;
    }
    const double mean = total / static_cast<double>(state.iterations());
    state.counters["per_picture_ms"] = 1000.0 * mean / batch_pictures;
    if (jobs == 1) one_job_seconds = mean;
    else if (one_job_seconds > 0) state.counters["speedup"] = one_job_seconds / mean;
    bench::record_seconds("batch --jobs " + std::to_string(jobs), mean);
}
BENCHMARK(BM_BatchFiftyPictures)->Arg(1)->Arg(2)->Unit(benchmark::kSecond)->UseManualTime()->Iterations(2);

const bench::RatioLine jobs_ratio("batch of two steps, --jobs 2 against 1", "batch --jobs 1", "batch --jobs 2", 1.7);

void print_start_up() {
    const double seconds = bench::median_seconds("luminance start-up");
    if (seconds > 0)
        std::printf("start-up to first output (luminance, 64 x 64): median %.1f ms, goal <= 30 ms\n", 1000 * seconds);
}

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    bench::print_ratios();
    print_start_up();
    return 0;
}
