// evalglare on synthetic scenes with answers known in advance: a uniform
// field of view, one small bright source worked out by hand from the
// published formulas, and the options that change what is measured.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>

#include "glare_run.h"
#include "glare_scenes.h"
#include "lib/glare_analysis.h"
#include "test_picture.h"

namespace {

constexpr double pi = std::numbers::pi;
const std::string angular_view = "VIEW= -vta -vh 180 -vv 180";

class Evalglare : public ::testing::Test {
protected:
    TempFolder folder;
};

TEST_F(Evalglare, UniformHemisphereGivesPiTimesItsLuminanceAndNoSource) {
    write_file(folder / "u.hdr", scene_file({angular_view}, 200, 200, 1000));
    const double l = stored_luminance(1000);
    const double ev = run_glare_illuminance(folder, "u.hdr");
    EXPECT_NEAR(ev, pi * l, pi * l * 1e-3);
    const auto g = run_glare(folder, "u.hdr");
    ASSERT_TRUE(g.printed) << g.run.out << g.run.err;
    EXPECT_EQ(g.run.status, 0);
    EXPECT_EQ(g.run.err, "");
    EXPECT_NEAR(g.dgp, 5.87e-5 * ev + 0.159, 1e-6);
    EXPECT_EQ(g.figures(), (std::array<double, 6>{g.dgp, 0, 0, 100, 0, 0}));
}

TEST_F(Evalglare, PrintsOneLineInTheReferenceFormat) {
    write_file(folder / "u.hdr", scene_file({angular_view}, 40, 40, 1000));
    const auto run = run_in(folder, "evalglare u.hdr");
    EXPECT_EQ(run.out.substr(0, 27), "dgp,dgi,ugr,vcp,cgi,Lveil: ");
    EXPECT_EQ(run.out.substr(run.out.size() - 3), "  \n");
    EXPECT_EQ(std::count(run.out.begin(), run.out.end(), '\n'), 1);
    // No source: DGP from Ev, then 0 0 100 0 0, each with six decimals.
    EXPECT_EQ(run.out.substr(27, 2), "0.");
    EXPECT_EQ(run.out.substr(35), " 0.000000 0.000000 100.000000 0.000000 0.000000  \n");
}

// The source by hand: directions and pixel solid angles of the angular
// fisheye from its closed form, Guth's position index, then UGR and DGP.
struct HandFigures {
    double ev = 0, direct = 0, omega = 0, pixels = 0, sigma = 0, tau = 0, p = 0, lb = 0, ugr = 0, dgp = 0;
};

HandFigures by_hand(int n, double background, const Disc& disc) {
    HandFigures h;
    const double lb = stored_luminance(background), ls = stored_luminance(disc.luminance);
    double sx = 0, sy = 0;
    auto local = [n](double i, double j, double& theta, double out[3]) {
        const double u = ((i + 0.5) / n - 0.5) * pi, w = ((j + 0.5) / n - 0.5) * pi;
        theta = std::hypot(u, w);
        const double s = theta > 0 ? std::sin(theta) / theta : 1;
        out[0] = u * s, out[1] = w * s, out[2] = std::cos(theta);
    };
    for (int j = 0; j < n; ++j)
        for (int i = 0; i < n; ++i) {
            double theta, d[3];
            local(i, j, theta, d);
            if (theta > pi / 2) continue;
            const double omega = pi * pi * (theta > 0 ? std::sin(theta) / theta : 1) / (n * n);
            const double dx = i + 0.5 - disc.column, dy = (n - 1 - j) + 0.5 - disc.row;
            const bool in_source = dx * dx + dy * dy < disc.radius * disc.radius;
            const double l = in_source ? ls : lb;
            h.ev += l * d[2] * omega;
            if (!in_source) continue;
            h.direct += l * d[2] * omega;
            h.omega += omega;
            h.pixels += 1;
            sx += omega * i, sy += omega * j;
        }
    double theta, d[3];
    local(std::trunc(sx / h.omega), std::trunc(sy / h.omega), theta, d);
    h.sigma = theta * 180 / pi;
    h.tau = std::acos(d[1] / std::hypot(d[0], d[1])) * 180 / pi;
    h.p = std::exp((35.2 - 0.31889 * h.tau - 1.22 * std::exp(-2 * h.tau / 9)) * 1e-3 * h.sigma +
                   (21 + 0.26667 * h.tau - 0.002963 * h.tau * h.tau) * 1e-5 * h.sigma * h.sigma);
    h.lb = (h.ev - h.direct) / pi;
    const double contrast = ls * ls * h.omega / (h.p * h.p);
    h.ugr = 8 * std::log10(0.25 / h.lb * contrast);
    h.dgp = 5.87e-5 * h.ev + 0.092 * std::log10(1 + contrast / std::pow(h.ev, 1.87)) + 0.159;
    return h;
}

TEST_F(Evalglare, SmallBrightSourceMatchesTheFiguresWorkedOutByHand) {
    const int n = 200;
    const Disc disc{100.0, 60.0, 5.0, 30000};  // 40 pixels (36°) above the centre
    const auto hand = by_hand(n, 1000, disc);

    View view;
    view.type = 'a';
    view.horizontal = view.vertical = 180;
    GlareAnalysis a;
    ASSERT_TRUE(analyse_glare(scene_luminance(n, n, 1000, {disc}), view, *ViewProjection::make(view, n, n),
                              RowLayout{n, n, false, true}, GlareOptions{}, a)
                    .ok());
    EXPECT_NEAR(a.illuminance, hand.ev, hand.ev * 1e-3);
    ASSERT_EQ(a.summaries.size(), 1u);
    const auto& s = a.summaries[0];
    EXPECT_EQ(s.pixels, int(hand.pixels));
    EXPECT_NEAR(s.solid_angle, hand.omega, hand.omega * 1e-3);
    EXPECT_NEAR(s.luminance, stored_luminance(30000), 0.01);
    EXPECT_NEAR(s.angles.off_axis, hand.sigma, 1e-6);
    EXPECT_NEAR(s.position_index, hand.p, 1e-6);
    EXPECT_NEAR(a.direct_illuminance, hand.direct, hand.direct * 1e-3);
    EXPECT_NEAR(a.background, hand.lb, hand.lb * 1e-3);

    write_file(folder / "s.hdr", scene_file({angular_view}, n, n, 1000, {disc}));
    const auto g = run_glare(folder, "s.hdr");
    ASSERT_TRUE(g.printed) << g.run.err;
    EXPECT_NEAR(g.ugr, hand.ugr, 0.05);
    EXPECT_NEAR(g.dgp, hand.dgp, 0.002);
    // The source raises DGP above the illuminance term alone.
    EXPECT_GT(g.dgp, 5.87e-5 * hand.ev + 0.159 + 0.005);
}

TEST(EvalglareViews, OneSourceLooksTheSameThroughEveryViewType) {
    // A disc 4° in radius, 30° off the line of sight up and to the right,
    // painted by direction into pictures of every type.
    const Vector3 centre = normalised(Vector3{std::sin(30 * pi / 180) * std::sin(pi / 4), std::cos(30 * pi / 180),
                                              std::sin(30 * pi / 180) * std::cos(pi / 4)});
    const double radius = 4 * pi / 180, true_omega = 2 * pi * (1 - std::cos(radius));
    struct Case {
        char type;
        double h, v;
        int w, hgt;
    };
    for (const Case c : {Case{'a', 180, 180, 400, 400}, Case{'h', 180, 180, 400, 400}, Case{'s', 180, 180, 400, 400},
                         Case{'v', 100, 100, 400, 400}, Case{'c', 180, 120, 360, 400}}) {
        View view;
        view.type = c.type;
        view.horizontal = c.h;
        view.vertical = c.v;
        const auto projection = *ViewProjection::make(view, c.w, c.hgt);
        std::vector<float> luminance(size_t(c.w) * size_t(c.hgt), 1000.0f);
        for (int j = 0; j < c.hgt; ++j)
            for (int i = 0; i < c.w; ++i)
                if (const auto d = projection.pixel_direction(i, j); d && dot(*d, centre) > std::cos(radius))
                    luminance[size_t(j) * size_t(c.w) + size_t(i)] = 30000.0f;
        GlareAnalysis a;
        ASSERT_TRUE(analyse_glare(luminance, view, projection, RowLayout{c.w, c.hgt, false, true}, GlareOptions{}, a)
                        .ok())
            << c.type;
        ASSERT_EQ(a.summaries.size(), 1u) << c.type;
        const auto& s = a.summaries[0];
        EXPECT_NEAR(s.solid_angle, true_omega, 0.02 * true_omega) << c.type;
        EXPECT_NEAR(s.angles.off_axis, 30, 0.5) << c.type;
        EXPECT_NEAR(s.angles.from_up, 45, 1.5) << c.type;
        EXPECT_NEAR(s.luminance, 30000, 0.1) << c.type;
    }
}

TEST_F(Evalglare, ThresholdFollowsTaskAreaMeanOrAbsoluteValue) {
    // Background 1000, a 3000 disc: above the default 2000, below -b 4000.
    const Disc disc{100, 60, 6, 3000};
    write_file(folder / "t.hdr", scene_file({angular_view}, 200, 200, 1000, {disc}));
    EXPECT_GT(run_glare(folder, "t.hdr").ugr, 0);
    EXPECT_EQ(run_glare(folder, "-b 4000 t.hdr").ugr, 0);
    // 2.5 times the mean (about 1000) is below the disc, five times above.
    EXPECT_GT(run_glare(folder, "-b 2.5 t.hdr").ugr, 0);
    EXPECT_EQ(run_glare(folder, "-b 5 t.hdr").ugr, 0);
    // A task on the background: 5 × 1000 by default, above the disc.
    EXPECT_EQ(run_glare(folder, "-T 100 40 0.3 t.hdr").ugr, 0);
    // A task on the disc itself sets the threshold to 2 × 3000 with -b 2.
    EXPECT_EQ(run_glare(folder, "-T 100 139 0.05 -b 2 t.hdr").ugr, 0);
    EXPECT_GT(run_glare(folder, "-T 100 40 0.3 -b 2 t.hdr").ugr, 0);
}

TEST_F(Evalglare, MeasuredIlluminanceChangesOnlyTheProbability) {
    write_file(folder / "s.hdr", scene_file({angular_view}, 200, 200, 1000, {{100, 60, 5, 30000}}));
    const auto own = run_glare(folder, "s.hdr");
    const auto measured = run_glare(folder, "-i 5000 s.hdr");
    const auto one_value = run_glare(folder, "-I 5000 -x s.hdr");
    ASSERT_TRUE(own.printed && measured.printed && one_value.printed);
    EXPECT_GT(measured.dgp, own.dgp + 0.05);
    EXPECT_EQ(measured.figures(), one_value.figures());
    for (size_t k = 1; k < 6; ++k) EXPECT_EQ(measured.figures()[k], own.figures()[k]) << k;
}

TEST_F(Evalglare, RowFillCopiesTheLastKnownRowsOutward) {
    // The top and bottom 30 rows black, as behind a camera's housing.
    const int n = 200;
    auto pixels = scene_pixels(n, n, 1000, {});
    for (int row = 0; row < n; ++row)
        if (row < 30 || row >= n - 30)
            for (int i = 0; i < n; ++i) pixels[size_t(row) * n + size_t(i)] = RgbePixel{};
    write_file(folder / "cut.hdr", picture_file({angular_view}, "-Y 200 +X 200", pixels, n));
    write_file(folder / "whole.hdr", scene_file({angular_view}, n, n, 1000));
    const auto whole = run_glare(folder, "-i 3000 whole.hdr");
    const auto cut = run_glare(folder, "-i 3000 cut.hdr");
    const auto filled = run_glare(folder, "-I 3000 170 29 cut.hdr");
    ASSERT_TRUE(whole.printed && cut.printed && filled.printed) << filled.run.err;
    EXPECT_EQ(filled.figures(), whole.figures());
    // The rows count only as two integers: "-I 3000 170 -x" is the one-value form.
    const auto not_rows = run_glare(folder, "-I 3000 170 -x cut.hdr");
    EXPECT_FALSE(not_rows.printed);
}

TEST_F(Evalglare, ExposureOfTheHeaderIsDividedOutNestedOrNot) {
    const Disc disc{100, 60, 5, 30000};
    write_file(folder / "plain.hdr", scene_file({angular_view}, 200, 200, 1000, {disc}));
    write_file(folder / "top.hdr", scene_file({angular_view, "EXPOSURE=2"}, 200, 200, 2000, {{100, 60, 5, 60000}}));
    write_file(folder / "nested.hdr",
               scene_file({"in.hdr:", "\tEXPOSURE=4", angular_view, "EXPOSURE=0.5"}, 200, 200, 2000,
                          {{100, 60, 5, 60000}}));
    const auto plain = run_glare(folder, "plain.hdr");
    ASSERT_TRUE(plain.printed);
    for (const char* name : {"top.hdr", "nested.hdr"}) {
        const auto other = run_glare(folder, name);
        ASSERT_TRUE(other.printed) << name;
        for (int k = 0; k < 6; ++k) EXPECT_NEAR(other.figures()[size_t(k)], plain.figures()[size_t(k)], 1e-5) << name;
    }
}

TEST_F(Evalglare, CommandLineViewReplacesThePicturesOwn) {
    const Disc disc{100, 60, 5, 30000};
    write_file(folder / "a.hdr", scene_file({angular_view}, 200, 200, 1000, {disc}));
    write_file(folder / "h.hdr", scene_file({"VIEW= -vth -vh 180 -vv 180"}, 200, 200, 1000, {disc}));
    write_file(folder / "none.hdr", scene_file({}, 200, 200, 1000, {disc}));
    const auto angular = run_glare(folder, "a.hdr");
    const auto retyped = run_glare(folder, "-vta -vv 180 -vh 180 h.hdr");
    ASSERT_TRUE(angular.printed && retyped.printed);
    EXPECT_EQ(retyped.figures(), angular.figures());
    EXPECT_NE(retyped.run.err.find("warning"), std::string::npos);
    EXPECT_NE(run_glare(folder, "h.hdr").figures(), angular.figures());
    // A picture serves as a view file, also for a picture without a view.
    const auto from_file = run_glare(folder, "-vf a.hdr none.hdr");
    EXPECT_EQ(from_file.figures(), angular.figures());
    EXPECT_EQ(from_file.run.err, "");
    write_file(folder / "v.vf", "rview -vta -vh 180 -vv 180 -vp 1 2 3\n");
    EXPECT_EQ(run_glare(folder, "-vf v.vf none.hdr").figures(), angular.figures());
}

TEST_F(Evalglare, ReadsStandardInput) {
    const int w = 120, h = 80;
    const Disc disc{30, 20, 4, 30000};
    const std::vector<std::string> view = {"VIEW= -vta -vh 180 -vv 120"};
    write_file(folder / "p.hdr", scene_file(view, w, h, 1000, {disc}));
    const auto standard = run_glare(folder, "p.hdr");
    ASSERT_TRUE(standard.printed);
    EXPECT_GT(standard.ugr, 0);
    EXPECT_EQ(run_glare(folder, "< p.hdr").figures(), standard.figures());
}

// The scene stored as columns, left to right, each bottom to top, as
// protate turns a picture a quarter clockwise.
std::vector<RgbePixel> turned_pixels(int w, int h, const std::vector<Disc>& discs) {
    const auto rows = scene_pixels(w, h, 1000, discs);
    std::vector<RgbePixel> columns;
    for (int i = 0; i < w; ++i)
        for (int row = h - 1; row >= 0; --row) columns.push_back(rows[size_t(row) * w + size_t(i)]);
    return columns;
}

// Up to where a source's direction is taken: the pixel at its mean
// position, rounded down in the row numbering, which runs the other way.
void expect_close(const GlareResult& a, const GlareResult& b) {
    ASSERT_TRUE(a.printed && b.printed) << a.run.err << b.run.err;
    EXPECT_NEAR(a.dgp, b.dgp, 0.002);
    for (int k : {1, 2, 4}) EXPECT_NEAR(a.figures()[k], b.figures()[k], 0.3 + 0.01 * b.figures()[k]) << k;
    EXPECT_NEAR(a.vcp, b.vcp, 3);          // erf makes VCP steep
    EXPECT_NEAR(a.veil, b.veil, 0.05 * b.veil);  // cos σ / σ, a pixel off
}

TEST_F(Evalglare, TurnedPictureIsAnalysedAsItsRowsShowIt) {
    // A source up and to the left of the line of sight, closer to straight
    // up; turned a quarter clockwise it lies up and to the right, closer to
    // the side, where it glares more.
    const int n = 200;
    const std::vector<Disc> disc = {{70.5, 50.5, 5, 30000}};
    write_file(folder / "p.hdr", scene_file({angular_view}, n, n, 1000, disc));
    write_file(folder / "turned.hdr", picture_file({angular_view}, "+X 200 +Y 200", turned_pixels(n, n, disc), n));
    write_file(folder / "upright.hdr", picture_file({angular_view}, "-Y 200 +X 200", turned_pixels(n, n, disc), n));
    const auto standard = run_glare(folder, "p.hdr"), turned = run_glare(folder, "turned.hdr");
    expect_close(turned, run_glare(folder, "upright.hdr"));
    EXPECT_GT(turned.ugr - standard.ugr, 1);
}

TEST_F(Evalglare, AMinusOnXMirrorsEachRow) {
    // "-X": each scanline runs right to left; the same bytes read as the
    // mirror image of the standard picture.
    const int n = 200;
    const std::vector<Disc> disc = {{60.5, 70.5, 5, 30000}}, mirrored = {{139.5, 70.5, 5, 30000}};
    const auto rows = scene_pixels(n, n, 1000, disc);
    write_file(folder / "reversed.hdr", picture_file({angular_view}, "-Y 200 -X 200", rows, n));
    write_file(folder / "mirror.hdr", scene_file({angular_view}, n, n, 1000, mirrored));
    write_file(folder / "plain.hdr", scene_file({angular_view}, n, n, 1000, disc));
    const auto reversed = run_glare(folder, "reversed.hdr");
    expect_close(reversed, run_glare(folder, "mirror.hdr"));
    expect_close(reversed, run_glare(folder, "plain.hdr"));  // left and right glare alike
    // A task row in a -X picture still counts from the bottom; its column
    // counts along the scanline.
    expect_close(run_glare(folder, "-T 60 129 0.2 reversed.hdr"), run_glare(folder, "-T 139 129 0.2 mirror.hdr"));
}

TEST_F(Evalglare, TaskRowsCountFromTheFirstScanlineOfATurnedPicture) {
    // 240 × 160 turned is 160 × 240. In a +Y picture rows count from the
    // first scanline down, in a -Y picture from the last one up: row 60 of
    // the turned picture (on the source) is row 179 of the upright copy.
    const std::vector<std::string> view = {"VIEW= -vta -vh 120 -vv 180"};
    const std::vector<Disc> disc = {{60, 40, 8, 30000}};
    write_file(folder / "turned.hdr", picture_file(view, "+X 240 +Y 160", turned_pixels(240, 160, disc), 160));
    write_file(folder / "upright.hdr", picture_file(view, "-Y 240 +X 160", turned_pixels(240, 160, disc), 160));
    const auto turned = run_glare(folder, "-T 119 60 0.3 turned.hdr");
    expect_close(turned, run_glare(folder, "-T 119 179 0.3 upright.hdr"));
    // Row 179 of the turned picture is elsewhere, off the source.
    EXPECT_GT(std::abs(run_glare(folder, "-T 119 179 0.3 turned.hdr").dgi - turned.dgi), 1);
    // Rows beyond the unturned picture's height are inside the turned one.
    EXPECT_TRUE(run_glare(folder, "-T 10 200 0.3 turned.hdr").printed);
    EXPECT_FALSE(run_glare(folder, "-T 10 240 0.3 turned.hdr").printed);
}

TEST_F(Evalglare, SearchRadiusDecidesWhetherTwoSourcesAreOne) {
    // Two discs 20 pixels (18°, 0.31 rad) apart, centre to centre.
    const std::vector<Disc> discs = {{90, 60, 4, 30000}, {110, 60, 4, 30000}};
    write_file(folder / "two.hdr", scene_file({angular_view}, 200, 200, 1000, discs));
    const auto apart = run_glare(folder, "-r 0.2 two.hdr");
    const auto joined = run_glare(folder, "-r 0.5 two.hdr");
    ASSERT_TRUE(apart.printed && joined.printed);
    // One source of twice the size glares more (DGI grows with ω^0.8 per
    // source, which two halves do not reach).
    EXPECT_NE(apart.dgi, joined.dgi);
    EXPECT_NEAR(apart.ugr, joined.ugr, 0.3);
}

TEST_F(Evalglare, LowLightNoticeGoesToStandardError) {
    write_file(folder / "dim.hdr", scene_file({angular_view}, 60, 60, 80));
    const auto g = run_glare(folder, "dim.hdr");
    ASSERT_TRUE(g.printed);
    EXPECT_NE(g.run.err.find("notice"), std::string::npos);
    EXPECT_EQ(g.run.out.find("notice"), std::string::npos);
    const double ev = run_glare_illuminance(folder, "dim.hdr");
    EXPECT_NEAR(ev, pi * stored_luminance(80), 0.5);
    EXPECT_NEAR(g.dgp, (5.87e-5 * ev + 0.159) * std::exp(0.024 * ev - 4) / (1 + std::exp(0.024 * ev - 4)), 1e-5);
}

TEST_F(Evalglare, WeighsColoursAsRadiance5DoesWithItsWhiteAtOneThird) {
    // A uniform sky in pure red against the same in grey: Ev is in the
    // ratio of the luminances, with the red weight 0.2651058 (not the
    // 0.2650741 of a white point at 0.3333). Both are stored with the
    // mantissa 128, and a mantissa of 0 reads as half a step.
    const int n = 100;
    const auto sky = [&](const RgbePixel& p) { return std::vector<RgbePixel>(size_t(n) * n, p); };
    const RgbePixel grey = encode_rgbe(2.0f, 2.0f, 2.0f), red = encode_rgbe(2.0f, 0.0f, 0.0f);
    write_file(folder / "grey.hdr", picture_file({"VIEW= -vth -vh 180 -vv 180"}, "-Y 100 +X 100", sky(grey), n));
    write_file(folder / "red.hdr", picture_file({"VIEW= -vth -vh 180 -vv 180"}, "-Y 100 +X 100", sky(red), n));
    const double ratio = run_glare_illuminance(folder, "red.hdr") / run_glare_illuminance(folder, "grey.hdr");
    const double red_weight = 0.2651058, others = 1 - red_weight;
    EXPECT_NEAR(ratio, (red_weight * 128.5 + others * 0.5) / 128.5, 2e-7);
}

TEST_F(Evalglare, WhatItIgnoresItSaysOnOneLineOfStandardError) {
    // An exposure of 0 or below is no exposure: the stored values count.
    write_file(folder / "zero.hdr", scene_file({angular_view, "EXPOSURE=0"}, 60, 60, 1000));
    write_file(folder / "plain.hdr", scene_file({angular_view}, 60, 60, 1000));
    const auto zero = run_glare(folder, "zero.hdr");
    ASSERT_TRUE(zero.printed);
    EXPECT_EQ(zero.figures(), run_glare(folder, "plain.hdr").figures());
    EXPECT_EQ(zero.run.err, "notice: the header's EXPOSURE=0 is ignored: an exposure must be positive\n");
    write_file(folder / "negative.hdr", scene_file({angular_view, "EXPOSURE=-2"}, 60, 60, 1000));
    EXPECT_NE(run_glare(folder, "negative.hdr").run.err.find("EXPOSURE=-2 is ignored"), std::string::npos);

    // A 240° fisheye sees behind the observer in its corners: a small task
    // area there holds no valid pixel, and the mean luminance stands in.
    write_file(folder / "wide.hdr",
               scene_file({"VIEW= -vta -vh 240 -vv 240"}, 200, 200, 1000, {{100, 100, 5, 30000}}));
    const auto corner = run_glare(folder, "-T 5 5 0.05 wide.hdr");
    ASSERT_TRUE(corner.printed) << corner.run.err;
    EXPECT_EQ(std::count(corner.run.err.begin(), corner.run.err.end(), '\n'), 1) << corner.run.err;
    EXPECT_TRUE(corner.run.err.starts_with("notice: the task area at 5 5 holds no valid pixel; the mean luminance"))
        << corner.run.err;
    EXPECT_EQ(run_glare(folder, "-T 100 100 0.05 wide.hdr").run.err, "");
}

TEST_F(Evalglare, ARendererLineWithAPathCarriesTheView) {
    const std::vector<Disc> disc = {{100, 60, 5, 30000}};
    write_file(folder / "a.hdr", scene_file({angular_view}, 200, 200, 1000, disc));
    write_file(folder / "r.hdr",
               scene_file({"/usr/local/bin/rpict -vta -vh 180 -vv 180 -x 200 -y 200 scene.oct"}, 200, 200, 1000, disc));
    const auto rendered = run_glare(folder, "r.hdr");
    ASSERT_TRUE(rendered.printed) << rendered.run.err;
    EXPECT_EQ(rendered.figures(), run_glare(folder, "a.hdr").figures());
    // A copy indented by a tab (another program's header kept inside) is not.
    write_file(folder / "nested.hdr", scene_file({"\tVIEW= -vta -vh 180 -vv 180"}, 200, 200, 1000, disc));
    EXPECT_FALSE(run_glare(folder, "nested.hdr").printed);
}

TEST_F(Evalglare, DetailsComeBeforeTheResultLine) {
    write_file(folder / "s.hdr", scene_file({angular_view}, 200, 200, 1000, {{100, 60, 5, 30000}}));
    const auto g = run_glare(folder, "-d s.hdr");
    ASSERT_TRUE(g.printed);
    EXPECT_NE(g.run.out.find("glare sources: 1\n"), std::string::npos);
    EXPECT_EQ(g.figures(), run_glare(folder, "s.hdr").figures());
}

}  // namespace
