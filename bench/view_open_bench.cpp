// From File > Open to the first paint of a 6000 x 4000 picture: the copy to
// the working copy, the display conversion by ra_bmp, the luminance map, the
// decoding of the display copy and one paint. And the luminance map alone.

#include <QApplication>
#include <QDir>
#include <benchmark/benchmark.h>

#include <cmath>
#include <filesystem>
#include <random>

#include "app/application.h"
#include "bench_ratio.h"
#include "app/ui/main_window.h"
#include "app/ui/qt_desktop.h"
#include "picture/rgbe_reader.h"
#include "picture/rgbe_writer.h"
#include "app/ui/image_view.h"

namespace {

constexpr int width = 6000, height = 4000;

const std::string& picture_path() {
    static const std::string path = [] {
        const auto file = std::filesystem::temp_directory_path() / "candelux-bench-6000x4000.hdr";
        if (std::filesystem::exists(file)) return file.string();
        std::mt19937 random(7);
        std::normal_distribution<float> noise(1.0f, 0.03f);
        std::vector<RgbePixel> pixels(static_cast<size_t>(width) * height);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                const float v = (0.2f + std::fabs(std::sin(x * 0.002f) * std::cos(y * 0.003f)) * 3.0f) * noise(random);
                pixels[static_cast<size_t>(y) * width + static_cast<size_t>(x)] = encode_rgbe(v, v * 0.95f, v * 0.9f);
            }
        RgbePictureHeader header;
        header.resolution = standard_resolution(width, height);
        write_rgbe_picture(file.string(), header, pixels);
        return file.string();
    }();
    return path;
}

// The main window with its Application, shown at 1200 x 900, settings and
// working files in the temporary folder.
struct Window {
    Window() {
        std::filesystem::create_directories(cache);
        window.attach(app);
        app.on_create();
        window.resize(1200, 900);
        window.show();
    }
    void open() {
        app.on_open_command(picture_path());
        window.view()->repaint();
    }

    std::string config = QDir::tempPath().toStdString() + "/candelux-bench-config";
    std::string cache = QDir::tempPath().toStdString() + "/candelux-bench-cache";
    MainWindow window;
    QtDesktop desktop{window};
    Application app{desktop, PlatformFolders{config, cache}, CANDELUX_PROGRAMS_DIR};
};

void OpenToFirstPaint(benchmark::State& state) {
    Window w;
    for (auto _ : state) {
        bench::timed("open to first paint", [&] { w.open(); });
        if (!w.app.image_loaded()) state.SkipWithError("open failed");
    }
}

void LuminanceMapOnly(benchmark::State& state) {
    const std::string& path = picture_path();
    for (auto _ : state) bench::timed("luminance map", [&] {
        auto map = load_luminance_map(path);
        benchmark::DoNotOptimize(map.ok());
    });
}

void PaintAfterOpen(benchmark::State& state) {
    Window w;
    w.open();
    int step = 0;
    for (auto _ : state) {
        // A pan step: what a drag repaints.
        w.app.on_right_down(600, 400);
        w.app.on_mouse_move(600 - (++step % 20), 400, false);
        w.window.view()->repaint();
        w.app.on_right_up();
    }
}

void WheelStepRepaint(benchmark::State& state) {
    Window w;
    w.open();
    bool up = true;
    for (auto _ : state) {
        // Zooming in and out between the fitted view and one step closer:
        // every step needs a newly scaled picture.
        w.app.on_wheel(up ? 120 : -120);
        up = !up;
        w.window.view()->repaint();
    }
}

const bench::GoalLine open_goal("open 24 MP to first paint", "open to first paint", 0.25);

}  // namespace

BENCHMARK(WheelStepRepaint)->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(OpenToFirstPaint)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(LuminanceMapOnly)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(PaintAfterOpen)->Unit(benchmark::kMillisecond)->Iterations(50);

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication qt(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    bench::print_ratios();
    return 0;
}
