// The photographic tone reproduction operator and its Gaussian blur, in
// process: the figures that follow from the formulas, exactly.

#include <gtest/gtest.h>

#include <cmath>
#include <numeric>

#include "lib/float_picture.h"
#include "lib/gaussian_blur.h"
#include "lib/reinhard_conversion.h"
#include "lib/reinhard_operator.h"
#include "support/temp_folder.h"

namespace {

std::vector<float> uniform(int width, int height, float value) {
    return std::vector<float>(static_cast<size_t>(width) * height, value);
}

TEST(GaussianBlur, KernelIsNormalisedSymmetricAndThreeDeviationsWide) {
    for (double sigma : {0.25, 1.0, 2.56, 10.7}) {
        const auto kernel = gaussian_kernel(sigma);
        EXPECT_EQ(kernel.size(), 2 * static_cast<size_t>(std::max(1.0, std::ceil(3 * sigma))) + 1) << sigma;
        EXPECT_NEAR(std::accumulate(kernel.begin(), kernel.end(), 0.0), 1.0, 1e-6) << sigma;
        for (size_t i = 0; i < kernel.size() / 2; ++i) EXPECT_FLOAT_EQ(kernel[i], kernel[kernel.size() - 1 - i]);
        EXPECT_GT(kernel[kernel.size() / 2], kernel[kernel.size() / 2 + 1]);
    }
}

TEST(GaussianBlur, KeepsAUniformImageAndSpreadsAPointByItsDeviation) {
    std::vector<float> out;
    gaussian_blur(uniform(30, 20, 2.5f), 30, 20, 3.0, out);
    for (float v : out) EXPECT_NEAR(v, 2.5f, 1e-5f);

    std::vector<float> point = uniform(41, 41, 0.0f);
    point[20 * 41 + 20] = 1.0f;
    gaussian_blur(point, 41, 41, 2.0, out);
    // Second moment along x of the blurred point is sigma².
    double moment = 0, total = 0;
    for (int y = 0; y < 41; ++y)
        for (int x = 0; x < 41; ++x) {
            moment += out[static_cast<size_t>(y * 41 + x)] * (x - 20) * (x - 20);
            total += out[static_cast<size_t>(y * 41 + x)];
        }
    EXPECT_NEAR(total, 1.0, 1e-5);
    EXPECT_NEAR(moment / total, 4.0, 0.05);
}

TEST(GaussianBlur, RepeatsEdgeValuesBeyondTheBorder) {
    // A ramp along x stays a ramp in the middle and flattens only at the ends.
    std::vector<float> ramp;
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 40; ++x) ramp.push_back(static_cast<float>(x));
    std::vector<float> out;
    gaussian_blur(ramp, 40, 5, 2.0, out);
    EXPECT_NEAR(out[20], 20.0f, 1e-4f);
    EXPECT_GT(out[0], 0.0f);
    EXPECT_LT(out[39], 39.0f);
}

TEST(ReinhardOperator, LogAverageLeavesOutPixelsWithoutLight) {
    std::vector<float> world = {10.0f, 1000.0f, 0.0f, 0.0f, -1.0f, std::nanf("")};
    EXPECT_NEAR(log_average_luminance(world), std::sqrt((10 + 1e-4) * (1000 + 1e-4)), 1e-3);
    EXPECT_EQ(log_average_luminance({0.0f, 0.0f}), 0.0);
}

TEST(ReinhardOperator, CentreKernelFollowsThePaperAtEveryScale) {
    EXPECT_NEAR(centre_sigma(1.0), 0.25, 1e-12);
    EXPECT_NEAR(centre_sigma(std::pow(1.6, 7)), std::pow(1.6, 7) / 4, 1e-12);
}

TEST(ReinhardOperator, UniformPictureMapsTheKeyToKeyOverOnePlusKeyInBothModes) {
    ReinhardParameters parameters;
    for (bool local : {false, true}) {
        parameters.local = local;
        const auto display = reinhard_display_luminance(uniform(40, 30, 123.0f), 40, 30, parameters);
        for (float v : display) ASSERT_NEAR(v, 0.18 / 1.18, 1e-6) << local;
    }
    EXPECT_EQ(gamma_display_byte(0.18 / 1.18, 1.6), 79);
    EXPECT_EQ(gamma_display_byte(0.18 / 1.18, 2.2), 108);
}

TEST(ReinhardOperator, GlobalOperatorGivesTheDocumentedBytesAboveTheLogAverage) {
    // Half the pixels at 10, half at 0.1: the log-average is 1 (to 1e-4).
    std::vector<float> world;
    for (int i = 0; i < 100; ++i) world.push_back(i % 2 ? 10.0f : 0.1f);
    const auto display = reinhard_display_luminance(world, 10, 10, {});
    EXPECT_NEAR(display[1], 0.6429, 1e-3);
    EXPECT_EQ(gamma_display_byte(display[1], 1.6), 194);
    std::vector<float> wider;
    for (int i = 0; i < 100; ++i) wider.push_back(i % 2 ? 100.0f : 0.01f);
    EXPECT_EQ(gamma_display_byte(reinhard_display_luminance(wider, 10, 10, {})[1], 1.6), 247);
}

TEST(ReinhardOperator, GlobalMappingIsMonotoneAndWhiteBurnsOut) {
    std::vector<float> world;
    for (int i = 0; i < 200; ++i) world.push_back(static_cast<float>(std::pow(10.0, -2 + 6.0 * i / 199)));
    ReinhardParameters parameters;
    auto display = reinhard_display_luminance(world, 200, 1, parameters);
    for (size_t i = 1; i < display.size(); ++i) EXPECT_GE(display[i], display[i - 1]) << i;
    EXPECT_LT(display.back(), 1.0f);
    // With white at the scaled luminance of the brightest pixel, that pixel
    // reaches exactly 1.
    const double average = log_average_luminance(world);
    parameters.white = 0.18 * world.back() / average;
    display = reinhard_display_luminance(world, 200, 1, parameters);
    EXPECT_NEAR(display.back(), 1.0, 1e-5);
}

TEST(ReinhardOperator, LocalOperatorKeepsDetailThatTheGlobalOneCompresses) {
    // A bright textured field (about 100 times the log average) next to a
    // dark one: the global curve flattens the texture, dodging keeps it.
    const int width = 128, height = 64;
    std::vector<float> world;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            world.push_back(x < 64 ? 1.0f : 1e4f * (1.0f + 0.2f * std::sin(x * 0.8f) * std::sin(y * 0.8f)));
    auto spread = [&](const std::vector<float>& display) {
        double lo = 1, hi = 0;
        for (int y = 16; y < 48; ++y)
            for (int x = 80; x < 112; ++x) {
                lo = std::min(lo, double(display[static_cast<size_t>(y * width + x)]));
                hi = std::max(hi, double(display[static_cast<size_t>(y * width + x)]));
            }
        return hi - lo;
    };
    ReinhardParameters parameters;
    const double global = spread(reinhard_display_luminance(world, width, height, parameters));
    parameters.local = true;
    const double local = spread(reinhard_display_luminance(world, width, height, parameters));
    EXPECT_LT(global, 0.03);
    EXPECT_GT(local, 5 * global);
}

TEST(ReinhardOperator, PictureWithoutLightGivesBlack) {
    const auto display = reinhard_display_luminance(uniform(8, 8, 0.0f), 8, 8, {});
    for (float v : display) EXPECT_EQ(v, 0.0f);
}

TEST(ReinhardOperator, RealPhotographsHaveTheirDocumentedLogAverages) {
    const PictureMessages messages = {"{file}: cannot open", "bad", "bad", "bad", "bad"};
    for (auto [name, expected] : {std::pair{"fisheye_photo_544.hdr", 13.672}, std::pair{"fisheye_photo_786.hdr", 1084.57}}) {
        const std::string path = shared_picture(name);
        if (path.empty()) GTEST_SKIP() << "shared pictures are not on this machine";
        FloatPicture picture;
        ASSERT_TRUE(read_float_picture(path, messages, picture).ok());
        std::vector<float> world(picture.size());
        for (size_t i = 0; i < world.size(); ++i)
            world[i] = static_cast<float>(179.0 / picture.exposure *
                                          radiance_brightness(picture.red[i], picture.green[i], picture.blue[i]));
        EXPECT_NEAR(log_average_luminance(world), expected, expected * 1e-4) << name;
    }
}

}  // namespace
