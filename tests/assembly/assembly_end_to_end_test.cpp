// The whole road: the simulated camera photographs an HDR scene two stops
// apart with each of its tone curves, and the assembly gives back the scene's
// luminance and the camera's curve.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <iostream>

#include "assembly/assemble_series.h"
#include "assembly/series_exposures.h"
#include "assembly/simulated_series.h"
#include "picture/rgbe_reader.h"
#include "sensor_response.h"
#include "support/temp_folder.h"

namespace {

double quantile(std::vector<double> values, double q) {
    const auto at = values.begin() + static_cast<ptrdiff_t>(q * static_cast<double>(values.size() - 1));
    std::nth_element(values.begin(), at, values.end());
    return *at;
}

class AssemblyEndToEnd : public ::testing::TestWithParam<const char*> {};

TEST_P(AssemblyEndToEnd, GivesTheScenesLuminanceAndTheCamerasCurve) {
    TempFolder folder;
    const LuminanceMap scene = write_hdr_scene(folder / "scene.hdr");
    const auto codes = two_stop_shutter_codes();
    const auto pictures = photograph_series(folder / "scene.hdr", GetParam(), folder / "series", codes);
    ASSERT_EQ(pictures.size(), codes.size());

    auto exposures = read_series_exposures(pictures, std::nullopt);
    ASSERT_TRUE(exposures.ok()) << exposures.failure().message;
    EXPECT_DOUBLE_EQ(exposures.value().front().seconds, 1.0 / 1024);
    EXPECT_DOUBLE_EQ(exposures.value().back().seconds, 4.0);
    AssemblyRequest request{pictures, exposures.value(), std::nullopt, 12.5};
    const std::string output = (folder / "assembled.hdr").string();
    auto report = assemble_series(request, output);
    ASSERT_TRUE(report.ok()) << report.failure().message;
    ASSERT_TRUE(report.value().response_residual.has_value());
    std::cout << GetParam() << ": response residual " << *report.value().response_residual << ", saturated "
              << report.value().saturated << "\n";

    auto assembled = load_luminance_map(output);
    ASSERT_TRUE(assembled.ok());
    ASSERT_EQ(assembled.value().width, scene.width);
    ASSERT_EQ(assembled.value().height, scene.height);
    // Covered: not over-exposed in the shortest picture, and at 1 % of full
    // scale at least in the longest.
    std::vector<double> errors;
    size_t lamp = 0;
    for (int y = 0; y < scene.height; ++y)
        for (int x = 0; x < scene.width; ++x) {
            const double truth = scene.at(x, y);
            if (simulated_signal(truth, 1.0 / 1024) >= 0.9) {
                ++lamp;
                continue;
            }
            if (simulated_signal(truth, 4.0) < 0.01) continue;
            errors.push_back(std::abs(assembled.value().at(x, y) / truth - 1));
        }
    ASSERT_GT(errors.size(), scene.data.size() * 8 / 10);
    const double median = quantile(errors, 0.5), p95 = quantile(errors, 0.95);
    std::cout << GetParam() << ": median error " << median * 100 << " %, 95th percentile " << p95 * 100 << " %\n";
    EXPECT_LT(median, 0.03);
    EXPECT_LT(p95, 0.10);
    // The lamp is over-exposed in every picture and counted.
    EXPECT_GE(report.value().saturated, lamp * 9 / 10);
    EXPECT_LE(report.value().saturated, lamp * 13 / 10);

    const auto response = sim::response_named(GetParam());
    ASSERT_TRUE(response.has_value());
    // The curve, channel by channel, over the codes the series measures.
    for (int c = 0; c < 3; ++c) {
        std::vector<double> curve_errors;
        for (int code = 32; code < 250; ++code) {
            const double truth = sim::decode_signal(*response, code / 255.0);
            curve_errors.push_back(std::abs(report.value().response.signal(c, code) / truth - 1));
        }
        const double typical = quantile(curve_errors, 0.5), worst = quantile(curve_errors, 1.0);
        std::cout << GetParam() << ": channel " << c << " curve error median " << typical * 100 << " %, worst "
                  << worst * 100 << " %\n";
        EXPECT_LT(typical, 0.04);
        EXPECT_LT(worst, 0.06);
    }
}

INSTANTIATE_TEST_SUITE_P(EachToneCurve, AssemblyEndToEnd, ::testing::Values("srgb", "gamma22", "filmic"));

}  // namespace
