// The falsecolor figure for reports: the legend panel beside the picture,
// the extrema marks, the built-in font, and the PNG and BMP files it goes
// into, read back with an independent decoder.

#include <gtest/gtest.h>

#include <cmath>

#include "picture/bmp_reader.h"
#include "picture/bmp_writer.h"
#include "picture/png_writer.h"
#include "support/png_reading.h"
#include "support/temp_folder.h"
#include "tools/bitmap_font.h"
#include "tools/falsecolor_figure.h"

namespace {

bool same(const uint8_t* bgr, const Rgb8& c) { return bgr[0] == c.b && bgr[1] == c.g && bgr[2] == c.r; }
bool white(const uint8_t* bgr) { return bgr[0] == 255 && bgr[1] == 255 && bgr[2] == 255; }

int dark_pixels(const BgrRaster& r, int x0, int y0, int x1, int y1) {
    int n = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x)
            if (r.inside(x, y) && r.at(x, y)[0] == 0 && r.at(x, y)[1] == 0 && r.at(x, y)[2] == 0) ++n;
    return n;
}

FalsecolorScale log_scale(FalsecolorDisplay display = FalsecolorDisplay::smooth) {
    FalsecolorScale s;
    s.bottom = 10, s.top = 10000, s.steps = 3, s.palette = FalsecolorPalette::viridis, s.display = display;
    return s;
}

TEST(LegendNumber, KeepsThreeSignificantDigitsWithoutTrailingZeros) {
    EXPECT_EQ(legend_number(1234.0f), "1234");
    EXPECT_EQ(legend_number(12.345f), "12.3");
    EXPECT_EQ(legend_number(0.5f), "0.5");
    EXPECT_EQ(legend_number(100.0f), "100");
    EXPECT_EQ(legend_number(0.0123f), "0.0123");
    EXPECT_EQ(legend_number(123456.0f), "1.23e+05");
    EXPECT_EQ(legend_number(0.0f), "0");
}

TEST(BitmapFont, DrawsTheLegendWordsAndMeasuresThem) {
    EXPECT_EQ(text_width("0", 1), 5);
    EXPECT_EQ(text_width("cd/m\u00b2", 2), (5 * 6 - 1) * 2);
    for (char32_t c : {U'0', U'9', U'.', U'e', U'+', U'-', U'c', U'd', U'/', U'm', U'\u00b2', U'l', U'x', U'a',
                       U'i', U'n', U' '})
        EXPECT_TRUE(has_glyph(c)) << static_cast<int>(c);
    BgrRaster r(20, 10, 255);
    draw_text(r, 1, 1, "1", 1, {0, 0, 0});
    // "1": the stem in column 2 of the glyph, all seven rows.
    for (int y = 1; y < 8; ++y) EXPECT_FALSE(white(r.at(3, y))) << y;
    EXPECT_TRUE(white(r.at(1, 3)));
    EXPECT_EQ(dark_pixels(r, 0, 0, 20, 10), 10);
}

TEST(FalsecolorFigure, IsThePictureItselfWithoutLegendOrExtrema) {
    BgrRaster picture(30, 20, 9);
    const BgrRaster figure = falsecolor_figure(picture, log_scale(), {});
    EXPECT_EQ(figure.width, 30);
    EXPECT_EQ(figure.bgr, picture.bgr);
}

TEST(FalsecolorFigure, PutsTheColourBarWithLabelsAndUnitsBesideThePicture) {
    BgrRaster picture(300, 400, 40);
    const FalsecolorScale scale = log_scale();
    const BgrRaster figure = falsecolor_figure(picture, scale, {true, false, {}});
    const LegendLayout l = legend_layout(picture, scale);
    EXPECT_GT(figure.width, 300 + 60);
    EXPECT_EQ(figure.height, 400);
    EXPECT_EQ(l.panel_x, 300);
    // The picture unchanged at the left.
    EXPECT_EQ(figure.at(299, 399)[0], 40);
    // The bar: the top of the palette at the top, the bottom at the bottom.
    const auto& viridis = palette_colours(FalsecolorPalette::viridis);
    const int mid_x = (l.bar_x0 + l.bar_x1) / 2;
    EXPECT_TRUE(same(figure.at(mid_x, l.bar_top), viridis[255]));
    EXPECT_TRUE(same(figure.at(mid_x, l.bar_bottom), viridis[0]));
    // Labels beside the four step values, and the units above the bar.
    const int text = glyph_height * l.text_size;
    for (int k = 0; k <= 3; ++k) {
        const int y = l.bar_bottom - (l.bar_bottom - l.bar_top) * k / 3;
        EXPECT_GT(dark_pixels(figure, l.bar_x1 + 4 * l.text_size, y - text / 2, figure.width, y + text / 2 + 1), 10)
            << "label " << k;
    }
    EXPECT_GT(dark_pixels(figure, l.bar_x0, 0, figure.width, l.bar_top - 2), 10);
}

TEST(FalsecolorFigure, GrowsAShortPictureToTheLegendsHeightAndShowsSwatchesForContours) {
    BgrRaster picture(50, 30, 40);
    const FalsecolorScale scale = log_scale(FalsecolorDisplay::contours);
    const BgrRaster figure = falsecolor_figure(picture, scale, {true, false, {}});
    EXPECT_GT(figure.height, 30);
    EXPECT_TRUE(white(figure.at(10, 40))) << "under the picture";
    const LegendLayout l = legend_layout(picture, scale);
    const int mid_x = (l.bar_x0 + l.bar_x1) / 2;
    EXPECT_TRUE(same(figure.at(mid_x, l.bar_bottom), level_colour(scale, 0)));
    EXPECT_TRUE(same(figure.at(mid_x, l.bar_top), level_colour(scale, 3)));
}

TEST(FalsecolorFigure, MarksTheBrightestAndDarkestPixelsWithTheirValues) {
    BgrRaster picture(200, 150, 128);
    PictureExtrema marks;
    marks.found = true;
    marks.max_x = 150, marks.max_y = 40, marks.maximum = 12345;
    marks.min_x = 20, marks.min_y = 120, marks.minimum = 0.25f;
    const BgrRaster figure = falsecolor_figure(picture, log_scale(), {false, true, marks});
    EXPECT_EQ(figure.width, 200);
    // The marked pixel itself is kept; the square around it is black.
    EXPECT_EQ(figure.at(150, 40)[0], 128);
    // The square around it (9 pixels a side) is black, inside a white one.
    EXPECT_EQ(dark_pixels(figure, 145, 35, 156, 46), 32);
    EXPECT_TRUE(white(figure.at(145, 40)));
    // Each value in a framed box beside its mark: dark text on white. The
    // maximum's box would leave the picture on the right, so it goes left.
    EXPECT_GT(dark_pixels(figure, 0, 25, 145, 55), 60);
    EXPECT_GT(dark_pixels(figure, 26, 105, 200, 140), 60);
}

TEST(FalsecolorFigure, GoesIntoPngAndBmpFilesThatReadBackPixelForPixel) {
    BgrRaster picture(64, 48);
    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 64; ++x) picture.put(x, y, static_cast<uint8_t>(4 * x), static_cast<uint8_t>(5 * y), 77);
    const BgrRaster figure = falsecolor_figure(picture, log_scale(), {true, false, {}});
    TempFolder folder;
    const std::string png = (folder / "figure.png").string();
    ASSERT_TRUE(write_png24(png, figure.width, figure.height, figure.bgr));
    EXPECT_EQ(read_file(png).substr(1, 3), "PNG");
    const BgrRaster decoded = read_png_raster(png);
    EXPECT_EQ(decoded.width, figure.width);
    EXPECT_EQ(decoded.height, figure.height);
    EXPECT_TRUE(decoded.bgr == figure.bgr);
    EXPECT_FALSE(write_png24((folder / "missing/figure.png").string(), figure.width, figure.height, figure.bgr));

    const std::string bmp = (folder / "figure.bmp").string();
    ASSERT_TRUE(write_bmp24(bmp, figure.width, figure.height, figure.bgr));
    const auto back = read_bmp_raster(bmp);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->width, figure.width);
    EXPECT_EQ(back->bgr, figure.bgr);
    write_file(folder / "bad.bmp", "BM not a bitmap");
    EXPECT_FALSE(read_bmp_raster((folder / "bad.bmp").string()));
}

}  // namespace
