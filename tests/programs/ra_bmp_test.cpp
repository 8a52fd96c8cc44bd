// ra_bmp: picture to display BMP, and -r: BMP mask back to a picture.

#include <gtest/gtest.h>

#include <random>

#include "bmp_test_files.h"
#include "lib/display_gamma.h"
#include "lib/rgbe_color.h"
#include "picture/rgbe_reader.h"
#include "program_run.h"
#include "test_picture.h"

namespace {

class RaBmp : public ::testing::Test {
protected:
    void SetUp() override { write_file(folder / "tiny.hdr", tiny_picture_bytes()); }
    TempFolder folder;
};

std::string bytes(std::initializer_list<int> list) {
    std::string s;
    for (int b : list) s.push_back(static_cast<char>(b));
    return s;
}

TEST_F(RaBmp, WritesTinyAsA78ByteBottomUpBitmap) {
    const auto run = run_in(folder, "ra_bmp tiny.hdr  t.bmp");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out + run.err, "");
    const std::string bmp = read_file(folder / "t.bmp");
    ASSERT_EQ(bmp.size(), 78u);
    EXPECT_EQ(bmp.substr(0, 54), bytes({'B', 'M', 78, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0, 40, 0, 0, 0, 3, 0, 0, 0, 2, 0,
                                        0, 0, 1, 0, 24, 0, 0, 0, 0, 0, 24, 0, 0, 0, 0x13, 0x0b, 0, 0, 0x13, 0x0b, 0, 0,
                                        0, 0, 0, 0, 0, 0, 0, 0}));
    // Rows bottom-up, pixels B G R, padded to four bytes.
    EXPECT_EQ(bmp.substr(54), bytes({255, 255, 255, 255, 255, 255, 7, 6, 4, 0, 0, 0,  //
                                     137, 187, 255, 230, 255, 255, 0, 0, 0, 0, 0, 0}));
}

TEST_F(RaBmp, MapsEveryExponentRangeAsDocumented) {
    // x > 8 is white; 0 < x <= 8 works on i = (2m + 1) 2^(x-1); below, on
    // the decoded value; under x = -39 black.
    EXPECT_EQ(display_byte(1, 128 + 9), 255);
    EXPECT_EQ(display_byte(64, 129), 187);
    EXPECT_EQ(display_byte(50, 130), 230);
    EXPECT_EQ(display_byte(127, 129), 255);
    EXPECT_EQ(display_byte(10, 120), 4);
    EXPECT_EQ(display_byte(255, 128 - 40), 0);
    EXPECT_EQ(display_byte(200, 0), 0);
    EXPECT_EQ(display_byte(200, 128 - 33), display_byte(((200 >> 1) + 1) >> 1, 128 - 31));
}

TEST_F(RaBmp, ReverseTurnsBlackAndWhiteIntoTheDocumentedPixels) {
    write_file(folder / "bw.bmp", bmp24({{{0, 0, 0}, {255, 255, 255}}}));
    const auto run = run_in(folder, "ra_bmp -r bw.bmp m.hdr");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out + run.err, "");
    EXPECT_EQ(read_file(folder / "m.hdr"),
              "#?RADIANCE\nra_bmp -r\nFORMAT=32-bit_rle_rgbe\n\n-Y 1 +X 2\n" + bytes({0x93, 0x93, 0x93, 0x6d, 0xfe, 0xfe, 0xfe, 0x80}));
}

TEST_F(RaBmp, ReverseUsesTheInverseGammaTable) {
    EXPECT_EQ(pixel_from_display(0, 0, 0), (RgbePixel{147, 147, 147, 109}));
    EXPECT_EQ(pixel_from_display(128, 128, 128), (RgbePixel{224, 224, 224, 126}));
    EXPECT_EQ(pixel_from_display(186, 186, 186), (RgbePixel{255, 255, 255, 127}));
    EXPECT_EQ(pixel_from_display(187, 187, 187), (RgbePixel{129, 129, 129, 128}));
    EXPECT_EQ(pixel_from_display(255, 255, 255), (RgbePixel{254, 254, 254, 128}));
    const RgbePixel mixed = pixel_from_display(100, 0, 255);
    EXPECT_EQ(mixed.g, 0);
    EXPECT_EQ(mixed.b, 254);
    EXPECT_EQ(mixed.e, 128);
    EXPECT_NEAR(decode_color(pixel_from_display(0, 0, 0)).r, 1.099e-6, 0.001e-6);
}

TEST_F(RaBmp, RoundTripsWithinTheEightBitStep) {
    std::mt19937 random(5);
    std::uniform_real_distribution<float> value(0.0f, 1.0f);
    std::vector<RgbePixel> pixels;
    for (int i = 0; i < 40 * 30; ++i) pixels.push_back(encode_color(value(random), value(random), value(random)));
    write_file(folder / "p.hdr", picture_file({"EXPOSURE=3"}, "-Y 30 +X 40", pixels, 40));
    ASSERT_EQ(run_in(folder, "ra_bmp p.hdr  p.bmp && ra_bmp -r p.bmp back.hdr && ra_bmp back.hdr again.bmp").status, 0);
    const auto back = read_picture(folder / "back.hdr");
    ASSERT_EQ(back.pixels.size(), pixels.size());
    for (size_t i = 0; i < pixels.size(); ++i) {
        const Color3 a = decode_color(pixels[i]), b = decode_color(back.pixels[i]);
        const float va[3] = {a.r, a.g, a.b}, vb[3] = {b.r, b.g, b.b};
        for (int c = 0; c < 3; ++c) {
            // One display level is at most this wide in linear terms.
            const float step = std::pow((std::pow(va[c], 1 / 2.2f) * 256 + 1.5f) / 256, 2.2f) - va[c];
            EXPECT_NEAR(vb[c], va[c], std::max(step, 2e-4f)) << i << " channel " << c;
        }
    }
    // Shown again, every byte is within one level of the first display copy
    // (a dark channel beside a bright one loses mantissa bits to the shared
    // exponent).
    const std::string first = read_file(folder / "p.bmp"), again = read_file(folder / "again.bmp");
    ASSERT_EQ(first.size(), again.size());
    int off_by_more = 0;
    for (size_t i = 0; i < first.size(); ++i)
        if (std::abs(static_cast<uint8_t>(first[i]) - static_cast<uint8_t>(again[i])) > 1) ++off_by_more;
    EXPECT_EQ(off_by_more, 0);
}

TEST_F(RaBmp, ReverseReadsTopDownPaletteRunLengthAndBitFieldBitmaps) {
    const std::vector<std::vector<Rgb>> rows = {{{255, 0, 0}, {0, 255, 0}, {0, 0, 255}}, {{9, 9, 9}, {200, 100, 50}, {255, 255, 255}}};
    const std::vector<Rgb> palette = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {9, 9, 9}, {200, 100, 50}, {255, 255, 255}};
    const std::vector<std::vector<uint8_t>> indices = {{0, 1, 2}, {3, 4, 5}};
    write_file(folder / "up.bmp", bmp24(rows));
    write_file(folder / "down.bmp", bmp24(rows, true));
    write_file(folder / "pal.bmp", bmp8(palette, indices, false));
    write_file(folder / "rle.bmp", bmp8(palette, indices, true));
    write_file(folder / "fields.bmp", bmp32(rows));
    std::vector<RgbePixel> expected;
    for (const auto& row : rows)
        for (const Rgb& p : row) expected.push_back(pixel_from_display(p[0], p[1], p[2]));
    for (const char* name : {"up", "down", "pal", "rle", "fields"}) {
        const auto run = run_in(folder, std::string("ra_bmp -r ") + name + ".bmp " + name + ".hdr");
        EXPECT_EQ(run.status, 0) << name << ": " << run.err;
        const auto picture = read_picture(folder / (std::string(name) + ".hdr"));
        EXPECT_EQ(picture.resolution, "-Y 2 +X 3") << name;
        EXPECT_EQ(picture.pixels, expected) << name;
    }
}

TEST_F(RaBmp, ReverseReadsOneAndFourBitPalettesAndTheirRunLengthCodes) {
    const std::vector<Rgb> palette = {{0, 0, 0}, {255, 255, 255}, {200, 100, 50}};
    // 1 bit: one row 1 0 1 1 0 (0xb0), padded to four bytes.
    write_file(folder / "one.bmp", bmp_palette_data(5, 1, 1, 0, palette, std::string("\xb0\0\0\0", 4)));
    // RLE4: a run of four alternating 1 2, then three literal nibbles 2 2 0
    // (padded to a word), end of line, end of bitmap.
    write_file(folder / "four.bmp", bmp_palette_data(7, 1, 4, 2, palette, std::string("\x04\x12\0\x03\x22\0\0\0\0\x01", 10)));
    // RLE8: three literal bytes (and a pad byte), a run of two, end of bitmap.
    write_file(folder / "eight.bmp",
               bmp_palette_data(5, 1, 8, 1, palette, std::string("\0\x03\x02\x01\x01\0\x02\0\0\x01", 10)));
    ASSERT_EQ(run_in(folder, "ra_bmp -r one.bmp one.hdr && ra_bmp -r four.bmp four.hdr && ra_bmp -r eight.bmp eight.hdr").status, 0);
    const RgbePixel k = pixel_from_display(0, 0, 0), w = pixel_from_display(255, 255, 255),
                    o = pixel_from_display(200, 100, 50);
    EXPECT_EQ(read_picture(folder / "one.hdr").pixels, (std::vector<RgbePixel>{w, k, w, w, k}));
    EXPECT_EQ(read_picture(folder / "four.hdr").pixels, (std::vector<RgbePixel>{w, o, w, o, o, o, k}));
    EXPECT_EQ(read_picture(folder / "eight.hdr").pixels, (std::vector<RgbePixel>{o, w, w, k, k}));
}

// Pixels the codes skip (end of line, delta, end of bitmap) take colour 0 of
// the palette, here orange, in every row.
TEST_F(RaBmp, ReverseFillsSkippedPixelsWithTheFirstPaletteColour) {
    const std::vector<Rgb> palette = {{200, 100, 50}, {255, 255, 255}};
    // Bottom row: one white pixel, end of line; next row: delta two to the
    // right, one white pixel; end of bitmap before the top row.
    write_file(folder / "skip.bmp",
               bmp_palette_data(3, 3, 8, 1, palette, std::string("\x01\x01\0\0\0\x02\x02\0\x01\x01\0\x01", 12)));
    ASSERT_EQ(run_in(folder, "ra_bmp -r skip.bmp skip.hdr").status, 0);
    const RgbePixel o = pixel_from_display(200, 100, 50), w = pixel_from_display(255, 255, 255);
    EXPECT_EQ(read_picture(folder / "skip.hdr").pixels, (std::vector<RgbePixel>{o, o, o, o, o, w, w, o, o}));
}

TEST_F(RaBmp, DisplayCopyReadsBackAsTheApplicationSeesIt) {
    ASSERT_EQ(run_in(folder, "ra_bmp tiny.hdr  t.bmp && ra_bmp -r t.bmp m.hdr").status, 0);
    const auto mask = load_luminance_map((folder / "m.hdr").string());
    ASSERT_TRUE(mask.ok());
    EXPECT_EQ(mask.value().width, 3);
    EXPECT_EQ(mask.value().exposure, 1.0f);
    // The white pixels D and E come back as the brightest display level.
    EXPECT_FLOAT_EQ(mask.value().at(0, 1), rgbe_luminance(254, 254, 254, 128, 1.0f));
}

TEST_F(RaBmp, ReportsFailuresWithoutTheWordUnknown) {
    EXPECT_EQ(run_in(folder, "ra_bmp nosuch.hdr  o.bmp").err, "nosuch.hdr: cannot open input file\n");
    write_file(folder / "text.hdr", "not a picture\n");
    EXPECT_EQ(run_in(folder, "ra_bmp text.hdr  o.bmp").err, "ra_bmp: bad Radiance picture format\n");
    write_file(folder / "cut.hdr", "#?RADIANCE\n\n-Y 2 +X 3\n\x80\x80\x80\x80");
    EXPECT_EQ(run_in(folder, "ra_bmp cut.hdr  o.bmp").err, "ra_bmp: error reading Radiance picture\n");
    EXPECT_EQ(run_in(folder, "ra_bmp tiny.hdr  nodir/o.bmp").err, "ra_bmp: cannot allocate writer structure\n");
    EXPECT_EQ(run_in(folder, "ra_bmp -r tiny.hdr o.hdr").err, "tiny.hdr: cannot open or recognize BMP\n");
    write_file(folder / "bw.bmp", bmp24({{{0, 0, 0}}}));
    const auto output = run_in(folder, "ra_bmp -r bw.bmp nodir/o.hdr");
    EXPECT_EQ(output.status, 1);
    EXPECT_EQ(output.err, "nodir/o.hdr: cannot open for output\n");
}

}  // namespace
