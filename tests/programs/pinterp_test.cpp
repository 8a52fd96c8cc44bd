// pinterp as the projection uses it: an angular fisheye picture seen again
// as a hemispherical one. The documented small example pixel for pixel, the
// header (one top-level exposure, none nested), sizes, the circle, known
// directions, the figures of two real fisheye photographs, and failures.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <numbers>

#include "common/physics.h"
#include "picture/projection_size.h"
#include "picture/resolution_line.h"
#include "picture/rgbe_reader.h"
#include "program_run.h"
#include "test_picture.h"
#include "tools/projection.h"

namespace {

const std::string angular_view = "VIEW= -vta -vh 180 -vv 180";
const std::string hemispherical_view =
    "VIEW= -vth -vp 0 0 0 -vd 0 1 0 -vu 0 0 1 -vh 180 -vv 180 -vo 0 -va 0 -vs 0 -vl 0";

// Input pixel number n (1 = top left) of the 4 x 4 example, and 0 = black.
RgbePixel numbered(int n) {
    if (n == 0) return {};
    const auto m = static_cast<uint8_t>(10 * n);
    return {m, m, m, 130};
}

std::vector<RgbePixel> numbered_pixels(const std::vector<int>& numbers) {
    std::vector<RgbePixel> pixels;
    for (int n : numbers) pixels.push_back(numbered(n));
    return pixels;
}

// The width and height of a written standard-orientation picture.
std::pair<int, int> size_of(const ReadPicture& picture) {
    const auto line = parse_resolution_line(picture.resolution);
    if (!line) return {0, 0};
    return {line->scanline_length, line->scanline_count};
}

// Whether the centre of pixel (x, r), r from the top, is inside the
// hemisphere's circle, and how far (in pixels) the pixel's nearest point
// lies beyond it.
double centre_radius(int x, int r, int width, int height) {
    return std::hypot((x + 0.5) / width - 0.5, (r + 0.5) / height - 0.5);
}
double pixels_beyond_circle(int x, int r, int width, int height) {
    const double dx = std::max(0.0, std::abs(x + 0.5 - width / 2.0) - 0.5);
    const double dy = std::max(0.0, std::abs(r + 0.5 - height / 2.0) - 0.5);
    return std::hypot(dx, dy) - width / 2.0;
}

// The exposure as the application reads it: every EXPOSURE= anywhere.
double application_exposure(const ReadPicture& picture) {
    double product = 1;
    for (const auto& line : picture.header)
        for (size_t at = line.find("EXPOSURE="); at != std::string::npos; at = line.find("EXPOSURE=", at + 1))
            product *= std::strtod(line.c_str() + at + 9, nullptr);
    return product;
}

struct CircleFigures {
    double pi_mean_lux = 0;  // pi times the mean luminance inside the circle
    int black_inside = 0;
    int lit_outside = 0;
};

CircleFigures circle_figures(const ReadPicture& picture) {
    const auto [width, height] = size_of(picture);
    CircleFigures figures;
    double sum = 0;
    long count = 0;
    for (int r = 0; r < height; ++r)
        for (int x = 0; x < width; ++x) {
            const RgbePixel& p = picture.pixels[static_cast<size_t>(r * width + x)];
            if (centre_radius(x, r, width, height) <= 0.5) {
                const RgbColor c = decode_rgbe(p);
                sum += physics::radiance_weight_red * c.r + physics::radiance_weight_green * c.g +
                       physics::radiance_weight_blue * c.b;
                ++count;
                if (p.e == 0) ++figures.black_inside;
            } else if (p.e != 0) {
                ++figures.lit_outside;
            }
        }
    figures.pi_mean_lux =
        std::numbers::pi * physics::luminous_efficacy * sum / static_cast<double>(count) / application_exposure(picture);
    return figures;
}

class Pinterp : public ::testing::Test {
protected:
    void SetUp() override {
        std::vector<int> numbers;
        for (int n = 1; n <= 16; ++n) numbers.push_back(n);
        write_file(folder / "a4.hdr", picture_file({angular_view}, "-Y 4 +X 4", numbered_pixels(numbers), 4, false));
    }

    // Runs the projection in the application's form on `name`.
    ReadPicture project(const std::string& name, int x, int y, const std::string& extra = "") {
        const std::string line = "pinterp  -vf " + name + " -vth  -x " + std::to_string(x) + " -y " +
                                 std::to_string(y) + " -ff " + extra + name + " 1 > out.hdr";
        const auto run = run_in(folder, line);
        EXPECT_EQ(run.status, 0) << line;
        EXPECT_EQ(run.out + run.err, "") << line;
        return read_picture(folder / "out.hdr");
    }

    TempFolder folder;
};

TEST_F(Pinterp, WritesTheNestedHeaderTheCommandAndTheHemisphericalView) {
    const auto out = project("a4.hdr", 4, 4);
    ASSERT_TRUE(out.ok);
    ASSERT_EQ(out.header.size(), 8u);
    EXPECT_EQ(out.header[0], "#?RADIANCE");
    EXPECT_EQ(out.header[1].rfind("CAPDATE= ", 0), 0u);
    EXPECT_EQ(out.header[2].rfind("GMT= ", 0), 0u);
    EXPECT_EQ(std::vector<std::string>(out.header.begin() + 3, out.header.end()),
              (std::vector<std::string>{"a4.hdr:", "\t" + angular_view, "pinterp -vf a4.hdr -vth -x 4 -y 4 -ff a4.hdr 1",
                                        hemispherical_view, "FORMAT=32-bit_rle_rgbe"}));
    EXPECT_EQ(out.resolution, "-Y 4 +X 4");
}

TEST_F(Pinterp, ReproducesTheSmallExamplePixelForPixel) {
    EXPECT_EQ(project("a4.hdr", 4, 4).pixels, numbered_pixels({0, 2, 3, 0,  //
                                                               5, 6, 7, 8,  //
                                                               9, 10, 11, 12,  //
                                                               0, 14, 15, 0}));
    EXPECT_EQ(project("a4.hdr", 8, 8).pixels, numbered_pixels({0, 0, 2, 2, 2, 3, 0, 0,  //
                                                               0, 0, 6, 6, 6, 7, 7, 0,  //
                                                               5, 5, 6, 6, 6, 7, 7, 8,  //
                                                               9, 9, 10, 10, 10, 11, 11, 12,  //
                                                               9, 9, 10, 10, 10, 11, 11, 12,  //
                                                               9, 9, 10, 10, 10, 11, 11, 12,  //
                                                               0, 0, 14, 14, 14, 15, 0, 0,  //
                                                               0, 0, 14, 14, 14, 15, 0, 0}));
}

TEST_F(Pinterp, StatesTheInputExposureOnceAtTopLevelAndNeverNested) {
    const auto pixels = position_pixels(20, 20);
    write_file(folder / "e.hdr", picture_file({"EXPOSURE=2", "CAMERA= test", angular_view + " -vd 0 0 1 -vu 0 1 0",
                                               "EXPOSURE=1.5"},
                                              "-Y 20 +X 20", pixels, 20));
    const auto out = project("e.hdr", 20, 20);
    ASSERT_TRUE(out.ok);
    EXPECT_EQ(std::vector<std::string>(out.header.begin() + 3, out.header.end()),
              (std::vector<std::string>{"e.hdr:", "\tCAMERA= test", "\t" + angular_view + " -vd 0 0 1 -vu 0 1 0",
                                        "pinterp -vf e.hdr -vth -x 20 -y 20 -ff e.hdr 1",
                                        "VIEW= -vth -vp 0 0 0 -vd 0 0 1 -vu 0 1 0 -vh 180 -vv 180 -vo 0 -va 0 "
                                        "-vs 0 -vl 0",
                                        "EXPOSURE=3.000000e+00", "FORMAT=32-bit_rle_rgbe"}));
    // The application's reader multiplies every EXPOSURE= it finds.
    const auto map = load_luminance_map((folder / "out.hdr").string());
    ASSERT_TRUE(map.ok());
    EXPECT_FLOAT_EQ(map.value().exposure, 3.0f);

    // Even a factor within half a per cent is kept, or it would be lost.
    write_file(folder / "small.hdr", picture_file({"EXPOSURE=1.003", angular_view}, "-Y 20 +X 20", pixels, 20));
    EXPECT_TRUE(has_line(project("small.hdr", 20, 20), "EXPOSURE=1.003000e+00"));
}

TEST_F(Pinterp, OutputSizeIsTheLargestSquareWithinTheRequest) {
    write_file(folder / "u.hdr", picture_file({angular_view}, "-Y 50 +X 50",
                                              std::vector<RgbePixel>(2500, RgbePixel{100, 120, 140, 129}), 50));
    EXPECT_EQ(project("u.hdr", 1000, 1000).resolution, "-Y 1000 +X 1000");
    EXPECT_EQ(project("u.hdr", 800, 400).resolution, "-Y 400 +X 400");
    EXPECT_EQ(project("u.hdr", 37, 90).resolution, "-Y 37 +X 37");
    // A view half as high: sin 45 / sin 90 of the width.
    write_file(folder / "half.hdr", picture_file({"VIEW= -vta -vh 180 -vv 90"}, "-Y 25 +X 50",
                                                 std::vector<RgbePixel>(1250, RgbePixel{100, 120, 140, 129}), 50));
    EXPECT_EQ(project("half.hdr", 400, 400).resolution, "-Y 283 +X 400");
}

TEST_F(Pinterp, TakesAnySizeWhosePictureIsWithinTheProjectionLimit) {
    // The Projections dialog lets 150000 x 10 through: the picture is 10 x 10.
    EXPECT_EQ(project("a4.hdr", 150000, 10).resolution, "-Y 10 +X 10");
    EXPECT_EQ(projected_size(150000, 10).width, 10u);
    // 17000 x 17000 is beyond the limit, and so refused before any work.
    ASSERT_FALSE(projection_size_fits(17000, 17000));
    const auto run = run_in(folder, "pinterp -vf a4.hdr -vth -x 17000 -y 17000 -ff a4.hdr 1 > big.hdr");
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "pinterp: output of 17000 x 17000 pixels is larger than 268435456 pixels\n");
    EXPECT_NE(projection_size_problem(17000, 17000), "");
    EXPECT_EQ(projection_size_problem(150000, 10), "");
}

TEST_F(Pinterp, UniformPictureStaysUniformInsideTheCircleAndBlackOutside) {
    // The corners of a 180-degree angular picture look backwards: bright
    // there, they must not reach the output.
    const int n = 200;
    const RgbePixel grey{100, 120, 140, 129}, behind{255, 0, 0, 140};
    std::vector<RgbePixel> pixels;
    for (int r = 0; r < n; ++r)
        for (int x = 0; x < n; ++x) pixels.push_back(centre_radius(x, r, n, n) <= 0.5 ? grey : behind);
    write_file(folder / "u.hdr", picture_file({angular_view}, "-Y 200 +X 200", pixels, n));
    for (const std::string method : {"", "-bilinear "}) {
        for (int size : {1000, 317}) {
            const auto out = project("u.hdr", size, size, method);
            ASSERT_EQ(out.pixels.size(), static_cast<size_t>(size * size));
            int wrong_inside = 0, lit_outside = 0;
            for (int r = 0; r < size; ++r)
                for (int x = 0; x < size; ++x) {
                    const RgbePixel& p = out.pixels[static_cast<size_t>(r * size + x)];
                    // Splatting may leave rim cells empty and fill up to a
                    // pixel past the rim, as Radiance does.
                    if (centre_radius(x, r, size, size) * size < size / 2.0 - 1.5 && p != grey) ++wrong_inside;
                    if (pixels_beyond_circle(x, r, size, size) > 1 && p != RgbePixel{}) ++lit_outside;
                }
            EXPECT_EQ(wrong_inside, 0) << method << size;
            EXPECT_EQ(lit_outside, 0) << method << size;
        }
    }
}

TEST_F(Pinterp, KnownDirectionsLandOnTheirPixels) {
    // Input pixel centre at angle theta = pi * d from the axis (d its
    // distance from the centre in picture widths) appears at sin(theta) / 2
    // from the output's centre, in the same azimuth.
    const int n = 91, size = 300;
    const auto pixels = position_pixels(n, n);
    write_file(folder / "p.hdr", picture_file({angular_view}, "-Y 91 +X 91", pixels, n));
    const auto out = project("p.hdr", size, size);
    ASSERT_EQ(out.pixels.size(), static_cast<size_t>(size * size));
    int checked = 0;
    for (int r = 0; r < n; r += 3)
        for (int x = 0; x < n; x += 3) {
            const double u = (x + 0.5) / n - 0.5, w = (n - 1 - r + 0.5) / n - 0.5;
            const double d = std::hypot(u, w);
            if (d > 0.25) continue;  // within 45 degrees the output magnifies: no pixel is lost
            const double azimuth = std::atan2(w, u), radius = std::sin(std::numbers::pi * d) / 2;
            const int column = static_cast<int>((0.5 + radius * std::cos(azimuth)) * size);
            const int row = size - 1 - static_cast<int>((0.5 + radius * std::sin(azimuth)) * size);
            EXPECT_EQ(out.pixels[static_cast<size_t>(row * size + column)], pixels[static_cast<size_t>(r * n + x)])
                << "input " << x << "," << r;
            ++checked;
        }
    EXPECT_GT(checked, 150);

    // Turned 45 degrees to the right of the picture's axis, the output sees
    // that axis 45 degrees to its left: at p = 0.5 - sin(45) / 2.
    ASSERT_EQ(run_in(folder, "pinterp -vf p.hdr -vth -vd 1 1 0 -x 100 -y 100 -ff p.hdr 1 > turned.hdr").status, 0);
    const auto turned = read_picture(folder / "turned.hdr");
    EXPECT_TRUE(has_line(turned, "VIEW= -vth -vp 0 0 0 -vd 1 1 0 -vu 0 0 1 -vh 180 -vv 180 -vo 0 -va 0 -vs 0 -vl 0"));
    ASSERT_EQ(turned.pixels.size(), 10000u);
    EXPECT_EQ(turned.pixels[49 * 100 + 14], pixels[45 * n + 45]);
}

TEST_F(Pinterp, KeepingTheAngularViewGivesThePictureBack) {
    // Every pixel centre lands on its own cell, corners (looking backwards)
    // included; nothing is filled beyond it.
    const auto pixels = position_pixels(30, 30);
    write_file(folder / "p.hdr", picture_file({angular_view}, "-Y 30 +X 30", pixels, 30));
    ASSERT_EQ(run_in(folder, "pinterp -vf p.hdr -x 30 -y 30 -ff p.hdr 1 > same.hdr").status, 0);
    const auto same = read_picture(folder / "same.hdr");
    EXPECT_TRUE(has_line(same, "VIEW= -vta -vp 0 0 0 -vd 0 1 0 -vu 0 0 1 -vh 180 -vv 180 -vo 0 -va 0 -vs 0 -vl 0"));
    EXPECT_EQ(same.pixels, pixels);
}

TEST_F(Pinterp, HonoursThePictureOrientation) {
    // The same picture stored as columns from the bottom up (protate's
    // layout) projects to the same output; bilinear sampling does not
    // depend on the order in which the file is read.
    const int width = 40, height = 40;
    const auto rows = position_pixels(width, height);
    std::vector<RgbePixel> columns;
    for (int x = 0; x < width; ++x)
        for (int y = 0; y < height; ++y) columns.push_back(rows[static_cast<size_t>((height - 1 - y) * width + x)]);
    write_file(folder / "rows.hdr", picture_file({angular_view}, "-Y 40 +X 40", rows, width));
    write_file(folder / "columns.hdr", picture_file({angular_view}, "+X 40 +Y 40", columns, height));
    const auto a = project("rows.hdr", 64, 64, "-bilinear ");
    const auto b = project("columns.hdr", 64, 64, "-bilinear ");
    ASSERT_EQ(a.pixels.size(), 64u * 64u);
    EXPECT_EQ(a.pixels, b.pixels);
}

// The real photographs: pi times the mean luminance over the circle must stay
// within 0.5 % of the illuminance of the angular original, and within 0.05 %
// of what Radiance's pinterp gives (same splatting).
TEST_F(Pinterp, PhotographWithTheSunKeepsItsIlluminance) {
    const std::string photo = shared_picture("fisheye_photo_544.hdr");
    if (photo.empty()) GTEST_SKIP() << "fisheye_photo_544.hdr is not on this machine";
    write_file(folder / "t2.hdr", read_file(photo));
    const double angular_lux = 494.69;

    const auto out = project("t2.hdr", 544, 544);
    ASSERT_TRUE(out.ok);
    EXPECT_TRUE(has_line(out, "EXPOSURE=1.272428e+00"));
    int exposure_lines = 0;
    for (const auto& line : out.header) exposure_lines += line.find("EXPOSURE=") != std::string::npos;
    EXPECT_EQ(exposure_lines, 1);
    const auto figures = circle_figures(out);
    EXPECT_NEAR(figures.pi_mean_lux, 492.41, 492.41 * 0.0005);
    EXPECT_NEAR(figures.pi_mean_lux, angular_lux, angular_lux * 0.005);
    EXPECT_EQ(figures.black_inside, 0);
    EXPECT_EQ(figures.lit_outside, 900);

    const auto twice = circle_figures(project("t2.hdr", 1088, 1088));
    EXPECT_NEAR(twice.pi_mean_lux, 493.04, 493.04 * 0.0005);
    EXPECT_NEAR(twice.pi_mean_lux, angular_lux, angular_lux * 0.005);

    const auto bilinear = circle_figures(project("t2.hdr", 544, 544, "-bilinear "));
    EXPECT_NEAR(bilinear.pi_mean_lux, angular_lux, angular_lux * 0.005);
    EXPECT_EQ(bilinear.black_inside, 0);
    EXPECT_EQ(bilinear.lit_outside, 0);
}

TEST_F(Pinterp, OfficePhotographReheadedAs180DegreesKeepsItsIlluminance) {
    const std::string photo = shared_picture("fisheye_photo_786.hdr");
    if (photo.empty()) GTEST_SKIP() << "fisheye_photo_786.hdr is not on this machine";
    const std::string bytes = read_file(photo);
    const size_t data = bytes.find("\n\n");
    ASSERT_NE(data, std::string::npos);
    write_file(folder / "t1.hdr", "#?RADIANCE\n" + angular_view + "\n\n" + bytes.substr(data + 2));

    const auto out = project("t1.hdr", 786, 786);
    ASSERT_TRUE(out.ok);
    EXPECT_EQ(out.resolution, "-Y 786 +X 786");
    EXPECT_TRUE(has_line(out, hemispherical_view));
    EXPECT_EQ(application_exposure(out), 1.0);
    const auto figures = circle_figures(out);
    EXPECT_NEAR(figures.pi_mean_lux, 6097.3, 6097.3 * 0.0005);
    EXPECT_NEAR(figures.pi_mean_lux, 6096.7, 6096.7 * 0.005);
}

TEST_F(Pinterp, ReportsMissingFilesAndBadPicturesByName) {
    const auto missing = run_in(folder, "pinterp  -vf nosuch.hdr -vth  -x 4 -y 4 -ff nosuch.hdr 1 > out.hdr");
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.out + missing.err, "nosuch.hdr: No such file or directory\n");
    EXPECT_EQ(read_file(folder / "out.hdr"), "");

    write_file(folder / "plain.hdr", picture_file({"EXPOSURE=2"}, "-Y 4 +X 4", std::vector<RgbePixel>(16), 4));
    EXPECT_EQ(run_in(folder, "pinterp  -vf plain.hdr -vth  -x 4 -y 4 -ff plain.hdr 1 > out.hdr").err,
              "plain.hdr: bad view file\n");
    EXPECT_EQ(run_in(folder, "pinterp -vf a4.hdr -vth -x 4 -y 4 -ff plain.hdr 1 > out.hdr").err,
              "plain.hdr: picture format error\n");
    EXPECT_EQ(run_in(folder, "pinterp -vf a4.hdr -vth -x 4 -y 4 -ff nosuch.hdr 1 > out.hdr").err,
              "nosuch.hdr: No such file or directory\n");
    write_file(folder / "text.hdr", "hello\n\nthere\n");
    EXPECT_EQ(run_in(folder, "pinterp -vf a4.hdr -vth -x 4 -y 4 -ff text.hdr 1 > out.hdr").err,
              "text.hdr: picture format error\n");
    write_file(folder / "cut.hdr", "#?RADIANCE\n" + angular_view + "\n\n-Y 2 +X 3\n");
    const auto cut = run_in(folder, "pinterp  -vf cut.hdr -vth  -x 4 -y 4 -ff cut.hdr 1 > out.hdr");
    EXPECT_EQ(cut.status, 1);
    EXPECT_EQ(cut.err, "cut.hdr: read error\n");
    EXPECT_EQ(read_file(folder / "out.hdr"), "");
    write_file(folder / "flat.hdr", picture_file({"VIEW= -vtv -vh 40 -vv 40"}, "-Y 4 +X 4", std::vector<RgbePixel>(16), 4));
    EXPECT_EQ(run_in(folder, "pinterp -vf a4.hdr -vth -x 4 -y 4 -ff flat.hdr 1 > out.hdr").err,
              "flat.hdr: not a fisheye picture (-vta or -vth)\n");
}

TEST_F(Pinterp, RefusesBadOptionsAndViews) {
    auto error_of = [this](const std::string& line) {
        const auto run = run_in(folder, line + " > out.hdr");
        EXPECT_EQ(run.status, 1) << line;
        EXPECT_EQ(run.out, "") << line;
        return run.err;
    };
    EXPECT_EQ(error_of("pinterp -vf a4.hdr -vth -q -x 4 -y 4 -ff a4.hdr 1").rfind("Usage: pinterp", 0), 0u);
    EXPECT_EQ(error_of("pinterp -vf a4.hdr -vth -x 4 -y 4 -ff a4.hdr").rfind("Usage: pinterp", 0), 0u);
    EXPECT_EQ(error_of("pinterp -vf a4.hdr -vth -x 4 -y").rfind("Usage: pinterp", 0), 0u);
    EXPECT_EQ(error_of("pinterp -vf a4.hdr -vth -x abc -y 4 -ff a4.hdr 1"), "pinterp: bad value for -x: abc\n");
    EXPECT_EQ(error_of("pinterp -vf a4.hdr -vth -x 4 -y 0 -ff a4.hdr 1"), "pinterp: bad value for -y: 0\n");
    EXPECT_EQ(error_of("pinterp -vf a4.hdr -vth -vh wide -ff a4.hdr 1"), "pinterp: bad value for -vh: wide\n");
    EXPECT_EQ(error_of("pinterp -vf a4.hdr -vtq -ff a4.hdr 1"), "pinterp: unknown view type: -vtq\n");
    EXPECT_EQ(error_of("pinterp -vf a4.hdr -vth -x 4 -y 4 -ff a4.hdr depth.zbf"),
              "pinterp: depth must be a positive number: depth.zbf\n");
    EXPECT_EQ(error_of("pinterp -vf a4.hdr -vth -vh 200 -ff a4.hdr 1"), "pinterp: illegal hemispherical view angle\n");
    EXPECT_EQ(error_of("pinterp -vf a4.hdr -vtv -vh 60 -vv 60 -ff a4.hdr 1"),
              "pinterp: output view must be a fisheye view (-vta or -vth)\n");
    EXPECT_EQ(error_of("pinterp -vf a4.hdr -vth -vp 1 0 0 -ff a4.hdr 1"),
              "pinterp: output view must share the picture's viewpoint\n");
}

}  // namespace
