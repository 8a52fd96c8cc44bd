// Batch replay of a recorded three-step sequence (rotate, flip, exposure)
// over a folder of 50 pictures of 1000 x 1000, through /bin/sh and our
// picture programs, as Tools > Batch Process runs it. Reports the wall-clock
// time per picture (three child processes and three step files each).

#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "bench_ratio.h"
#include "macro/batch_replay.h"
#include "macro/parallel_replay.h"
#include "picture/rgbe_pixel.h"
#include "picture/rgbe_writer.h"

namespace fs = std::filesystem;

namespace {

constexpr int picture_count = 50;
constexpr int size = 1000;
const std::string cache = "/recorded/cache";

// Removes the pictures and their step files (hundreds of megabytes) at exit.
struct BenchFolder {
    fs::path path;
    ~BenchFolder() {
        std::error_code ec;
        fs::remove_all(path, ec);
    }
};

const fs::path& folder() {
    static const BenchFolder bench{[] {
        const fs::path p = fs::temp_directory_path() / "candelux-macro-bench";
        fs::remove_all(p);
        fs::create_directories(p / "pictures");
        // Photograph-like pixels: smooth light with sensor noise.
        std::mt19937 random(11);
        std::normal_distribution<float> noise(1.0f, 0.02f);
        std::vector<RgbePixel> pixels(static_cast<size_t>(size) * size);
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x) {
                const float v = (0.2f + 3.0f * std::fabs(std::sin(x * 0.004f) * std::cos(y * 0.003f))) * noise(random);
                pixels[static_cast<size_t>(y) * size + static_cast<size_t>(x)] = encode_rgbe(v * 0.9f, v, v * 1.1f);
            }
        RgbePictureHeader header;
        header.lines = {"EXPOSURE=0.5"};
        header.resolution = standard_resolution(size, size);
        for (int i = 0; i < picture_count; ++i) {
            char name[32];
            std::snprintf(name, sizeof name, "IMG_%04d.hdr", i);
            write_rgbe_picture((p / "pictures" / name).string(), header, pixels);
        }
        const std::string w = cache + "/dtemp.hdr", o = cache + "/dtempo.hdr";
        std::FILE* seq = std::fopen((p / "macro.seq").c_str(), "wb");
        std::fprintf(seq, "40013#/C protate  %s %s#NULL\r\n", w.c_str(), o.c_str());
        std::fprintf(seq, "40015#/C pflip -c -h %s %s#NULL\r\n", w.c_str(), o.c_str());
        std::fprintf(seq, "40018#/C pfilt -1 -e 4 %s > %s#2\r\n", w.c_str(), o.c_str());
        std::fclose(seq);
        return p;
    }()};
    return bench.path;
}

void BM_ReplayThreeStepsOverFiftyPictures(benchmark::State& state) {
    const std::string sequence = (folder() / "macro.seq").string();
    const std::string pictures = (folder() / "pictures").string();
    ShellReplayHost host(CANDELUX_PROGRAMS_DIR);
    int processed = 0;
    double seconds = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        const auto report = replay_sequence(sequence, pictures, cache, host, true);
        seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        if (!report.ok() || report.value().pictures_processed != picture_count) {
            state.SkipWithError("the replay did not process every picture");
            return;
        }
        processed += report.value().pictures_processed;
    }
    state.counters["per_picture_ms"] = 1000.0 * seconds / processed;
}
BENCHMARK(BM_ReplayThreeStepsOverFiftyPictures)->Unit(benchmark::kSecond)->UseRealTime()->Iterations(2);

// The same batch with one job and with two, alternately, so that both see
// the same load; the ratio of their medians is printed at the end.
void BM_ReplayThreeStepsJobs(benchmark::State& state) {
    const int jobs = static_cast<int>(state.range(0));
    const std::string sequence = (folder() / "macro.seq").string();
    const std::string pictures = (folder() / "pictures").string();
    auto plan = plan_batch(sequence, pictures, cache);
    if (!plan.ok()) return state.SkipWithError("no plan");
    ShellReplayHost host(CANDELUX_PROGRAMS_DIR);
    for (auto _ : state) {
        ReplayReport report;
        bench::timed("replay --jobs " + std::to_string(jobs),
                     [&] { report = run_batch_in_parallel(plan.value(), host, true, jobs); });
        if (report.pictures_processed != picture_count) return state.SkipWithError("not every picture processed");
    }
}
BENCHMARK(BM_ReplayThreeStepsJobs)->Arg(1)->Arg(2)->Arg(1)->Arg(2)->Arg(1)->Arg(2)->Unit(benchmark::kSecond)
    ->UseRealTime()->Iterations(1);
const bench::RatioLine jobs_ratio("replay of three steps, --jobs 2 against 1", "replay --jobs 1", "replay --jobs 2",
                                  1.7);

// The largest sequence replay takes (10 000 lines) over 1000 pictures: the
// plan is made one picture at a time, so the peak memory stays that of one
// picture's steps whatever the number of pictures. Nothing runs: each
// picture's first step fails at once.
class RefusingHost : public ReplayHost {
public:
    ProcessOutput run(const std::string&) override {
        ProcessOutput output;
        output.error = "not run";
        return output;
    }
};

void BM_PlanTenThousandLinesOverAThousandPictures(benchmark::State& state) {
    const BenchFolder bench{fs::temp_directory_path() / "candelux-large-plan-bench"};
    const fs::path& p = bench.path;
    fs::remove_all(p);
    fs::create_directories(p / "pictures");
    for (int i = 0; i < 1000; ++i) std::fclose(std::fopen((p / "pictures" / ("p" + std::to_string(i) + ".hdr")).c_str(), "wb"));
    const std::string w = cache + "/dtemp.hdr", o = cache + "/dtempo.hdr";
    std::FILE* seq = std::fopen((p / "large.seq").c_str(), "wb");
    for (int i = 0; i < 10000; ++i) std::fprintf(seq, "40015#/C pflip -c -h %s %s#NULL\r\n", w.c_str(), o.c_str());
    std::fclose(seq);
    rusage before{};
    getrusage(RUSAGE_SELF, &before);
    RefusingHost host;
    for (auto _ : state) {
        const auto report = replay_sequence((p / "large.seq").string(), (p / "pictures").string(), cache, host, true);
        if (!report.ok() || report.value().failures.size() != 1000) {
            state.SkipWithError("the plan was not made for every picture");
            return;
        }
    }
    rusage after{};
    getrusage(RUSAGE_SELF, &after);
    state.counters["peak_rss_growth_MB"] = static_cast<double>(after.ru_maxrss - before.ru_maxrss) / 1024.0;
}
BENCHMARK(BM_PlanTenThousandLinesOverAThousandPictures)->Unit(benchmark::kSecond)->UseRealTime()->Iterations(1);

}  // namespace

BENCH_RATIO_MAIN()
