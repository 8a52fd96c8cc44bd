// evalglare against the figures printed by the reference evalglare 2.10 on
// the Radiance test pictures (skipped where those are not on this machine)
// and on the synthetic scenes S1 to S3, within the agreed tolerances:
// DGP 0.002, DGI, UGR and CGI 0.05, VCP 0.5, Lveil 0.5 %, Ev 0.1 %.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "glare_run.h"
#include "glare_scenes.h"
#include "lib/glare_analysis.h"
#include "lib/luminance_picture.h"
#include "test_picture.h"

namespace {

const std::string office = "fisheye_photo_786.hdr";  // T1
const std::string sunny = "fisheye_photo_544.hdr";   // T2

struct ReferenceRow {
    std::string picture;  // a shared picture, "S1".."S3", or "T1-180"
    std::string options;
    std::array<double, 6> figures;  // dgp dgi ugr vcp cgi Lveil
};

std::ostream& operator<<(std::ostream& os, const ReferenceRow& row) {
    return os << row.picture << " [" << row.options << "]";
}

// The header's EXPOSURE= value divided by `divisor`.
std::string exposure_divided(std::string bytes, double divisor) {
    const size_t key = bytes.find("\nEXPOSURE=") + 10;
    const size_t end = bytes.find('\n', key);
    const double value = std::stod(bytes.substr(key, end - key)) / divisor;
    return bytes.replace(key, end - key, std::to_string(value));
}

// Puts the row's picture into the folder as p.hdr; false when unavailable.
// Besides the shared pictures and the synthetic scenes: "T1 turned" (our
// protate, which agrees with Radiance's byte for byte), "T1 503" (pfilt -1
// -x 503 -y 503), "<picture> /40" (its EXPOSURE value divided by 40).
bool provide_picture(const TempFolder& folder, const std::string& name) {
    if (name == "T1 turned" || name == "T1 503") {
        const std::string path = shared_picture(office);
        if (path.empty()) return false;
        const auto run = run_in(folder, (name == "T1 turned" ? "protate '" + path + "' p.hdr"
                                                             : "pfilt -1 -x 503 -y 503 '" + path + "' > p.hdr"));
        return run.status == 0;
    }
    if (name.ends_with(" /40")) {
        const std::string path = shared_picture(name.substr(0, name.size() - 4));
        if (path.empty()) return false;
        write_file(folder / "p.hdr", exposure_divided(read_file(path), 40));
        return true;
    }
    if (name.size() == 2 && name[0] == 'S') {
        write_file(folder / "p.hdr", reference_scene(name[1] - '0'));
        return true;
    }
    const std::string path = shared_picture(name == "T1-180" ? office : name);
    if (path.empty()) return false;
    std::string bytes = read_file(path);
    if (name == "T1-180") {
        // The header rewrite of the application: only the view, 180°.
        const size_t end = bytes.find("\n\n");
        bytes = "#?RADIANCE\nFORMAT=32-bit_rle_rgbe\nVIEW= -vta -vh 180 -vv 180" + bytes.substr(end);
    }
    write_file(folder / "p.hdr", bytes);
    return true;
}

class EvalglareReference : public ::testing::TestWithParam<ReferenceRow> {
protected:
    TempFolder folder;
};

TEST_P(EvalglareReference, PrintsTheReferenceFiguresWithinTolerance) {
    const ReferenceRow& row = GetParam();
    if (!provide_picture(folder, row.picture)) GTEST_SKIP() << "no test pictures on this machine";
    const auto g = run_glare(folder, row.options + " p.hdr");
    ASSERT_TRUE(g.printed) << g.run.out << g.run.err;
    const auto& want = row.figures;
    EXPECT_NEAR(g.dgp, want[0], 0.002);
    EXPECT_NEAR(g.dgi, want[1], 0.05);
    EXPECT_NEAR(g.ugr, want[2], 0.05);
    EXPECT_NEAR(g.vcp, want[3], 0.5);
    EXPECT_NEAR(g.cgi, want[4], 0.05);
    EXPECT_NEAR(g.veil, want[5], 0.005 * want[5] + 1e-6);
}

const std::array<double, 6> office_default = {0.528903, 19.590622, 25.681599, 2.746814, 32.465382, 660.740723};
const std::array<double, 6> office_180 = {0.527352, 19.605034, 25.676382, 2.761798, 32.464714, 654.933350};

INSTANTIATE_TEST_SUITE_P(
    OfficeOptions, EvalglareReference,
    ::testing::Values(
        ReferenceRow{office, "", office_default}, ReferenceRow{office, "-x", office_default},
        ReferenceRow{office, "-y", office_default}, ReferenceRow{office, "-r 0.1", office_default},
        ReferenceRow{office, "-Y 20000", {0.529037, 19.890623, 25.732048, 8.069040, 32.515831, 660.240112}},
        ReferenceRow{office, "-s", {0.528859, 19.964962, 26.168238, 2.292854, 32.610619, 712.420471}},
        ReferenceRow{office, "-r 0.3", {0.528903, 19.589249, 25.681541, 0.000000, 32.465324, 660.757080}},
        ReferenceRow{office, "-b 5", {0.520582, 10.437589, 15.412803, 65.567383, 19.788952, 26.531713}},
        ReferenceRow{office, "-b 1000", {0.533373, 23.016930, 30.125500, 0.000000, 34.561405, 1226.601685}},
        ReferenceRow{office, "-b 3000", {0.531169, 19.449091, 25.256748, 1.553291, 32.698158, 536.282043}},
        ReferenceRow{office, "-T 393 393 0.5", {0.519059, 5.798009, 10.515636, 77.635818, 14.005884, 4.259043}},
        ReferenceRow{office, "-T 393 300 0.6 -b 3",
                     {0.528547, 20.575544, 27.124514, 2.883813, 32.750603, 879.925049}},
        ReferenceRow{office, "-T 393 300 0.6 -b 4000",
                     {0.530493, 18.169672, 23.738134, 0.913001, 31.398767, 363.102783}},
        ReferenceRow{office, "-G 1", {0.532650, 20.638550, 26.618341, 1.970228, 33.593105, 675.248962}},
        ReferenceRow{office, "-G 2", {0.532250, 19.976248, 25.584036, 0.000000, 33.028549, 739.285645}},
        ReferenceRow{office, "-i 5000", {0.466877, 19.590622, 25.681599, 2.746814, 32.465382, 660.740723}},
        ReferenceRow{office, "-I 5000 -x", {0.466877, 19.590622, 25.681599, 2.746814, 32.465382, 660.740723}},
        ReferenceRow{office, "-vta -vv 180 -vh 180", office_180},
        ReferenceRow{office, "-vth -vv 180 -vh 180",
                     {0.478816, 19.956888, 25.598993, 1.525911, 32.416328, 582.921753}}));

INSTANTIATE_TEST_SUITE_P(
    OtherPictures, EvalglareReference,
    ::testing::Values(
        ReferenceRow{sunny, "", {0.289477, 22.597664, 26.964407, 1.104166, 30.143173, 16.013206}},
        ReferenceRow{sunny, "-b 5", {0.288130, 23.488815, 28.384932, 0.907265, 30.849430, 64.126999}},
        ReferenceRow{"S1", "", {0.342063, 0, 0, 100, 0, 0}}, ReferenceRow{"S2", "", {0.343133, 0, 0, 100, 0, 0}},
        ReferenceRow{"S3", "", {0.387171, 14.810145, 20.232096, 26.324181, 25.671759, 106.652237}},
        ReferenceRow{"T1-180", "", office_180}));

// Pictures that the reference reads otherwise than by the picture's true
// orientation (turned), with a tilted view and -vu 0 0 1 (the renders), or
// with single bright pixels on the rim whose solid angles tie (503).
INSTANTIATE_TEST_SUITE_P(
    TurnedTiltedAndTied, EvalglareReference,
    ::testing::Values(
        ReferenceRow{"T1 turned", "", {0.522620, 16.072163, 22.164282, 13.323437, 28.948065, 660.740723}},
        ReferenceRow{"T1 turned", "-T 200 500 0.3",
                     {0.522687, 16.177572, 22.285648, 12.895174, 29.029205, 667.207458}},
        ReferenceRow{"T1 503", "-Y 5000", {0.530650, 21.633545, 26.619495, 11.009484, 33.398640, 650.605530}},
        ReferenceRow{"inst_fish.hdr /40", "", {0.441562, 25.562090, 31.142904, 3.041665, 36.937424, 319.002808}},
        ReferenceRow{"inst_fish.hdr /40", "-b 5", {0.442761, 25.540819, 30.995298, 1.741898, 36.955551, 300.949188}},
        ReferenceRow{"glass_fish.hdr /40", "", {0.261506, 18.970646, 22.654682, 11.758957, 26.517771, 83.493980}},
        ReferenceRow{"glass_fish.hdr /40", "-b 5",
                     {0.263724, 19.730215, 23.427574, 9.576518, 27.139427, 105.585533}}));

class EvalglareReferenceIlluminance : public ::testing::TestWithParam<std::pair<std::string, double>> {
protected:
    TempFolder folder;
};

TEST_P(EvalglareReferenceIlluminance, MatchesTheReferenceEv) {
    const auto& [picture, ev] = GetParam();
    if (!provide_picture(folder, picture)) GTEST_SKIP() << "no test pictures on this machine";
    EXPECT_NEAR(run_glare_illuminance(folder, "p.hdr"), ev, ev * 1e-3);
}

INSTANTIATE_TEST_SUITE_P(AllPictures, EvalglareReferenceIlluminance,
                         ::testing::Values(std::make_pair(office, 6124.94), std::make_pair(sunny, 494.687),
                                           std::make_pair(std::string("S1"), 3118.625),
                                           std::make_pair(std::string("S2"), 3136.842),
                                           std::make_pair(std::string("S3"), 3719.181),
                                           std::make_pair(std::string("T1-180"), 6096.806)));

TEST(EvalglareReferenceDetails, OfficeSceneAndSourcesMatchTheDetailedReference) {
    const std::string path = shared_picture(office);
    if (path.empty()) GTEST_SKIP() << "no test pictures on this machine";
    LuminancePicture picture;
    ASSERT_TRUE(read_luminance_picture(path, picture).ok());
    View view;
    apply_view_options(view, "-vta -vv 182 -vh 182 -vp 0 0 0 -vd 0 0 1 -vu 0 1 0");
    GlareAnalysis a;
    ASSERT_TRUE(analyse_glare(picture.luminance, view, *ViewProjection::make(view, picture.width, picture.height),
                              row_layout(picture.resolution), GlareOptions{}, a)
                    .ok());
    EXPECT_NEAR(a.average, 1729.70, 1.73);
    EXPECT_NEAR(a.illuminance, 6124.94, 6.1);
    EXPECT_NEAR(a.background, 551.29, 0.55);
    EXPECT_NEAR(a.direct_illuminance, 4393.02, 4.4);
    ASSERT_EQ(a.summaries.size(), 3u);
    // The window, then two specks low on the left, the larger first.
    auto summaries = a.summaries;
    std::sort(summaries.begin(), summaries.end(),
              [](const auto& x, const auto& y) { return x.solid_angle > y.solid_angle; });
    const auto& window = summaries[0];
    EXPECT_NEAR(window.luminance, 3901.19, 3.9);
    EXPECT_NEAR(window.solid_angle, 1.815035, 1.8e-3);
    EXPECT_NEAR(window.position_index, 2.7786, 1e-3);
    EXPECT_NEAR(window.angles.off_axis, 40.65, 0.01);
    for (const auto& [speck, luminance, omega] :
         {std::tuple{summaries[1], 2041.71, 7.517e-5}, std::tuple{summaries[2], 2034.24, 3.548e-5}}) {
        EXPECT_NEAR(speck.luminance, luminance, 2);
        EXPECT_NEAR(speck.solid_angle, omega, 1e-7);
    }
}

TEST(EvalglareReferenceDetails, OfficeCheckPictureRecoloursBlackensAndKeepsTheReferenceCounts) {
    const std::string path = shared_picture(office);
    if (path.empty()) GTEST_SKIP() << "no test pictures on this machine";
    TempFolder folder;
    ASSERT_TRUE(run_glare(folder, "-c chk.hdr -x " + path).printed);
    const auto input = read_picture(path), chk = read_picture(folder / "chk.hdr");
    ASSERT_TRUE(input.ok && chk.ok);
    ASSERT_EQ(chk.pixels.size(), input.pixels.size());
    size_t same = 0, zeroed = 0, coloured = 0;
    for (size_t k = 0; k < chk.pixels.size(); ++k) {
        const RgbePixel &a = input.pixels[k], &b = chk.pixels[k];
        same += a == b;
        zeroed += b.e == 0 && a.e != 0;
        coloured += b.e != 0 && !(b.r == b.g && b.g == b.b);
    }
    EXPECT_EQ(same, 475505u);
    EXPECT_EQ(zeroed, 11341u);
    EXPECT_EQ(coloured, 130950u);
}

TEST(EvalglareReferenceDetails, OfficeRefusesAPerspectiveAndAParallelView) {
    const std::string path = shared_picture(office);
    if (path.empty()) GTEST_SKIP() << "no test pictures on this machine";
    TempFolder folder;
    EXPECT_FALSE(run_glare(folder, "-vtv -vv 60 -vh 60 " + path).printed);
    EXPECT_FALSE(run_glare(folder, "-vtl -vv 60 -vh 60 " + path).printed);
}

}  // namespace
