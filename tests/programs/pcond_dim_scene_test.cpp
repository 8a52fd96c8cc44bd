// pcond on scenes mostly darker than a millionth of a candela: those pixels
// stay out of the histogram, so the rest of the scene decides the linear
// factor and the tone curve (what the reference does).

#include <gtest/gtest.h>

#include <cmath>

#include "lib/rgbe_color.h"
#include "program_run.h"
#include "test_picture.h"

namespace {

constexpr double weight_sum = 0.265074126 + 0.670114631 + 0.064811243;

RgbePixel grey(double luminance) {
    const float v = static_cast<float>(luminance / 179.0);
    return encode_color(v, v, v);
}

// The luminance a grey pixel of `luminance` reads back as.
double stored_luminance(double luminance) { return 179.0 * decode_color(grey(luminance)).g * weight_sum; }

double brightness(const RgbePixel& p) {
    const Color3 c = decode_color(p);
    return 0.265074126 * c.r + 0.670114631 * c.g + 0.064811243 * c.b;
}

double exposure_of(const ReadPicture& picture) {
    for (const auto& line : picture.header)
        if (line.rfind("EXPOSURE=", 0) == 0) return std::stod(line.substr(9));
    return 0;
}

class PcondDimScene : public ::testing::Test {
protected:
    ReadPicture run_ok(const std::string& arguments) {
        const auto run = run_in(folder, "pcond " + arguments + " > o.hdr");
        EXPECT_EQ(run.status, 0) << arguments;
        EXPECT_EQ(run.out + run.err, "") << arguments;
        return read_picture(folder / "o.hdr");
    }
    TempFolder folder;
};

TEST_F(PcondDimScene, LinearFactorComesFromThePartAboveAMillionthOfACandela) {
    // 64 x 64, no view: the upper half at 5e-7 cd/m², the lower at 1e-3.
    // The range starts one bin below 5e-7 (about 4.6e-7), and samples less
    // than 1e-6 cd/m² above that are left out: the log average is that of
    // the lower half alone, so the factor is 10 / 1e-3 * 179 / 100 and the
    // lower half comes out at 0.1. Counting the dim half as well would make
    // the picture sqrt(1e-3 / 5e-7), about 45 times, brighter.
    std::vector<RgbePixel> pixels;
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x) pixels.push_back(grey(y < 32 ? 5e-7 : 1e-3));
    write_file(folder / "dim.hdr", picture_file({}, "-Y 64 +X 64", pixels, 64));
    const auto out = run_ok("-l dim.hdr");
    EXPECT_NEAR(exposure_of(out), 17.9 / stored_luminance(1e-3), 1e-5 * exposure_of(out));
    EXPECT_NEAR(brightness(out.pixels[60 * 64 + 5]), 0.1, 0.001);
}

TEST_F(PcondDimScene, ToneCurveSpreadsTheVisiblePartOverTheDisplay) {
    // 63 rows at 5e-7 cd/m² and a last row rising evenly in log from 1e-2
    // to 1e2 cd/m². Without the dim rows the histogram holds the gradient
    // alone, under every ceiling, so the curve is straight in log across
    // it: the gradient's middle maps to the display's geometric middle,
    // 10 cd/m² of 1 to 100, stored (10 - 1) / 99 = 0.091, and the dim rows
    // to black. Counted, the dim rows would leave too little after the cuts
    // and the picture would be scaled linearly instead.
    std::vector<RgbePixel> pixels;
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x) pixels.push_back(grey(y < 63 ? 5e-7 : 1e-2 * std::pow(10.0, 4.0 * x / 63)));
    write_file(folder / "night.hdr", picture_file({}, "-Y 64 +X 64", pixels, 64));
    const auto out = run_ok("night.hdr");
    EXPECT_EQ(exposure_of(out), 0.0) << "scaled linearly";
    // Column 32: 10^0.032 cd/m², 50.8 % of the way up the gradient.
    const double expected = (std::exp(0.508 * std::log(100.0)) - 1) / 99;
    EXPECT_NEAR(brightness(out.pixels[63 * 64 + 32]), expected, 0.05 * expected);
    EXPECT_EQ(brightness(out.pixels[10 * 64 + 10]), 0.0);
    EXPECT_GT(brightness(out.pixels[63 * 64 + 63]), 0.98);
}

TEST_F(PcondDimScene, AcuityLeavesAGradientAsItIsUpToItsBorders) {
    // 256 x 256, no view, luminance rising linearly from 1e-3 to 1e-2 cd/m²
    // from left to right: dark enough for acuity loss (1 to 2 pixels per
    // cycle), and every level of the blur pyramid, sampled bilinearly and
    // continued linearly half a cell past the outer centres, reproduces a
    // linear ramp. So -a changes nothing, not even in the border columns
    // (holding the outer cells' values there would shift them by up to
    // 1.5 pixels of the ramp, 5 % at the dark edge).
    std::vector<RgbePixel> pixels;
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 256; ++x) pixels.push_back(grey(1e-3 + 9e-3 * (x + 0.5) / 256));
    write_file(folder / "ramp.hdr", picture_file({}, "-Y 256 +X 256", pixels, 256));
    const auto sharp = run_ok("ramp.hdr");
    const auto blurred = run_ok("-a ramp.hdr");
    ASSERT_EQ(sharp.pixels.size(), blurred.pixels.size());
    double worst = 0;
    for (size_t i = 0; i < sharp.pixels.size(); ++i) {
        const double a = brightness(sharp.pixels[i]), b = brightness(blurred.pixels[i]);
        worst = std::max(worst, std::fabs(a - b) / a);
    }
    EXPECT_LT(worst, 0.015);
    // The blur was at work: the picture's RGBE steps are smoothed away.
    EXPECT_NE(sharp.pixels, blurred.pixels);
}

}  // namespace
