#include "assembly/simulated_series.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "capture/camera_sdk.h"
#include "capture/capture_fakes.h"
#include "capture/capture_run.h"
#include "picture/rgbe_reader.h"
#include "picture/rgbe_writer.h"

LuminanceMap write_hdr_scene(const std::filesystem::path& path) {
    constexpr int width = 360, height = 240, side = 24;
    std::vector<RgbePixel> pixels(static_cast<size_t>(width) * height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            // Patches of 24 x 24 pixels stepping through 0.15 to 12 000 cd/m²
            // in log steps, each with its own tint; a window of 20 000 and a
            // lamp of 200 000 cd/m².
            const int patch = (y / side) * (width / side) + x / side;
            const int patches = (height / side) * (width / side);
            double luminance = 0.15 * std::pow(80000.0, static_cast<double>(patch) / (patches - 1));
            const double tint[3] = {1.0 + 0.3 * std::sin(patch * 0.7), 1.0, 1.0 + 0.3 * std::cos(patch * 1.3)};
            if (x >= 250 && x < 330 && y >= 30 && y < 90) luminance = 20000;
            if (std::hypot(x - 60, y - 60) < 10) luminance = 200000;
            // A gentle gradient inside each patch, so not every block is flat.
            luminance *= 1.0 + 0.02 * (x % side) / (side - 1.0);
            const double scale = luminance / (0.2126 * tint[0] + 0.7152 * tint[1] + 0.0722 * tint[2]) / 179.0;
            pixels[static_cast<size_t>(y) * width + x] = encode_rgbe(static_cast<float>(scale * tint[0]),
                                                                     static_cast<float>(scale * tint[1]),
                                                                     static_cast<float>(scale * tint[2]));
        }
    }
    RgbePictureHeader header;
    header.resolution = standard_resolution(width, height);
    EXPECT_TRUE(write_rgbe_picture(path.string(), header, pixels));
    auto map = load_luminance_map(path.string());
    EXPECT_TRUE(map.ok());
    return map ? map.value() : LuminanceMap{};
}

std::vector<uint32_t> two_stop_shutter_codes() { return {0x88, 0x78, 0x68, 0x58, 0x48, 0x38, 0x28}; }

std::vector<std::string> photograph_series(const std::filesystem::path& scene, const std::string& response,
                                           const std::filesystem::path& folder,
                                           const std::vector<uint32_t>& shutter_codes, uint32_t aperture_code) {
    ScopedEnv scene_env{"EDSDK_SIM_SCENE", scene.string()};
    ScopedEnv response_env{"EDSDK_SIM_RESPONSE", response};
    ScopedEnv faults[4] = {{"EDSDK_SIM_NO_CAMERA", std::nullopt},
                           {"EDSDK_SIM_REFUSE_WRITES", std::nullopt},
                           {"EDSDK_SIM_FAIL_DOWNLOAD", std::nullopt},
                           {"EDSDK_SIM_MISSING", std::nullopt}};
    std::filesystem::create_directories(folder);
    CameraSdk sdk;
    if (sdk.connect_camera() != 0) return {};
    sdk.set_save_folder(folder.string() + "/");
    RunReport report;
    run_manual_exposures(sdk, CapturePacing::real_time(), aperture_code, shutter_codes, report);
    sdk.disconnect_camera();
    if (!report.skipped.empty()) return {};
    std::vector<std::string> paths;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) paths.push_back(entry.path().string());
    std::sort(paths.begin(), paths.end());
    return paths;
}

double simulated_signal(double luminance, double seconds) { return 0.18 * luminance * 100 * seconds / (12.5 * 64); }
