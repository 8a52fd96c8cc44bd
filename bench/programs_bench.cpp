// The picture programs on a 3000 x 3000 run-length encoded picture, run
// through /bin/sh the way the application runs them. Each benchmark reports
// wall-clock time (the work happens in a child process) next to the time a
// real Radiance build needs for the same command on this class of machine
// ("reference_s"; 0 where none was measured), and the ratio to it at the end
// with the goal set for it.
//
// Our own previous build is the reference this run can measure: with
// CANDELUX_BENCH_BEFORE_PROGRAMS naming its program folder, every command
// runs with both folders in turn and the ratio of the medians (before over
// now) is printed at the end.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "bench_folder.h"
#include "bench_ratio.h"
#include "picture/rgbe_pixel.h"
#include "picture/rgbe_writer.h"

namespace {

constexpr int size = 3000;

const std::filesystem::path& folder() {
    static const std::filesystem::path path = bench::scratch_folder("candelux-programs-bench");
    return path;
}

// A photograph-like picture: smooth gradients with sensor noise (mostly
// literals in every scanline, some runs), a bright window and black corners.
std::vector<RgbePixel> make_pixels() {
    std::mt19937 random(7);
    std::normal_distribution<float> noise(1.0f, 0.02f);
    std::vector<RgbePixel> pixels(static_cast<size_t>(size) * size);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            const float dx = (x - size / 2) / float(size), dy = (y - size / 2) / float(size);
            float v = 0;
            if (dx * dx + dy * dy < 0.25f) {
                const bool window = y < size / 3 && x % 700 < 300;
                v = window ? 800.0f + 200.0f * x / size : 0.2f + 3.0f * std::fabs(std::sin(x * 0.004f) * std::cos(y * 0.003f));
                v *= noise(random);
            }
            pixels[static_cast<size_t>(y) * size + static_cast<size_t>(x)] = encode_rgbe(v * 0.9f, v, v * 1.1f);
        }
    return pixels;
}

struct Inputs {
    std::string picture;
    std::string values;
    std::string distinct_values;  // the same count, no two alike
    double lo = 0, hi = 0;
};

// The picture, and its sorted luminance values one per line as the
// statistics write them for rcalc | histo.
const Inputs& inputs() {
    static const Inputs made = [] {
        Inputs in;
        in.picture = (folder() / "picture.hdr").string();
        in.values = (folder() / "pvalues").string();
        const auto pixels = make_pixels();
        RgbePictureHeader header;
        header.resolution = standard_resolution(size, size);
        write_rgbe_picture(in.picture, header, pixels);
        std::vector<float> luminance(pixels.size());
        for (size_t i = 0; i < pixels.size(); ++i)
            luminance[i] = rgbe_luminance(pixels[i].r, pixels[i].g, pixels[i].b, pixels[i].e, 1.0f);
        std::sort(luminance.begin(), luminance.end());
        std::FILE* out = std::fopen(in.values.c_str(), "w");
        for (float v : luminance) std::fprintf(out, "%f\n", v);
        std::fclose(out);
        in.distinct_values = (folder() / "pvalues-distinct").string();
        out = std::fopen(in.distinct_values.c_str(), "w");
        for (size_t i = 0; i < luminance.size(); ++i) std::fprintf(out, "%f\n", 0.01 + 0.0137 * static_cast<double>(i));
        std::fclose(out);
        const auto first = std::find_if(luminance.begin(), luminance.end(), [](float v) { return v > 1e-7f; });
        in.lo = std::log10(*first);
        in.hi = std::log10(luminance.back()) + 0.01;
        return in;
    }();
    return made;
}

std::string program(const char* name) { return std::string(CANDELUX_PROGRAMS_DIR) + "/" + name; }
std::string out(const char* name) { return (folder() / name).string(); }

// The command with every program taken from `folder` instead.
std::string with_programs(std::string command, const std::string& folder) {
    const std::string ours = CANDELUX_PROGRAMS_DIR;
    for (size_t at = command.find(ours); at != std::string::npos; at = command.find(ours, at + folder.size()))
        command.replace(at, ours.size(), folder);
    return command;
}

// The speed-up over Radiance's recorded time each command aims at; 0 where
// none is set.
double goal_against_radiance(const std::string& name) {
    if (name == "pflip -c -h" || name == "pextrem") return 4;
    if (name == "ra_bmp" || name == "pfilt -1 -e 2") return 6;
    return 0;
}

// The output is removed before each run, as the application's editing step
// removes its step output before running a program: a file emptied in place
// (the shell's "> file" over an existing one) is written out by ext4 when it
// is closed, which would time the disk rather than the program.
void run(benchmark::State& state, const std::string& command, double reference, const std::string& output = "") {
    inputs();
    const char* before = std::getenv("CANDELUX_BENCH_BEFORE_PROGRAMS");
    // The command without its folders: "pflip -c -h".
    std::string name = with_programs(command, "");
    name.erase(0, name.find_first_not_of("/ "));
    name = name.substr(0, name.find(folder().string()));
    while (!name.empty() && name.back() == ' ') name.pop_back();
    // Two benchmarks of one command (other inputs) are told apart.
    while (bench::timings().count(name)) name += "'";
    const std::string previous = before ? with_programs(command, before) : std::string();
    std::error_code ignored;
    for (auto _ : state) {
        if (!output.empty()) std::filesystem::remove(output, ignored);
        bench::timed(name, [&] {
            if (std::system(command.c_str()) != 0) state.SkipWithError(("failed: " + command).c_str());
        });
        if (before) {
            state.PauseTiming();
            if (!output.empty()) std::filesystem::remove(output, ignored);
            bench::timed(name + " before", [&] { (void)std::system(previous.c_str()); });
            state.ResumeTiming();
        }
    }
    if (before) bench::ratios().push_back({name + " (before / now)", name + " before", name});
    if (reference > 0) {
        // The recorded figure stands as a reference timing of its own, so the
        // ratio to it prints with the others.
        const std::string recorded = name + " (Radiance, recorded)";
        bench::record_seconds(recorded, reference);
        bench::ratios().push_back({name + " against Radiance", recorded, name, goal_against_radiance(name)});
    }
    state.counters["reference_s"] = reference;
}

void ra_bmp(benchmark::State& s) {
    run(s, program("ra_bmp") + " " + inputs().picture + "  " + out("o.bmp"), 0.19, out("o.bmp"));
}
void pfilt_exposure(benchmark::State& s) {
    run(s, program("pfilt") + " -1 -e 2 " + inputs().picture + " > " + out("e.hdr"), 0.31, out("e.hdr"));
}
void pfilt_half(benchmark::State& s) {
    run(s, program("pfilt") + " -x /2 -y /2 " + inputs().picture + " > " + out("h.hdr"), 0, out("h.hdr"));
}
void pfilt_resize(benchmark::State& s) {
    run(s, program("pfilt") + " -1 -e 1.000 -x /2 -y /2 " + inputs().picture + " > " + out("s.hdr"), 0, out("s.hdr"));
}
void protate(benchmark::State& s) {
    run(s, program("protate") + "  " + inputs().picture + " " + out("r.hdr"), 0.72, out("r.hdr"));
}
void pflip(benchmark::State& s) {
    run(s, program("pflip") + " -c -h " + inputs().picture + " " + out("f.hdr"), 0.17, out("f.hdr"));
}
void pcompos(benchmark::State& s) {
    run(s, program("pcompos") + " -x 1500 -y 1500 " + inputs().picture + " -750 -750 > " + out("c.hdr"),
        0.09, out("c.hdr"));
}
void pextrem(benchmark::State& s) { run(s, program("pextrem") + " " + inputs().picture + " > /dev/null", 0.07); }
std::string histogram_command(const std::string& values) {
    char range[64];
    std::snprintf(range, sizeof range, " %g %g 256", inputs().lo, inputs().hi);
    return program("rcalc") + " -e 'L=$1;cond=L-1e-7;$1=log10(L)' " + values + " | " + program("histo") + range +
           " > /dev/null";
}
void rcalc_histo(benchmark::State& s) { run(s, histogram_command(inputs().values), 2.45); }
// The worst case for rcalc: no value repeats the one before.
void rcalc_histo_distinct(benchmark::State& s) { run(s, histogram_command(inputs().distinct_values), 2.45); }

// The tone mappers (no reference timings for a picture of this size).
void pcond_plain(benchmark::State& s) {
    run(s, program("pcond") + " " + inputs().picture + " > " + out("p.hdr"), 0, out("p.hdr"));
}
void pcond_human(benchmark::State& s) {
    run(s, program("pcond") + " -h " + inputs().picture + " > " + out("p.hdr"), 0, out("p.hdr"));
}
void reinhard_global(benchmark::State& s) {
    run(s, program("ReinhardTM") + " -i " + inputs().picture + " -o " + out("r.jpg"), 0, out("r.jpg"));
}
void reinhard_local(benchmark::State& s) {
    run(s, program("ReinhardTM") + " -i " + inputs().picture + " -o " + out("r.jpg") + " -scale", 0, out("r.jpg"));
}
void tm_linear(benchmark::State& s) {
    run(s, program("tm_linear") + " -i " + inputs().picture + " -o " + out("t.jpg"), 0, out("t.jpg"));
}

}  // namespace

BENCHMARK(ra_bmp)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
BENCHMARK(pfilt_exposure)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
BENCHMARK(pfilt_half)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
BENCHMARK(pfilt_resize)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
BENCHMARK(protate)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
BENCHMARK(pflip)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
BENCHMARK(pcompos)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
BENCHMARK(pextrem)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
BENCHMARK(rcalc_histo)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
BENCHMARK(rcalc_histo_distinct)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
BENCHMARK(pcond_plain)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(pcond_human)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(reinhard_global)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(reinhard_local)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(tm_linear)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCH_RATIO_MAIN()
