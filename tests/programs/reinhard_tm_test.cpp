// ReinhardTM: world pictures to JPEG through the photographic operator, its
// options as the Reinhard dialog writes them, and failures that say
// "Unknown".

#include <gtest/gtest.h>

#include <cmath>

#include "jpeg_test_files.h"
#include "lib/rgbe_color.h"
#include "program_run.h"
#include "test_picture.h"

namespace {

// A grey pixel of `luminance` cd/m² at exposure 1.
RgbePixel grey(double luminance) {
    const float v = static_cast<float>(luminance / 179.0);
    return encode_color(v, v, v);
}

std::vector<RgbePixel> filled(int width, int height, RgbePixel pixel) {
    return std::vector<RgbePixel>(static_cast<size_t>(width) * height, pixel);
}

// Left half at `left`, right half at `right` cd/m², 64 x 32.
std::vector<RgbePixel> halves(double left, double right) {
    std::vector<RgbePixel> pixels;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 64; ++x) pixels.push_back(grey(x < 32 ? left : right));
    return pixels;
}

class ReinhardTM : public ::testing::Test {
protected:
    DecodedJpeg run_ok(const std::string& arguments) {
        const auto run = run_in(folder, "ReinhardTM " + arguments);
        EXPECT_EQ(run.status, 0) << arguments;
        EXPECT_EQ(run.out + run.err, "") << arguments;
        return decode_jpeg(folder / "o.jpg");
    }
    TempFolder folder;
};

TEST_F(ReinhardTM, UniformPictureShowsTheKeyAtTheDisplayGammaWithAndWithoutDodging) {
    write_file(folder / "u.hdr", picture_file({}, "-Y 24 +X 40", filled(40, 24, grey(350)), 40));
    for (const char* mode : {"", " -scale"}) {
        auto jpeg = run_ok(std::string("-i u.hdr -o o.jpg") + mode);
        ASSERT_TRUE(jpeg.ok);
        EXPECT_EQ(jpeg.width, 40);
        EXPECT_EQ(jpeg.height, 24);
        // 0.18 / 1.18 at gamma 1.6.
        EXPECT_NEAR(jpeg.mean(1), 79, 1.0) << mode;
        jpeg = run_ok(std::string("-i u.hdr -o o.jpg -gamma 2.2") + mode);
        EXPECT_NEAR(jpeg.mean(1), 108, 1.0) << mode;
    }
}

TEST_F(ReinhardTM, TakesTheDialogsCommandLineWithWindowsStyleNumbers) {
    write_file(folder / "u.hdr", picture_file({}, "-Y 24 +X 40", filled(40, 24, grey(350)), 40));
    auto jpeg = run_ok("-i u.hdr -o o.jpg -scale  -key 0.18 -white 1e+020 -gamma 1.6 -threshold 0.05");
    EXPECT_NEAR(jpeg.mean(0), 79, 1.0);
    // A key twice as high: 0.36 / 1.36 at gamma 1.6 gives byte 110.
    jpeg = run_ok("-key 0.36 -o o.jpg -i u.hdr");
    EXPECT_NEAR(jpeg.mean(0), 110, 1.0);
}

TEST_F(ReinhardTM, MapsTenAndAHundredTimesTheLogAverageToTheDocumentedBytes) {
    write_file(folder / "ten.hdr", picture_file({}, "-Y 32 +X 64", halves(10, 0.1), 64));
    auto jpeg = run_ok("-i ten.hdr -o o.jpg");
    EXPECT_NEAR(jpeg.mean(1, 8, 8, 24, 24), 194, 2.0);
    EXPECT_NEAR(jpeg.mean(1, 40, 8, 56, 24), 20, 2.0);
    write_file(folder / "hundred.hdr", picture_file({}, "-Y 32 +X 64", halves(100, 0.01), 64));
    jpeg = run_ok("-i hundred.hdr -o o.jpg");
    EXPECT_NEAR(jpeg.mean(1, 8, 8, 24, 24), 247, 2.0);
}

TEST_F(ReinhardTM, DividesByThePictureExposureIncludingNestedCopies) {
    // The stored values are 10 and 0.1 cd/m² times 4; two exposure lines (one
    // nested, as a crop leaves it) bring them back.
    std::vector<RgbePixel> pixels;
    for (const auto& p : halves(40, 0.4)) pixels.push_back(p);
    write_file(folder / "e.hdr", picture_file({"EXPOSURE=2", "crop.hdr:", "\tEXPOSURE=2"}, "-Y 32 +X 64", pixels, 64));
    // A white point at the scaled luminance of the bright half shows it white.
    const auto jpeg = run_ok("-i e.hdr -o o.jpg -white 1.8");
    EXPECT_NEAR(jpeg.mean(1, 8, 8, 24, 24), 255, 1.0);
    EXPECT_NEAR(jpeg.mean(1, 40, 8, 56, 24), 20, 2.0);
}

TEST_F(ReinhardTM, BrighterWorldGivesBrighterBytesAlongAGradient) {
    std::vector<RgbePixel> pixels;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 256; ++x) pixels.push_back(grey(std::pow(10.0, -1 + 5.0 * x / 255)));
    write_file(folder / "g.hdr", picture_file({}, "-Y 16 +X 256", pixels, 256));
    for (const char* mode : {"", " -scale"}) {
        const auto jpeg = run_ok(std::string("-i g.hdr -o o.jpg") + mode);
        double previous = -1;
        for (int x = 0; x < 256; x += 16) {
            const double level = jpeg.mean(1, x, 0, x + 16, 16);
            EXPECT_GT(level, previous) << mode << " at " << x;
            previous = level;
        }
    }
}

TEST_F(ReinhardTM, KeepsTheHueOfEachPixel) {
    write_file(folder / "c.hdr", picture_file({}, "-Y 16 +X 16", filled(16, 16, encode_color(2.0f, 1.0f, 0.5f)), 16));
    const auto jpeg = run_ok("-i c.hdr -o o.jpg -gamma 1");
    // Linear display (gamma 1): channels keep their ratios 4 : 2 : 1 of the
    // luminance 0.15254.
    const double y = 0.265074126 * 2 + 0.670114631 + 0.064811243 * 0.5;
    EXPECT_NEAR(jpeg.mean(0), 256 * 0.152542 * 2 / y, 2.0);
    EXPECT_NEAR(jpeg.mean(1), 256 * 0.152542 * 1 / y, 2.0);
    EXPECT_NEAR(jpeg.mean(2), 256 * 0.152542 * 0.5 / y, 2.0);
}

TEST_F(ReinhardTM, BlackPictureGivesABlackJpeg) {
    write_file(folder / "b.hdr", picture_file({}, "-Y 8 +X 8", filled(8, 8, RgbePixel{}), 8));
    const auto jpeg = run_ok("-i b.hdr -o o.jpg -scale");
    ASSERT_TRUE(jpeg.ok);
    EXPECT_NEAR(jpeg.mean(0), 0, 0.5);
}

struct Refusal {
    const char* arguments;
    const char* message;
};

class ReinhardRefusal : public ::testing::TestWithParam<Refusal> {};

TEST_P(ReinhardRefusal, SaysUnknownExitsOneAndLeavesNoOutput) {
    TempFolder folder;
    write_file(folder / "u.hdr", picture_file({}, "-Y 8 +X 8", filled(8, 8, grey(100)), 8));
    write_file(folder / "text.hdr", "not a picture at all\n");
    const auto run = run_in(folder, std::string("ReinhardTM ") + GetParam().arguments);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, std::string("ReinhardTM: ") + GetParam().message + "\n");
    EXPECT_FALSE(std::filesystem::exists(folder / "o.jpg"));
}

INSTANTIATE_TEST_SUITE_P(
    Failures, ReinhardRefusal,
    ::testing::Values(Refusal{"-i u.hdr -o o.jpg -x", "Unknown option: -x"},
                      Refusal{"-i u.hdr -o o.jpg extra", "Unknown option: extra"},
                      Refusal{"-o o.jpg", "Unknown usage: -i and -o are required"},
                      Refusal{"-i u.hdr -o o.jpg -key abc", "Unknown value for -key: abc"},
                      Refusal{"-i u.hdr -o o.jpg -key 0", "Unknown value for -key: 0"},
                      Refusal{"-i u.hdr -o o.jpg -white -5", "Unknown value for -white: -5"},
                      Refusal{"-i u.hdr -o o.jpg -gamma nan", "Unknown value for -gamma: nan"},
                      Refusal{"-i u.hdr -o o.jpg -threshold", "Unknown value for -threshold: missing"},
                      Refusal{"-i none.hdr -o o.jpg", "Unknown input: cannot open none.hdr"},
                      Refusal{"-i text.hdr -o o.jpg", "Unknown input format: text.hdr is not a Radiance picture"},
                      Refusal{"-i u.hdr -o none/o.jpg", "Unknown output: cannot write none/o.jpg"}));

TEST(ReinhardTMPhotograph, GivesAPictureOfTheSameSizeWithASensibleExposure) {
    const std::string photo = shared_picture("fisheye_photo_544.hdr");
    if (photo.empty()) GTEST_SKIP() << "shared pictures are not on this machine";
    TempFolder folder;
    for (const char* mode : {"", " -scale"}) {
        const auto run = run_in(folder, "ReinhardTM -i " + photo + " -o o.jpg" + mode);
        ASSERT_EQ(run.status, 0);
        const auto jpeg = decode_jpeg(folder / "o.jpg");
        ASSERT_EQ(jpeg.width, 544);
        ASSERT_EQ(jpeg.height, 544);
        // Inside the fisheye circle the scene sits in the middle of the
        // display range: neither crushed nor burnt out.
        const double middle = jpeg.mean(1, 172, 172, 372, 372);
        EXPECT_GT(middle, 60) << mode;
        EXPECT_LT(middle, 190) << mode;
    }
}

}  // namespace
