// Hand-held series: median threshold bitmaps find each picture's shift, and
// an aligned assembly gives back the scene where an unaligned one smears it.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "assembly/alignment.h"
#include "assembly/assemble_series.h"
#include "assembly/series_exposures.h"
#include "picture/rgbe_reader.h"
#include "sensor_response.h"
#include "support/temp_folder.h"
#include "support/test_pictures.h"

namespace {

// Blobs of light from 1 to 3000 over a darker ground, with tiles of sharp
// edges (a room's furniture and window bars): texture at every scale.
double scene(double x, double y) {
    const double a = std::sin(x * 0.05) * std::cos(y * 0.07) + 0.5 * std::sin((x + 2 * y) * 0.013);
    const bool tile = (static_cast<int>(std::floor(x / 11)) + static_cast<int>(std::floor(y / 17))) % 2 == 0;
    return std::pow(10.0, 1.6 + 1.6 * a) * (tile ? 2.0 : 1.0);
}

GreyPicture grey_scene(int dx, int dy) {
    GreyPicture picture{200, 160, {}};
    for (int y = 0; y < picture.height; ++y)
        for (int x = 0; x < picture.width; ++x)
            picture.grey.push_back(static_cast<uint8_t>(std::min(255.0, 60 * std::log10(scene(x + dx, y + dy)))));
    return picture;
}

TEST(MedianThresholdBitmaps, FindTheShiftBetweenTwoPictures) {
    const GreyPicture reference = grey_scene(0, 0);
    EXPECT_EQ(median_threshold_shift(reference, grey_scene(0, 0)), (PictureShift{0, 0}));
    // The scene point at (x, y) here is at (x - 7, y + 4) in the moved picture.
    EXPECT_EQ(median_threshold_shift(reference, grey_scene(7, -4)), (PictureShift{-7, 4}));
    EXPECT_EQ(median_threshold_shift(reference, grey_scene(-13, 21)), (PictureShift{13, -21}));
}

TEST(MedianThresholdBitmaps, APictureBlackAlmostEverywhereDoesNotDrift) {
    GreyPicture dark = grey_scene(0, 0);
    for (uint8_t& value : dark.grey) value = value > 200 ? value - 200 : 0;
    EXPECT_EQ(median_threshold_shift(grey_scene(0, 0), dark), (PictureShift{0, 0}));
}

TEST(MedianThresholdBitmaps, AnAlignedAssemblyGivesBackTheScene) {
    TempFolder folder;
    const int offsets[5][2] = {{3, -2}, {0, 0}, {-5, 4}, {6, 6}, {-2, -7}};
    std::vector<std::string> pictures;
    std::vector<double> seconds;
    for (int j = 0; j < 5; ++j) {
        const double t = std::exp2(2.0 * j) / 4000;
        const std::string path = (folder / ("p" + std::to_string(j) + ".jpg")).string();
        write_test_jpeg(path, 240, 180, [&](int x, int y, int) {
            const double signal = scene(x + offsets[j][0], y + offsets[j][1]) * t * 0.25;
            return static_cast<int>(std::lround(255 * sim::encode_signal(sim::SensorResponse::srgb, signal)));
        });
        pictures.push_back(path);
        seconds.push_back(t);
    }
    auto exposures = read_series_exposures(pictures, seconds);
    ASSERT_TRUE(exposures.ok());
    const auto error_of = [&](bool align, std::vector<PictureShift>& shifts) {
        const std::string output = (folder / (align ? "aligned.hdr" : "plain.hdr")).string();
        AssemblyRequest request{pictures, exposures.value(), std::nullopt, 12.5, align};
        auto report = assemble_series(request, output);
        EXPECT_TRUE(report.ok()) << report.failure().message;
        if (!report) return 1.0;
        shifts = report.value().shifts;
        auto map = load_luminance_map(output);
        // The reference is the middle exposure, picture 2; its pixel (x, y)
        // shows the scene at (x - 5, y + 4).
        std::vector<double> ratios;
        for (int y = 12; y < 168; ++y)
            for (int x = 12; x < 228; ++x) ratios.push_back(map.value().at(x, y) / scene(x - 5, y + 4));
        std::vector<double> sorted = ratios;
        std::nth_element(sorted.begin(), sorted.begin() + sorted.size() / 2, sorted.end());
        const double scale = sorted[sorted.size() / 2];
        std::vector<double> errors;
        for (double ratio : ratios) errors.push_back(std::abs(ratio / scale - 1));
        std::nth_element(errors.begin(), errors.begin() + errors.size() / 2, errors.end());
        return errors[errors.size() / 2];
    };
    std::vector<PictureShift> shifts;
    const double aligned = error_of(true, shifts);
    ASSERT_EQ(shifts.size(), 5u);
    for (int j = 0; j < 5; ++j)
        EXPECT_EQ(shifts[j], (PictureShift{offsets[2][0] - offsets[j][0], offsets[2][1] - offsets[j][1]})) << j;
    std::vector<PictureShift> none;
    const double plain = error_of(false, none);
    EXPECT_TRUE(none.empty());
    EXPECT_LT(aligned, 0.03);
    EXPECT_GT(plain, 2 * aligned);
    std::cout << "median error aligned " << aligned * 100 << " %, unaligned " << plain * 100 << " %\n";
    const std::string header = read_file(folder / "aligned.hdr");
    EXPECT_NE(header.find("SERIES= p0.jpg 1/4000 s shift -8 6\n"), std::string::npos);
}

}  // namespace
