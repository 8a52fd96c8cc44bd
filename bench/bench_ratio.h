#pragma once
// Every benchmark states its result as a ratio to a reference timed in the
// same run (stb_image for the reader, the build before a change for our own
// programs, one job for batch replay): absolute times on a shared machine
// vary with its load, ratios much less.
//
// A benchmark records the seconds of each of its runs under a name; ratios
// registered with RatioLine are printed at the end, each from the medians.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

namespace bench {

inline std::map<std::string, std::vector<double>>& timings() {
    static std::map<std::string, std::vector<double>> all;
    return all;
}

inline void record_seconds(const std::string& name, double seconds) { timings()[name].push_back(seconds); }

// The median of the recorded runs; 0 when there are none.
inline double median_seconds(const std::string& name) {
    auto found = timings().find(name);
    if (found == timings().end() || found->second.empty()) return 0;
    std::vector<double> runs = found->second;
    std::sort(runs.begin(), runs.end());
    const size_t n = runs.size();
    return n % 2 ? runs[n / 2] : (runs[n / 2 - 1] + runs[n / 2]) / 2;
}

// Times one call and records it.
template <class Work>
double timed(const std::string& name, Work work) {
    const auto start = std::chrono::steady_clock::now();
    work();
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    record_seconds(name, seconds);
    return seconds;
}

struct Ratio {
    std::string label;
    std::string reference;  // the slower side, or the figure to beat
    std::string ours;
    double goal = 0;        // the ratio aimed at; 0 for none
};

inline std::vector<Ratio>& ratios() {
    static std::vector<Ratio> all;
    return all;
}

// Registers a ratio to print: median(reference) / median(ours).
struct RatioLine {
    RatioLine(std::string label, std::string reference, std::string ours, double goal = 0) {
        ratios().push_back({std::move(label), std::move(reference), std::move(ours), goal});
    }
};

// A time to stay within, printed with the median: for the rows whose
// reference cannot run here.
struct Goal {
    std::string label;
    std::string name;
    double seconds = 0;
};

inline std::vector<Goal>& goals() {
    static std::vector<Goal> all;
    return all;
}

struct GoalLine {
    GoalLine(std::string label, std::string name, double seconds) {
        goals().push_back({std::move(label), std::move(name), seconds});
    }
};

inline void print_ratios() {
    for (const Goal& g : goals()) {
        const double median = median_seconds(g.name);
        if (median <= 0) continue;
        std::printf("goal  %-44s median %.1f ms, goal <= %.0f ms\n", g.label.c_str(), 1000 * median, 1000 * g.seconds);
    }
    for (const Ratio& r : ratios()) {
        const double reference = median_seconds(r.reference), ours = median_seconds(r.ours);
        if (reference <= 0 || ours <= 0) continue;
        std::printf("ratio %-44s %7.2fx  (%s %.1f ms, %s %.1f ms)", r.label.c_str(), reference / ours,
                    r.reference.c_str(), 1000 * reference, r.ours.c_str(), 1000 * ours);
        if (r.goal > 0) std::printf("  goal >= %.1fx", r.goal);
        std::printf("\n");
    }
    std::fflush(stdout);
}

}  // namespace bench

// A main for Google Benchmark programs that prints the ratios after the runs.
#define BENCH_RATIO_MAIN()                                 \
    int main(int argc, char** argv) {                      \
        benchmark::Initialize(&argc, argv);                \
        if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1; \
        benchmark::RunSpecifiedBenchmarks();               \
        benchmark::Shutdown();                             \
        bench::print_ratios();                             \
        return 0;                                          \
    }
