// pcomb with the application's expressions: masks, vignetting correction,
// arithmetic between two pictures and a constant division.

#include <gtest/gtest.h>

#include <array>

#include "lib/rgbe_color.h"
#include "picture/rgbe_reader.h"
#include "program_run.h"
#include "test_picture.h"

namespace {

const char* const mask_expression =
    "pcomb -e \"ro=if(ri(1)-0.5,ri(2),0);go=if(gi(1)-0.5,gi(2),0);bo=if(bi(1)-0.5,bi(2),0)\" ";

// A 24-bit bottom-up BMP of one row of colours.
std::string bmp_row(const std::vector<std::array<uint8_t, 3>>& rgb) {
    const size_t row = (3 * rgb.size() + 3) & ~size_t{3};
    std::string b(54 + row, '\0');
    auto put32 = [&b](size_t at, uint32_t v) {
        for (int i = 0; i < 4; ++i) b[at + static_cast<size_t>(i)] = static_cast<char>(v >> (8 * i));
    };
    b[0] = 'B', b[1] = 'M';
    put32(2, static_cast<uint32_t>(b.size()));
    put32(10, 54), put32(14, 40), put32(18, static_cast<uint32_t>(rgb.size())), put32(22, 1);
    b[26] = 1, b[28] = 24;
    for (size_t x = 0; x < rgb.size(); ++x)
        for (int c = 0; c < 3; ++c) b[54 + 3 * x + static_cast<size_t>(c)] = static_cast<char>(rgb[x][static_cast<size_t>(2 - c)]);
    return b;
}

class Pcomb : public ::testing::Test {
protected:
    void SetUp() override {
        write_file(folder / "tiny.hdr", tiny_picture_bytes());
        using namespace tiny;
        write_file(folder / "fh.hdr", picture_file({"FORMAT=32-bit_rle_rgbe", "EXPOSURE=2", "pflip -c -h"}, "-Y 2 +X 3",
                                                   {C, B, A, F, E, D}, 3, false));
    }
    TempFolder folder;
};

TEST_F(Pcomb, MaskZeroesExactlyTheChannelsWhoseMaskByteIsBelow187) {
    const std::vector<std::array<uint8_t, 3>> mask = {{0, 0, 0}, {255, 255, 255}, {186, 186, 186},
                                                      {187, 187, 187}, {128, 200, 255}, {255, 0, 186}};
    write_file(folder / "mask.bmp", bmp_row(mask));
    std::vector<RgbePixel> picture;
    for (int x = 0; x < 6; ++x) picture.push_back(encode_color(1.0f + x, 2.0f + x, 3.0f + x));
    write_file(folder / "i.hdr", picture_file({"EXPOSURE=4"}, "-Y 1 +X 6", picture, 6, false));
    const auto run = run_in(folder, std::string("ra_bmp -r mask.bmp m.hdr && ") + mask_expression + "m.hdr i.hdr > o.hdr");
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out + run.err, "");
    const auto masked = read_picture(folder / "o.hdr");
    ASSERT_EQ(masked.pixels.size(), 6u);
    for (size_t x = 0; x < 6; ++x) {
        const Color3 in = decode_color(picture[x]);
        const bool pass[3] = {mask[x][0] >= 187, mask[x][1] >= 187, mask[x][2] >= 187};
        EXPECT_EQ(masked.pixels[x], encode_color(pass[0] ? in.r : 0, pass[1] ? in.g : 0, pass[2] ? in.b : 0)) << x;
    }
    // The picture's exposure stays only nested, where the application's
    // reader still finds it.
    EXPECT_TRUE(has_line(masked, "\tEXPOSURE=4"));
    EXPECT_FALSE(has_line(masked, "EXPOSURE=4"));
    const auto luminance = load_luminance_map((folder / "o.hdr").string());
    ASSERT_TRUE(luminance.ok());
    EXPECT_EQ(luminance.value().exposure, 4.0f);
}

TEST_F(Pcomb, DividesByAConstantAndNestsTheInputHeader) {
    const auto run = run_in(folder, "pcomb  -e  \"ro=ri(1)/2.5;go=gi(1)/2.5;bo=bi(1)/2.5\" tiny.hdr > d.hdr");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out + run.err, "");
    const auto divided = read_picture(folder / "d.hdr");
    EXPECT_EQ(divided.pixels, (std::vector<RgbePixel>{{205, 103, 52, 127}, {160, 80, 40, 129}, {0, 0, 0, 0},
                                                      {204, 204, 204, 127}, {205, 205, 205, 134}, {67, 131, 195, 116}}));
    ASSERT_EQ(divided.header.size(), 7u);
    EXPECT_EQ(std::vector<std::string>(divided.header.begin() + 3, divided.header.end()),
              (std::vector<std::string>{"tiny.hdr:", "\tEXPOSURE=2", "pcomb -e ro=ri(1)/2.5;go=gi(1)/2.5;bo=bi(1)/2.5 tiny.hdr",
                                        "FORMAT=32-bit_rle_rgbe"}));
}

TEST_F(Pcomb, SubtractionClipsNegativeResultsToBlack) {
    ASSERT_EQ(run_in(folder, "pcomb  -e  \"ro=ri(1)-ri(2);go=gi(1) -gi(2);bo=bi(1)-bi(2)\" tiny.hdr fh.hdr > s.hdr").status, 0);
    EXPECT_EQ(read_picture(folder / "s.hdr").pixels,
              (std::vector<RgbePixel>{tiny::A, {}, {}, {255, 255, 255, 128}, {}, {}}));
}

TEST_F(Pcomb, DivisionByABlackPixelGivesBlackQuietly) {
    const auto run = run_in(folder, "pcomb  -e  \"ro=ri(1) / ri(2);go=gi(1) / gi(2);bo=bi(1) / bi(2)\" tiny.hdr fh.hdr > v.hdr");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out + run.err, "");
    const auto v = read_picture(folder / "v.hdr");
    EXPECT_EQ(v.pixels, (std::vector<RgbePixel>{{}, {128, 128, 128, 129}, {}, {194, 99, 67, 141}, {128, 128, 128, 129},
                                                {84, 164, 244, 117}}));
    EXPECT_TRUE(has_line(v, "pcomb -e \"ro=ri(1) / ri(2);go=gi(1) / gi(2);bo=bi(1) / bi(2)\" tiny.hdr fh.hdr"));
    const std::vector<std::string> nested = {"tiny.hdr:", "\tEXPOSURE=2", "fh.hdr:", "\tEXPOSURE=2", "\tpflip -c -h"};
    EXPECT_EQ(std::vector<std::string>(v.header.begin() + 3, v.header.begin() + 8), nested);
}

TEST_F(Pcomb, LeGivesEachInputsExposureAsTheApplicationReadsIt) {
    // tiny.hdr: EXPOSURE=2 at top level; n.hdr: 3 and 0.5 nested plus 4 at
    // top level, and a line that only mentions the word.
    write_file(folder / "n.hdr", picture_file({"a.hdr:", "\tEXPOSURE=3", "\tEXPOSURE=0.5", "EXPOSURE=4",
                                               "comment EXPOSURE=none"},
                                              "-Y 2 +X 3", {tiny::A, tiny::B, tiny::C, tiny::D, tiny::E, tiny::F}, 3));
    // The red of the first output pixel, computed by `formula` alone (the
    // three channels share an exponent).
    auto first_red = [&](const std::string& formula, const std::string& second = "n.hdr") {
        const auto run = run_in(folder, "pcomb -e \"ro=" + formula + ";go=0;bo=0\" tiny.hdr " + second + " > o.hdr");
        EXPECT_EQ(run.status, 0) << run.err;
        const auto picture = read_picture(folder / "o.hdr");
        return picture.pixels.empty() ? -1.0f : decode_color(picture.pixels[0]).r;
    };
    // Decoded values carry half a mantissa step: 2 reads 2.0039.
    EXPECT_NEAR(first_red("le(1)"), 2.0f, 0.01f);
    EXPECT_NEAR(first_red("le(2)"), 6.0f, 0.03f);
    EXPECT_NEAR(first_red("le(3)"), 1.0f, 0.01f) << "no third input";
    // -o divides by the top-level exposure, leaves its line out of the
    // copied header and gives an exposure of 1; the nested lines stay and
    // keep counting where they did.
    EXPECT_NEAR(first_red("le(2)", "-o n.hdr"), 1.0f, 0.01f);
    const float expected = decode_color(tiny::A).r / 4.0f;
    EXPECT_NEAR(first_red("ri(2)", "-o n.hdr"), expected, 0.01f * expected);
    const auto header = read_picture(folder / "o.hdr").header;
    const std::vector<std::string> nested = {"tiny.hdr:", "\tEXPOSURE=2", "n.hdr:", "\ta.hdr:", "\t\tEXPOSURE=3",
                                             "\t\tEXPOSURE=0.5", "\tcomment EXPOSURE=none"};
    ASSERT_GE(header.size(), 10u);
    EXPECT_EQ(std::vector<std::string>(header.begin() + 3, header.begin() + 10), nested);
}

TEST_F(Pcomb, CarriesTheFirstUsableViewToTopLevel) {
    write_file(folder / "view.hdr", picture_file({"VIEW= -vta -vh 180 -vv 180"}, "-Y 1 +X 1", {tiny::E}, 1));
    ASSERT_EQ(run_in(folder, "pcomb -e \"ro=ri(1);go=gi(1);bo=bi(1)\" view.hdr > o.hdr").status, 0);
    EXPECT_TRUE(has_line(read_picture(folder / "o.hdr"),
                         "VIEW= -vta -vp 0 0 0 -vd 0 1 0 -vu 0 0 1 -vh 180 -vv 180 -vo 0 -va 0 -vs 0 -vl 0"));
}

TEST_F(Pcomb, RefusesAZeroDivisorWrittenInTheExpression) {
    const auto run = run_in(folder, "pcomb  -e  \"ro=ri(1)/0;go=gi(1)/0;bo=bi(1)/0\" tiny.hdr > z.hdr");
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "ro=ri(1)/0;go=gi(1)/0;bo=bi(1)/0\n          ^ divide by zero constant\n");
    EXPECT_EQ(read_file(folder / "z.hdr"), "");
}

TEST_F(Pcomb, RefusesNamesItDoesNotKnow) {
    const auto run = run_in(folder, "pcomb  -e  \"ro=ri(1)/inf;go=gi(1)/inf;bo=bi(1)/inf\" tiny.hdr > z.hdr");
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "inf: undefined variable\n");
    EXPECT_EQ(run_in(folder, "pcomb -e \"ro=nan\" tiny.hdr > z.hdr").err, "nan: undefined variable\n");
}

TEST_F(Pcomb, ReportsAnInputBeyondTheLastAsADomainError) {
    const auto run = run_in(folder, "pcomb -e \"ro=ri(3);go=0;bo=0\" tiny.hdr > o.hdr");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err.substr(0, 17), "ri: domain error\n");
    EXPECT_EQ(read_picture(folder / "o.hdr").pixels, std::vector<RgbePixel>(6));
}

TEST_F(Pcomb, RefusesInputsOfDifferentSizesAndMissingFiles) {
    write_file(folder / "small.hdr", picture_file({}, "-Y 1 +X 3", {tiny::A, tiny::B, tiny::C}, 3));
    EXPECT_EQ(run_in(folder, "pcomb -e \"ro=ri(1)*ri(2)\" tiny.hdr small.hdr > o.hdr").err, "small.hdr: resolution mismatch\n");
    EXPECT_EQ(run_in(folder, "pcomb -e \"ro=ri(1)\" nosuch.hdr > o.hdr").err, "nosuch.hdr: No such file or directory\n");
    write_file(folder / "x.hdr", "#?RADIANCE\nFORMAT=32-bit_rle_xyze\n\n-Y 1 +X 1\n\x80\x80\x80\x80");
    EXPECT_EQ(run_in(folder, "pcomb -e \"ro=ri(1)\" x.hdr > o.hdr").err, "x.hdr: not a Radiance picture\n");
}

}  // namespace
