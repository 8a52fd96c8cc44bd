// Reading a 3000 x 3000 run-length encoded picture into luminance: our reader
// against stb_image's float loader followed by the same luminance loop. The
// ratio printed at the end is stb_image's median time over ours.

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_HDR
#include <stb/stb_image.h>

#include "bench_ratio.h"
#include "common/physics.h"
#include "picture/rgbe_reader.h"
#include "picture/rgbe_writer.h"

namespace {

constexpr int size = 3000;

// A photograph-like picture: smooth gradients with sensor noise, so that most
// of every scanline is literals and some of it runs, as in real captures.
const std::string& picture_path() {
    static const std::string path = [] {
        const auto file = std::filesystem::temp_directory_path() / "candelux-bench-3000.hdr";
        if (std::filesystem::exists(file)) return file.string();
        std::mt19937 random(42);
        std::normal_distribution<float> noise(1.0f, 0.02f);
        std::vector<RgbePixel> pixels(static_cast<size_t>(size) * size);
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x) {
                const bool sky = y < size / 3;
                const float base = sky ? 20.0f + 10.0f * x / size : 0.5f + 2.0f * std::sin(x * 0.01f) * std::sin(y * 0.013f);
                const float v = sky && x % 500 < 120 ? 20.0f : std::fabs(base) * noise(random);
                pixels[static_cast<size_t>(y) * size + static_cast<size_t>(x)] = encode_rgbe(v * 0.9f, v, v * 1.1f);
            }
        RgbePictureHeader header;
        header.resolution = standard_resolution(size, size);
        write_rgbe_picture(file.string(), header, pixels);
        return file.string();
    }();
    return path;
}

void OurReader(benchmark::State& state) {
    const std::string& path = picture_path();
    for (auto _ : state) {
        bench::timed("ours", [&] {
            auto map = load_luminance_map(path);
            if (!map.ok()) state.SkipWithError("read failed");
            benchmark::DoNotOptimize(map.value().data.data());
        });
    }
    state.counters["MB"] = static_cast<double>(std::filesystem::file_size(path)) / 1e6;
}

void StbImage(benchmark::State& state) {
    const std::string& path = picture_path();
    for (auto _ : state) bench::timed("stb_image", [&] {
        int width = 0, height = 0, channels = 0;
        float* rgb = stbi_loadf(path.c_str(), &width, &height, &channels, 3);
        if (!rgb) state.SkipWithError("stb failed");
        std::vector<float> luminance(static_cast<size_t>(width) * height);
        for (size_t i = 0; i < luminance.size(); ++i)
            luminance[i] = static_cast<float>(physics::luminous_efficacy *
                                              (physics::weight_red * rgb[3 * i] + physics::weight_green * rgb[3 * i + 1] +
                                               physics::weight_blue * rgb[3 * i + 2]));
        stbi_image_free(rgb);
        benchmark::DoNotOptimize(luminance.data());
    });
}

const bench::RatioLine reader_ratio("RGBE file to luminance map, 9 MP", "stb_image", "ours", 9);

}  // namespace

// Interleaved, so that both see the same load on a shared machine.
BENCHMARK(OurReader)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(StbImage)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(OurReader)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(StbImage)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCH_RATIO_MAIN()
