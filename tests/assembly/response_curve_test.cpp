// Response recovery from samples, response files, exposure times as text.

#include <gtest/gtest.h>

#include <cmath>

#include "assembly/response_curve.h"
#include "assembly/series_exposures.h"
#include "sensor_response.h"
#include "support/temp_folder.h"

namespace {

// Samples of a camera with the given curve: 120 signals spread over six
// decades, seen at exposures two stops apart, rounded to whole codes.
ResponseSamples samples_of(sim::SensorResponse response, int pictures) {
    ResponseSamples samples;
    for (int j = 0; j < pictures; ++j) samples.log_exposures.push_back(std::log(std::exp2(2.0 * j - 10)));
    for (int i = 0; i < 120; ++i) {
        const double radiance = std::pow(10.0, -3 + 6.0 * i / 119);
        for (int c = 0; c < 3; ++c)
            for (int j = 0; j < pictures; ++j) {
                const double signal = radiance * (c + 1) * 0.5 * std::exp(samples.log_exposures[j]);
                samples.positions[c].push_back(std::round(255 * sim::encode_signal(response, signal)));
            }
    }
    return samples;
}

TEST(ResponseRecovery, FindsTheCurveOfEachSimulatedToneCurveFromWholeCodes) {
    const std::pair<sim::SensorResponse, double> limits[] = {
        {sim::SensorResponse::srgb, 0.04}, {sim::SensorResponse::gamma22, 0.04}, {sim::SensorResponse::filmic, 0.15}};
    for (const auto& [response, limit] : limits) {
        auto recovered = recover_response(samples_of(response, 7));
        ASSERT_TRUE(recovered.ok());
        double worst = 0;
        for (int code = 16; code < clipped_node; ++code)
            for (int c = 0; c < 3; ++c)
                worst = std::max(worst, std::abs(recovered.value().curve.signal(c, code) /
                                                     sim::decode_signal(response, code / 255.0) -
                                                 1));
        EXPECT_LT(worst, limit) << static_cast<int>(response);
        EXPECT_LT(recovered.value().residual, 0.02);
        EXPECT_DOUBLE_EQ(recovered.value().curve.signal(1, 255), 1.0);
    }
}

TEST(ResponseRecovery, RefusesSamplesThatShowOneBrightnessOnly) {
    ResponseSamples samples;
    samples.log_exposures = {0, 1};
    for (auto& channel : samples.positions) channel.assign(20, 255.0);
    EXPECT_FALSE(recover_response(samples).ok());
}

TEST(ResponseFile, ReadsBackWhatItWrites) {
    TempFolder folder;
    auto recovered = recover_response(samples_of(sim::SensorResponse::gamma22, 5));
    ASSERT_TRUE(recovered.ok());
    write_file(folder / "curve.txt", response_file_text(recovered.value().curve));
    auto read = read_response_file((folder / "curve.txt").string());
    ASSERT_TRUE(read.ok()) << read.failure().message;
    for (int c = 0; c < 3; ++c)
        for (int z = 0; z < response_nodes; ++z)
            EXPECT_NEAR(read.value().log_signal[c][z], recovered.value().curve.log_signal[c][z], 1e-7);
}

TEST(ResponseFile, RefusesMissingCodesFallingCurvesAndText) {
    TempFolder folder;
    std::string text = response_file_text(linear_response());
    write_file(folder / "short.txt", text.substr(0, text.size() / 2));
    EXPECT_FALSE(read_response_file((folder / "short.txt").string()).ok());
    write_file(folder / "words.txt", "# curve\n0 a b c\n");
    auto words = read_response_file((folder / "words.txt").string());
    ASSERT_FALSE(words.ok());
    EXPECT_NE(words.failure().message.find("line 2"), std::string::npos);
    std::string falling = "0 0 0 0\n";
    for (int z = 1; z < 256; ++z) falling += std::to_string(z) + " -1 -1 -1\n";
    write_file(folder / "falling.txt", falling);
    EXPECT_FALSE(read_response_file((folder / "falling.txt").string()).ok());
    EXPECT_FALSE(read_response_file((folder / "absent.txt").string()).ok());
}

TEST(ExposureTimes, ReadAsACameraShowsThem) {
    EXPECT_DOUBLE_EQ(*parse_exposure_time("1/250"), 1.0 / 250);
    EXPECT_DOUBLE_EQ(*parse_exposure_time("0.5"), 0.5);
    EXPECT_DOUBLE_EQ(*parse_exposure_time("2"), 2.0);
    EXPECT_DOUBLE_EQ(*parse_exposure_time("1/3.2"), 1 / 3.2);
    for (const char* bad : {"", "x", "1/", "1/0", "-2", "0", "2s", "1/2/3"}) EXPECT_FALSE(parse_exposure_time(bad)) << bad;
    EXPECT_EQ(exposure_time_text(1.0 / 256), "1/256");
    EXPECT_EQ(exposure_time_text(1.0 / 322.5), "1/322");
    EXPECT_EQ(exposure_time_text(0.5), "0.5");
    EXPECT_EQ(exposure_time_text(4), "4");
}

}  // namespace
