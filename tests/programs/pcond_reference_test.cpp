// pcond on the two real fisheye photographs against the figures a Radiance
// 5.4a pcond printed for them: mean stored brightness within 0.05 %, pixels
// within about one RGBE step, linear factors to the digits printed and the
// tone curve closely. Drawing the same point samples and filtering the same
// foveal image as the reference is what makes these agree so closely.

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>

#include "lib/rgbe_color.h"
#include "program_run.h"
#include "test_picture.h"

namespace {

constexpr double mean_tolerance = 5e-4;   // relative
constexpr double exposure_tolerance = 1e-6;  // relative: the seven digits printed
constexpr double pixel_tolerance = 0.006;  // absolute, stored units

struct Pixel {
    int column, row;  // row from the top
    float r, g, b;
};

struct Figure {
    const char* picture;  // "office" (786 x 786), "sunset" (544 x 544) or "dim sunset"
    const char* options;
    double mean;                 // of 0.265 R + 0.670 G + 0.065 B
    double exposure = 0;  // of the EXPOSURE line; 0: there must be none; -1: one, of no documented value
    std::vector<Pixel> pixels = {};
};

std::ostream& operator<<(std::ostream& os, const Figure& f) { return os << f.picture << " '" << f.options << "'"; }

double brightness(const Color3& c) { return 0.265074126 * c.r + 0.670114631 * c.g + 0.064811243 * c.b; }

// The sunset photograph with its world luminance divided by 1000 (one more
// EXPOSURE line) and without its PRIMARIES line.
bool write_dim_sunset(const std::string& sunset, const std::filesystem::path& path) {
    const std::string bytes = read_file(sunset);
    const size_t end = bytes.find("\n\n");
    if (end == std::string::npos) return false;
    std::string header, line;
    for (size_t start = 0; start < end;) {
        const size_t stop = std::min(bytes.find('\n', start), end);
        line = bytes.substr(start, stop - start);
        if (line.rfind("PRIMARIES=", 0) != 0) header += line + "\n";
        start = stop + 1;
    }
    write_file(path, header + "EXPOSURE=1000" + bytes.substr(end));
    return true;
}

// The command's input file, made in `folder` when needed; "" when the shared
// pictures are missing.
std::string input_for(const std::string& name, const TempFolder& folder) {
    if (name == "office") return shared_picture("fisheye_photo_786.hdr");
    const std::string sunset = shared_picture("fisheye_photo_544.hdr");
    if (name == "sunset" || sunset.empty()) return sunset;
    return write_dim_sunset(sunset, folder / "dim.hdr") ? (folder / "dim.hdr").string() : "";
}

class PcondReference : public ::testing::TestWithParam<Figure> {};

TEST_P(PcondReference, MatchesTheFigure) {
    const Figure& f = GetParam();
    TempFolder folder;
    const std::string input = input_for(f.picture, folder);
    if (input.empty()) GTEST_SKIP() << "shared pictures are not on this machine";
    const auto run = run_in(folder, std::string("pcond ") + f.options + " " + input + " > o.hdr");
    ASSERT_EQ(run.status, 0);
    EXPECT_EQ(run.out + run.err, "");
    const auto out = read_picture(folder / "o.hdr");
    ASSERT_TRUE(out.ok);

    double sum = 0;
    for (const auto& p : out.pixels) sum += brightness(decode_color(p));
    EXPECT_NEAR(sum / double(out.pixels.size()), f.mean, mean_tolerance * f.mean);

    double exposure = 0;
    for (const auto& line : out.header)
        if (line.rfind("EXPOSURE=", 0) == 0) exposure = std::stod(line.substr(9));
    if (f.exposure < 0)
        EXPECT_GT(exposure, 0);
    else
        EXPECT_NEAR(exposure, f.exposure, exposure_tolerance * f.exposure);

    const int width = std::stoi(out.resolution.substr(out.resolution.rfind(' ') + 1));
    for (const Pixel& p : f.pixels) {
        const Color3 c = decode_color(out.pixels[static_cast<size_t>(p.row * width + p.column)]);
        EXPECT_NEAR(c.r, p.r, pixel_tolerance) << p.column << "," << p.row;
        EXPECT_NEAR(c.g, p.g, pixel_tolerance) << p.column << "," << p.row;
        EXPECT_NEAR(c.b, p.b, pixel_tolerance) << p.column << "," << p.row;
    }
}

const Pixel sunset_centre{272, 272, 0.9434f, 0.3965f, 0.2402f};
const std::vector<Pixel> sunset_h = {{272, 272, 1.0040f, 0.4492f, 0.2773f},
                                     {136, 272, 1.0040f, 0.6680f, 0.4961f},
                                     {272, 136, 0.4590f, 0.4473f, 0.5449f},
                                     {408, 272, 0.2764f, 0.1123f, 0.0693f},
                                     {272, 408, 0.0507f, 0.0287f, 0.0199f}};

INSTANTIATE_TEST_SUITE_P(
    Sunset, PcondReference,
    ::testing::Values(Figure{"sunset", "", 0.17325, 0, {sunset_centre}}, Figure{"sunset", "-a", 0.17325, 0, {sunset_centre}},
                      Figure{"sunset", "-h", 0.18898, 0, sunset_h}, Figure{"sunset", "-v", 0.18296},
                      Figure{"sunset", "-s", 0.17972}, Figure{"sunset", "-c", 0.17271}, Figure{"sunset", "-w", 0.14167},
                      Figure{"sunset", "-h -w", 0.15242}, Figure{"sunset", "-l", 0.27910, 1.300111},
                      Figure{"sunset", "-e 1", 0.27596, 1.272428}, Figure{"sunset", "-h -e 1", 0.28105, 1.272428}));

INSTANTIATE_TEST_SUITE_P(
    Office, PcondReference,
    ::testing::Values(Figure{"office", "", 0.13598, 0, {{393, 393, 0.2231f, 0.2231f, 0.2231f}}},
                      Figure{"office", "-a", 0.13598}, Figure{"office", "-c", 0.13598},
                      Figure{"office", "-h", 0.18521, 0, {{393, 393, 0.3525f, 0.3525f, 0.3525f}}},
                      Figure{"office", "-v", 0.18963}, Figure{"office", "-s", 0.16858}, Figure{"office", "-w", 0.11622},
                      Figure{"office", "-l", 0.12126, 0.01666827}, Figure{"office", "-e 1", 7.27322, 1.0}));

INSTANTIATE_TEST_SUITE_P(DimSunset, PcondReference,
                         ::testing::Values(Figure{"dim sunset", "", 0.17511},
                                           Figure{"dim sunset", "-c", 0.17023, 0, {{272, 272, 0.4307f, 0.4150f, 0.4092f}}},
                                           Figure{"dim sunset", "-h", 0.10310, -1}));

// World and display luminance of the tone curve's bins (-x), at the bins the
// reference listed.
void expect_curve(const std::string& options, const std::vector<std::pair<double, double>>& points) {
    const std::string sunset = shared_picture("fisheye_photo_544.hdr");
    if (sunset.empty()) GTEST_SKIP() << "shared pictures are not on this machine";
    TempFolder folder;
    ASSERT_EQ(run_in(folder, "pcond " + options + " -x map.txt " + sunset + " > o.hdr").status, 0);
    std::vector<std::pair<double, double>> curve;
    std::ifstream map((folder / "map.txt").string());
    for (double world, display; map >> world >> display;) curve.emplace_back(world, display);
    ASSERT_EQ(curve.size(), 100u);
    for (auto [world, display] : points) {
        bool found = false;
        for (auto [w, d] : curve)
            if (std::fabs(w - world) < 1e-4 * world) {
                found = true;
                EXPECT_NEAR(d, display, 5e-4 * display) << world;
            }
        EXPECT_TRUE(found) << world;
    }
}

TEST(PcondCurve, SunsetCurveMatchesTheReferenceTable) {
    expect_curve("", {{272.15, 69.551}, {306.06, 73.613}, {344.18, 77.814}, {10361.7, 99.924}});
}

TEST(PcondCurve, SunsetCurveWithHumanVisionMatchesTheReferenceTable) {
    expect_curve("-h", {{272.15, 71.75}, {880.42, 97.10}});
}

TEST(PcondCurve, OfficeWithExposureOneSaturatesMostPixels) {
    const std::string office = shared_picture("fisheye_photo_786.hdr");
    if (office.empty()) GTEST_SKIP() << "shared pictures are not on this machine";
    TempFolder folder;
    ASSERT_EQ(run_in(folder, "pcond -e 1 " + office + " > o.hdr && tm_linear -i o.hdr -o o.jpg").status, 0);
    const auto out = read_picture(folder / "o.hdr");
    size_t saturated = 0;
    for (const auto& p : out.pixels) saturated += brightness(decode_color(p)) >= 1 ? 1 : 0;
    EXPECT_NEAR(double(saturated) / double(out.pixels.size()), 0.77, 0.01);
}

}  // namespace
