// pcond on synthetic pictures: the linear cases with their exact factors,
// histogram adjustment's shape, dim scenes, switch toggling, the header, and
// failures.

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>

#include "lib/rgbe_color.h"
#include "program_run.h"
#include "test_picture.h"

namespace {

constexpr double weight_r = 0.265074126, weight_g = 0.670114631, weight_b = 0.064811243;

double brightness(const RgbePixel& p) {
    const Color3 c = decode_color(p);
    return weight_r * c.r + weight_g * c.g + weight_b * c.b;
}

// A grey pixel of `luminance` cd/m² at exposure 1.
RgbePixel grey(double luminance) {
    const float v = static_cast<float>(luminance / 179.0);
    return encode_color(v, v, v);
}

// A dark room whose pixels lie anywhere between 1e-6 and 1e-3 cd/m² (a
// fixed pseudo-random choice), a window of 0.1 cd/m² and a dim red patch:
// every effect of -h has something to act on.
std::vector<RgbePixel> night_scene(int size) {
    std::vector<RgbePixel> pixels;
    uint32_t state = 12345;
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            state = state * 1664525u + 1013904223u;
            const double share = (state >> 8) / double(1 << 24);
            const double dx = x - size * 0.7, dy = y - size * 0.3;
            if (dx * dx + dy * dy < size * size / 100.0)
                pixels.push_back(grey(0.1));
            else if (x < size / 3 && y > size * 2 / 3)
                pixels.push_back(encode_color(2e-4f / 179, 5e-5f / 179, 2e-5f / 179));
            else
                pixels.push_back(grey(1e-6 * std::pow(10.0, 3 * share)));
        }
    return pixels;
}

// The value of the output's EXPOSURE line, 0 without one.
double exposure_of(const ReadPicture& picture) {
    for (const auto& line : picture.header)
        if (line.rfind("EXPOSURE=", 0) == 0) return std::stod(line.substr(9));
    return 0;
}

class Pcond : public ::testing::Test {
protected:
    void SetUp() override {
        write_file(folder / "ones.hdr",
                   picture_file({"FORMAT=32-bit_rle_rgbe"}, "-Y 64 +X 64", std::vector<RgbePixel>(64 * 64, {128, 128, 128, 129}), 64));
        write_file(folder / "night.hdr", picture_file({}, "-Y 160 +X 160", night_scene(160), 160));
    }
    ReadPicture run_ok(const std::string& arguments, const std::string& output = "o.hdr") {
        const auto run = run_in(folder, "pcond " + arguments + " > " + output);
        EXPECT_EQ(run.status, 0) << arguments;
        EXPECT_EQ(run.out + run.err, "") << arguments;
        return read_picture(folder / output);
    }
    TempFolder folder;
};

TEST_F(Pcond, UniformPictureIsScaledLinearlyToTheMiddleOfTheDisplay) {
    // Raw 1.0039 is 179.7 cd/m²: its log average goes to 10 cd/m², a tenth
    // of the display's maximum.
    auto out = run_ok("ones.hdr");
    EXPECT_NEAR(exposure_of(out), 0.0996109, 1e-7);
    for (const auto& p : out.pixels) ASSERT_EQ(p, out.pixels[0]);
    EXPECT_NEAR(brightness(out.pixels[0]), 0.0998, 5e-4);
    // With contrast sensitivity the scale matches threshold contrasts.
    out = run_ok("-h ones.hdr");
    EXPECT_NEAR(exposure_of(out), 0.1920711, 1e-7);
    EXPECT_NEAR(brightness(out.pixels[0]), 0.1929, 1e-3);
}

TEST_F(Pcond, FixedExposureScalesStoredValuesAndRecordsTheProduct) {
    write_file(folder / "tiny.hdr", tiny_picture_bytes());
    const auto in = read_picture(folder / "tiny.hdr");
    struct Case {
        const char* option;
        float factor;
        const char* exposure;  // tiny's 2 times the factor
    };
    for (const Case& c : {Case{"-e 2", 2, "EXPOSURE=4.000000e+00"}, Case{"-e +1", 2, "EXPOSURE=4.000000e+00"},
                          Case{"-e -1", 0.5, "EXPOSURE=1.000000e+00"}}) {
        const auto out = run_ok(std::string(c.option) + " tiny.hdr");
        EXPECT_TRUE(has_line(out, c.exposure)) << c.option;
        ASSERT_EQ(out.pixels.size(), in.pixels.size());
        for (size_t i = 0; i < in.pixels.size(); ++i) {
            const Color3 v = decode_color(in.pixels[i]);
            EXPECT_EQ(out.pixels[i], encode_color(v.r * c.factor, v.g * c.factor, v.b * c.factor)) << c.option << i;
        }
    }
}

TEST_F(Pcond, LinearSwitchScalesByTheFactorItRecords) {
    const auto in = read_picture(folder / "night.hdr");
    const auto out = run_ok("-l night.hdr");
    ASSERT_EQ(out.header.size(), 4u);
    ASSERT_EQ(out.header[2].rfind("EXPOSURE=", 0), 0u);
    const double factor = std::stod(out.header[2].substr(9));
    EXPECT_GT(factor, 0);
    for (size_t i = 0; i < in.pixels.size(); i += 97) {
        const Color3 v = decode_color(in.pixels[i]);
        const float f = static_cast<float>(factor);
        EXPECT_NEAR(brightness(out.pixels[i]), brightness(encode_color(v.r * f, v.g * f, v.b * f)),
                    0.01 * brightness(out.pixels[i]) + 1e-9)
            << i;
    }
}

TEST_F(Pcond, HistogramAdjustmentIsMonotoneAndFillsTheDisplayRange) {
    // Eight decades, 1e-3 to 1e5 cd/m², left to right.
    std::vector<RgbePixel> pixels;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 256; ++x) pixels.push_back(grey(std::pow(10.0, -3 + 8.0 * x / 255)));
    write_file(folder / "g.hdr", picture_file({}, "-Y 16 +X 256", pixels, 256));
    const auto out = run_ok("g.hdr");
    // Not linear: no exposure is recorded.
    EXPECT_EQ(out.header, (std::vector<std::string>{"#?RADIANCE", "pcond g.hdr", "FORMAT=32-bit_rle_rgbe"}));
    double previous = -1;
    for (int x = 0; x < 256; ++x) {
        const double y = brightness(out.pixels[static_cast<size_t>(8 * 256 + x)]);
        EXPECT_GE(y, previous) << x;
        EXPECT_LE(y, 1.0) << x;
        previous = y;
    }
    EXPECT_LT(brightness(out.pixels[8 * 256]), 0.01);
    EXPECT_GT(brightness(out.pixels[8 * 256 + 255]), 0.95);
}

TEST_F(Pcond, UniformPictureStaysUniformWithEveryEffect) {
    for (const char* options : {"-h", "-h -w", "-l -v"}) {
        const auto out = run_ok(std::string(options) + " ones.hdr");
        for (const auto& p : out.pixels) ASSERT_EQ(p, out.pixels[0]) << options;
    }
}

TEST_F(Pcond, SwitchesToggleAndHStandsForAcuityVeilSensitivityAndColour) {
    auto pixels = [&](const std::string& options) { return run_ok(options + " night.hdr").pixels; };
    const auto plain = pixels("");
    const auto all = pixels("-h");
    const auto without_acuity = pixels("-v -s -c");
    // Each effect changes this picture, so the comparisons below can fail.
    EXPECT_NE(all, without_acuity);
    for (const char* one : {"-a", "-v", "-s", "-c"}) EXPECT_NE(pixels(one), plain) << one;

    EXPECT_EQ(pixels("-h -a"), without_acuity);
    EXPECT_EQ(pixels("-a -v -s -c"), all);
    EXPECT_EQ(pixels("-h -h"), plain);
    EXPECT_EQ(pixels("-v -v"), plain);
    EXPECT_EQ(pixels("-a+ -a+"), pixels("-a"));
    EXPECT_EQ(pixels("-h -a-"), without_acuity);
    EXPECT_EQ(pixels("-a- -h"), all);
}

// Mean brightness of a square of the output.
double region(const ReadPicture& picture, int size, int x0, int y0, int x1, int y1) {
    double sum = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) sum += brightness(picture.pixels[static_cast<size_t>(y * size + x)]);
    return sum / (double(x1 - x0) * (y1 - y0));
}

TEST_F(Pcond, ColourLossTurnsTheDimPatchGrey) {
    const auto plain = run_ok("night.hdr");
    const auto greyed = run_ok("-c night.hdr");
    const Color3 before = decode_color(plain.pixels[static_cast<size_t>(140 * 160 + 20)]);
    const Color3 after = decode_color(greyed.pixels[static_cast<size_t>(140 * 160 + 20)]);
    EXPECT_GT(before.r, 3 * before.g);
    EXPECT_NEAR(after.r, after.g, 0.05 * after.r);
    EXPECT_NEAR(after.g, after.b, 0.05 * after.g);
}

TEST_F(Pcond, AcuityLossBlursTheDarkTextureButNotTheWindow) {
    const auto sharp = run_ok("night.hdr");
    const auto blurred = run_ok("-a night.hdr");
    // Mean relative difference of horizontally neighbouring pixels of the
    // dark room (the darkest of which map to black: no difference there).
    auto texture = [](const ReadPicture& p) {
        double sum = 0;
        int count = 0;
        for (int y = 60; y < 100; ++y)
            for (int x = 10; x < 50; ++x) {
                const double a = brightness(p.pixels[static_cast<size_t>(y * 160 + x)]);
                const double b = brightness(p.pixels[static_cast<size_t>(y * 160 + x + 1)]);
                if (a + b > 0) sum += std::fabs(a - b) / (a + b);
                ++count;
            }
        return sum / count;
    };
    EXPECT_GT(texture(sharp), 0.15);
    EXPECT_LT(texture(blurred), 0.5 * texture(sharp));
    // The window's middle is bright enough to be seen in full detail.
    EXPECT_EQ(blurred.pixels[static_cast<size_t>(48 * 160 + 112)], sharp.pixels[static_cast<size_t>(48 * 160 + 112)]);
}

TEST_F(Pcond, VeilBrightensTheDarkMostNearTheWindow) {
    const auto plain = run_ok("night.hdr");
    const auto veiled = run_ok("-v night.hdr");
    const double near_gain = region(veiled, 160, 100, 70, 124, 80) / region(plain, 160, 100, 70, 124, 80);
    const double far_gain = region(veiled, 160, 100, 140, 124, 150) / region(plain, 160, 100, 140, 124, 150);
    EXPECT_GT(near_gain, 1.0);
    EXPECT_GT(near_gain, 1.2 * far_gain);
}

TEST_F(Pcond, HeaderKeepsTheInputsLinesLessExposureFormatAndPrimaries) {
    std::vector<RgbePixel> pixels;
    for (int i = 0; i < 16 * 8; ++i) pixels.push_back(grey(i % 5 == 0 ? 5000 : 20 + i));
    write_file(folder / "h.hdr",
               picture_file({"FORMAT=32-bit_rle_rgbe", "EXPOSURE=2", "VIEW= -vta -vh 180 -vv 180",
                             "PRIMARIES= 0.64 0.33 0.29 0.6 0.15 0.06 0.3333 0.3333", "crop.hdr:", "\tEXPOSURE=0.5",
                             "SOFTWARE= test"},
                            "-Y 8 +X 16", pixels, 16));
    const auto out = run_ok("-l h.hdr");
    // The nested 0.5 counts: the exposure product is 1, as the application reads it.
    ASSERT_EQ(out.header.size(), 7u);
    EXPECT_EQ(std::vector<std::string>(out.header.begin(), out.header.begin() + 5),
              (std::vector<std::string>{"#?RADIANCE", "VIEW= -vta -vh 180 -vv 180", "crop.hdr:", "SOFTWARE= test",
                                        "pcond -l h.hdr"}));
    EXPECT_EQ(out.header[6], "FORMAT=32-bit_rle_rgbe");
    EXPECT_EQ(out.resolution, "-Y 8 +X 16");
    const auto in = read_picture(folder / "h.hdr");
    const double factor = brightness(out.pixels[1]) / brightness(in.pixels[1]);
    EXPECT_NEAR(std::stod(out.header[5].substr(9)), factor, 0.01 * factor);
    // With PRIMARIES the display values are kept within [0, 1].
    for (const auto& p : out.pixels) {
        const Color3 c = decode_color(p);
        EXPECT_LE(std::max({c.r, c.g, c.b}), 1.004f);
    }
}

TEST_F(Pcond, MapFileListsWorldAndDisplayLuminanceOfEveryBin) {
    run_ok("-x map.txt night.hdr");
    std::ifstream map((folder / "map.txt").string());
    double world, display, last_world = 0, last_display = 0;
    int lines = 0;
    while (map >> world >> display) {
        EXPECT_GT(world, last_world);
        EXPECT_GE(display, last_display);
        EXPECT_GE(display, 1.0);
        EXPECT_LE(display, 100.0);
        last_world = world;
        last_display = display;
        ++lines;
    }
    EXPECT_EQ(lines, 100);
    EXPECT_GT(last_display, 80.0);
}

TEST_F(Pcond, DisplayMaximumAndRangeSetTheLinearScale) {
    // The log average goes to sqrt(Ldmin Ldmax) and stored values are
    // fractions of Ldmax: the factor is sqrt(Ldmin / Ldmax) 179 / 179.7.
    const double unit = 179.0 / 179.69921875;
    EXPECT_NEAR(exposure_of(run_ok("-u 200 ones.hdr")), 0.1 * unit, 1e-6);
    EXPECT_NEAR(exposure_of(run_ok("-u 200 -d 200 ones.hdr")), std::sqrt(1 / 200.0) * unit, 1e-6);
    EXPECT_NEAR(exposure_of(run_ok("-d 400 ones.hdr")), 0.05 * unit, 1e-6);
}

TEST_F(Pcond, WritesANamedOutputFileAndKeepsATurnedPicturesResolution) {
    write_file(folder / "t.hdr", picture_file({}, "+X 32 +Y 16", position_pixels(16, 32), 16));
    const auto run = run_in(folder, "pcond t.hdr out.hdr");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out + run.err, "");
    const auto out = read_picture(folder / "out.hdr");
    EXPECT_EQ(out.resolution, "+X 32 +Y 16");
    EXPECT_EQ(out.pixels.size(), 512u);
}

// The luminance a grey pixel of `luminance` cd/m² reads back as.
double stored_luminance(double luminance) {
    return 179.0 * decode_color(grey(luminance)).g * (weight_r + weight_g + weight_b);
}

// Scenes mostly darker than a millionth of a candela: those pixels stay out
// of the histogram, so the rest of the scene decides the linear factor and
// the tone curve, as in the reference.
TEST_F(Pcond, LinearFactorComesFromThePartAboveAMillionthOfACandela) {
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

TEST_F(Pcond, ToneCurveSpreadsTheVisiblePartOverTheDisplay) {
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
    write_file(folder / "faint.hdr", picture_file({}, "-Y 64 +X 64", pixels, 64));
    const auto out = run_ok("faint.hdr");
    EXPECT_EQ(exposure_of(out), 0.0) << "scaled linearly";
    // Column 32: 10^0.032 cd/m², 50.8 % of the way up the gradient.
    const double expected = (std::exp(0.508 * std::log(100.0)) - 1) / 99;
    EXPECT_NEAR(brightness(out.pixels[63 * 64 + 32]), expected, 0.05 * expected);
    EXPECT_EQ(brightness(out.pixels[10 * 64 + 10]), 0.0);
    EXPECT_GT(brightness(out.pixels[63 * 64 + 63]), 0.98);
}

TEST_F(Pcond, AcuityLeavesAGradientAsItIsUpToItsBorders) {
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

TEST_F(Pcond, BlackPictureGivesBlackWithoutAnExposure) {
    write_file(folder / "b.hdr", picture_file({"EXPOSURE=3"}, "-Y 4 +X 9", std::vector<RgbePixel>(36), 9));
    const auto out = run_ok("-h b.hdr");
    EXPECT_EQ(out.header, (std::vector<std::string>{"#?RADIANCE", "pcond -h b.hdr", "FORMAT=32-bit_rle_rgbe"}));
    for (const auto& p : out.pixels) EXPECT_EQ(p, RgbePixel{});
}

struct Refusal {
    const char* arguments;
    int status;
    const char* message;
};

class PcondRefusal : public ::testing::TestWithParam<Refusal> {};

TEST_P(PcondRefusal, PrintsOneLineAndFails) {
    TempFolder folder;
    write_file(folder / "tiny.hdr", tiny_picture_bytes());
    write_file(folder / "text.hdr", "some text\n");
    const auto run = run_in(folder, std::string("pcond ") + GetParam().arguments + " > o.hdr");
    EXPECT_EQ(run.status, GetParam().status);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, std::string(GetParam().message) + "\n");
}

const char* const usage =
    "Usage: pcond [-h][-a][-v][-s][-c][-w][-l][-e factor][-u Ldmax][-d range][-x mapfile] picture [output]";

INSTANTIATE_TEST_SUITE_P(Failures, PcondRefusal,
                         ::testing::Values(Refusal{"none.hdr", 2, "pcond: none.hdr: No such file or directory"},
                                           Refusal{"text.hdr", 1, "pcond: text.hdr: not a Radiance picture"},
                                           Refusal{"-q tiny.hdr", 1, usage}, Refusal{"", 1, usage},
                                           Refusal{"-e tiny.hdr", 1, usage}, Refusal{"-e 0 tiny.hdr", 1, usage},
                                           Refusal{"-hx tiny.hdr", 1, usage},
                                           Refusal{"tiny.hdr a.hdr b.hdr", 1, usage}));

}  // namespace
