// ra_tiff -r: TIFF masks to pictures, with the same inverse gamma as
// ra_bmp -r, the image's top row first, and the TIFF's own tags.

#include <gtest/gtest.h>
#include <tiffio.h>

#include "lib/display_gamma.h"
#include "lib/rgbe_color.h"
#include "program_run.h"
#include "test_picture.h"

namespace {

struct TiffRecipe {
    uint16_t photometric = PHOTOMETRIC_RGB;
    uint16_t samples = 3;
    uint16_t bits = 8;
    uint16_t compression = COMPRESSION_NONE;
    uint16_t orientation = ORIENTATION_TOPLEFT;
    float x_resolution = 0, y_resolution = 0;
    const char* date = nullptr;
    const char* artist = nullptr;
};

// Writes rows of samples (8 or 16 bits each, samples interleaved).
template <class Sample>
void write_tiff(const std::filesystem::path& path, const TiffRecipe& recipe, int width,
                const std::vector<std::vector<Sample>>& rows) {
    TIFF* tif = TIFFOpen(path.c_str(), "w");
    ASSERT_NE(tif, nullptr);
    TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, static_cast<uint32_t>(width));
    TIFFSetField(tif, TIFFTAG_IMAGELENGTH, static_cast<uint32_t>(rows.size()));
    TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, recipe.samples);
    TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, recipe.bits);
    TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, recipe.photometric);
    TIFFSetField(tif, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    TIFFSetField(tif, TIFFTAG_COMPRESSION, recipe.compression);
    TIFFSetField(tif, TIFFTAG_ORIENTATION, recipe.orientation);
    TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, 1u);
    if (recipe.x_resolution > 0) {
        TIFFSetField(tif, TIFFTAG_XRESOLUTION, recipe.x_resolution);
        TIFFSetField(tif, TIFFTAG_YRESOLUTION, recipe.y_resolution);
    }
    std::vector<uint16_t> map(256, 0);
    if (recipe.photometric == PHOTOMETRIC_PALETTE) TIFFSetField(tif, TIFFTAG_COLORMAP, map.data(), map.data(), map.data());
    if (recipe.date) TIFFSetField(tif, TIFFTAG_DATETIME, recipe.date);
    if (recipe.artist) TIFFSetField(tif, TIFFTAG_ARTIST, recipe.artist);
    for (size_t y = 0; y < rows.size(); ++y) {
        std::vector<Sample> row = rows[y];
        TIFFWriteScanline(tif, row.data(), static_cast<uint32_t>(y), 0);
    }
    TIFFClose(tif);
}

TEST(RaTiff, ConvertsAnRgbMaskWithItsTags) {
    TempFolder folder;
    TiffRecipe recipe;
    recipe.compression = COMPRESSION_LZW;
    recipe.x_resolution = 300, recipe.y_resolution = 150;
    recipe.date = "2024:05:06 07:08:09";
    recipe.artist = "someone";
    write_tiff<uint8_t>(folder / "m.tif", recipe, 2, {{0, 0, 0, 255, 255, 255}, {187, 186, 10, 128, 128, 128}});
    const auto run = run_in(folder, "ra_tiff -r m.tif m.hdr");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out + run.err, "");
    const auto mask = read_picture(folder / "m.hdr");
    ASSERT_TRUE(mask.ok);
    EXPECT_EQ(mask.header, (std::vector<std::string>{"#?RADIANCE", "ra_tiff -r", "PIXASPECT=2.000000", "FORMAT=32-bit_rle_rgbe",
                                                     "CAPDATE= 2024:05:06 07:08:09", "OWNER= someone"}));
    EXPECT_EQ(mask.resolution, "-Y 2 +X 2");
    EXPECT_EQ(mask.pixels, (std::vector<RgbePixel>{{147, 147, 147, 109}, {254, 254, 254, 128}, pixel_from_display(187, 186, 10),
                                                   {224, 224, 224, 126}}));
}

TEST(RaTiff, ConvertsGreyAndSixteenBitImages) {
    TempFolder folder;
    TiffRecipe grey;
    grey.photometric = PHOTOMETRIC_MINISBLACK;
    grey.samples = 1;
    grey.compression = COMPRESSION_PACKBITS;
    write_tiff<uint8_t>(folder / "g.tif", grey, 3, {{0, 187, 255}});
    ASSERT_EQ(run_in(folder, "ra_tiff -r g.tif g.hdr").status, 0);
    const auto g = read_picture(folder / "g.hdr");
    EXPECT_EQ(g.header, (std::vector<std::string>{"#?RADIANCE", "ra_tiff -r", "FORMAT=32-bit_rle_rgbe"}));
    EXPECT_EQ(g.pixels, (std::vector<RgbePixel>{{147, 147, 147, 109}, {129, 129, 129, 128}, {254, 254, 254, 128}}));

    TiffRecipe deep;
    deep.bits = 16;
    deep.compression = COMPRESSION_ADOBE_DEFLATE;
    write_tiff<uint16_t>(folder / "d.tif", deep, 1, {{65535, 32768, 0}});
    ASSERT_EQ(run_in(folder, "ra_tiff -r d.tif d.hdr").status, 0);
    const RgbePixel d = read_picture(folder / "d.hdr").pixels[0];
    const Color3 c = decode_color(d);
    EXPECT_NEAR(c.r, 1.0, 0.01);
    EXPECT_NEAR(c.g, std::pow(0.5, 2.2), 0.005);
    EXPECT_EQ(d.b, 0);
}

TEST(RaTiff, PutsTheImagesTopRowFirstWhateverTheOrientation) {
    TempFolder folder;
    TiffRecipe recipe;
    recipe.photometric = PHOTOMETRIC_MINISBLACK;
    recipe.samples = 1;
    recipe.orientation = ORIENTATION_BOTLEFT;
    write_tiff<uint8_t>(folder / "b.tif", recipe, 2, {{255, 0}, {128, 187}});
    ASSERT_EQ(run_in(folder, "ra_tiff -r b.tif b.hdr").status, 0);
    EXPECT_EQ(read_picture(folder / "b.hdr").pixels, (std::vector<RgbePixel>{pixel_from_display(128, 128, 128),
                                                                              pixel_from_display(187, 187, 187),
                                                                              pixel_from_display(255, 255, 255),
                                                                              pixel_from_display(0, 0, 0)}));
}

TEST(RaTiff, RefusesPaletteImagesAndFilesThatAreNotTiff) {
    TempFolder folder;
    TiffRecipe palette;
    palette.photometric = PHOTOMETRIC_PALETTE;
    palette.samples = 1;
    write_tiff<uint8_t>(folder / "p.tif", palette, 1, {{0}});
    const auto refused = run_in(folder, "ra_tiff -r p.tif p.hdr");
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(refused.err, "ra_tiff: unsupported photometric type\n");

    const auto missing = run_in(folder, "ra_tiff -r nosuch.tif o.hdr");
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.err, "TIFFOpen: nosuch.tif: No such file or directory.\nra_tiff: cannot open TIFF input\n");
    write_file(folder / "x.bmp", "BM not really");
    EXPECT_NE(run_in(folder, "ra_tiff -r x.bmp o.hdr").err.find("ra_tiff: cannot open TIFF input\n"), std::string::npos);
}

// A tiled image: 40 x 20 in 16 x 16 tiles, so the right and bottom tiles are
// partly outside the image.
TEST(RaTiff, ReadsTiledImagesTileByTile) {
    TempFolder folder;
    const uint32_t width = 40, height = 20;
    TIFF* tif = TIFFOpen((folder / "t.tif").c_str(), "w");
    ASSERT_NE(tif, nullptr);
    TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, width);
    TIFFSetField(tif, TIFFTAG_IMAGELENGTH, height);
    TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, 3);
    TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, 8);
    TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB);
    TIFFSetField(tif, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    TIFFSetField(tif, TIFFTAG_TILEWIDTH, 16u);
    TIFFSetField(tif, TIFFTAG_TILELENGTH, 16u);
    // Sample values that tell each pixel's column and row apart.
    const auto sample = [](uint32_t x, uint32_t y, int c) { return static_cast<uint8_t>(c == 0 ? x * 6 : c == 1 ? y * 12 : 7); };
    std::vector<uint8_t> tile(16 * 16 * 3);
    for (uint32_t top = 0; top < height; top += 16)
        for (uint32_t left = 0; left < width; left += 16) {
            for (uint32_t r = 0; r < 16; ++r)
                for (uint32_t c = 0; c < 16; ++c)
                    for (int k = 0; k < 3; ++k) tile[(r * 16 + c) * 3 + static_cast<uint32_t>(k)] = sample(left + c, top + r, k);
            ASSERT_GE(TIFFWriteTile(tif, tile.data(), left, top, 0, 0), 0);
        }
    TIFFClose(tif);

    const auto run = run_in(folder, "ra_tiff -r t.tif t.hdr");
    EXPECT_EQ(run.out + run.err, "");
    const auto picture = read_picture(folder / "t.hdr");
    ASSERT_TRUE(picture.ok);
    EXPECT_EQ(picture.resolution, "-Y 20 +X 40");
    ASSERT_EQ(picture.pixels.size(), size_t{width} * height);
    for (uint32_t y : {0u, 15u, 16u, 19u})
        for (uint32_t x : {0u, 15u, 16u, 33u, 39u})
            EXPECT_EQ(picture.pixels[y * width + x], pixel_from_display(sample(x, y, 0), sample(x, y, 1), sample(x, y, 2)))
                << x << "," << y;
}

// Sizes the file's data does not back: a 141-byte file once claimed a
// 570-million-pixel row, another a scanline of 2.4 GB through its samples
// per pixel; and a 16-million-row claim over one strip of three bytes.
TEST(RaTiff, RefusesSizesTheDataDoesNotBack) {
    TempFolder folder;
    TiffRecipe grey;
    grey.photometric = PHOTOMETRIC_MINISBLACK;
    grey.samples = 1;
    write_tiff<uint8_t>(folder / "g.tif", grey, 3, {{0, 187, 255}});
    write_tiff<uint8_t>(folder / "rgb.tif", TiffRecipe{}, 1, {{1, 2, 3}});
    std::string bytes = read_file(folder / "g.tif");
    // Patch the IMAGEWIDTH and IMAGELENGTH entries of the first directory.
    const auto patch = [&](uint16_t tag, uint32_t value) {
        const uint32_t directory = static_cast<uint8_t>(bytes[4]) | static_cast<uint8_t>(bytes[5]) << 8;
        const uint16_t count = static_cast<uint16_t>(static_cast<uint8_t>(bytes[directory]) | static_cast<uint8_t>(bytes[directory + 1]) << 8);
        for (uint16_t i = 0; i < count; ++i) {
            const size_t entry = directory + 2 + i * 12u;
            if ((static_cast<uint8_t>(bytes[entry]) | static_cast<uint8_t>(bytes[entry + 1]) << 8) != tag) continue;
            bytes[entry + 2] = 4, bytes[entry + 3] = 0;  // one LONG
            bytes[entry + 4] = 1, bytes[entry + 5] = 0, bytes[entry + 6] = 0, bytes[entry + 7] = 0;
            for (int k = 0; k < 4; ++k) bytes[entry + 8 + static_cast<size_t>(k)] = static_cast<char>(value >> (8 * k));
        }
    };
    std::string wide = bytes;
    std::swap(wide, bytes);
    patch(TIFFTAG_IMAGEWIDTH, 570425345u);
    std::swap(wide, bytes);
    write_file(folder / "wide.tif", wide);
    const auto refused = run_in(folder, "ra_tiff -r wide.tif w.hdr");
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(refused.err, "ra_tiff: bad image size\n");

    // A width within bounds whose samples per pixel make a 285 MB scanline.
    std::string many = read_file(folder / "rgb.tif");
    std::swap(many, bytes);
    patch(TIFFTAG_IMAGEWIDTH, 1u << 24);
    patch(TIFFTAG_SAMPLESPERPIXEL, 17u);
    patch(TIFFTAG_BITSPERSAMPLE, 8u);  // one value for all samples
    std::swap(many, bytes);
    write_file(folder / "many.tif", many);
    const auto samples = run_in(folder, "ra_tiff -r many.tif m.hdr");
    EXPECT_EQ(samples.status, 1);
    EXPECT_EQ(samples.err, "ra_tiff: bad image size\n");

    patch(TIFFTAG_IMAGELENGTH, 16000000u);
    patch(TIFFTAG_ROWSPERSTRIP, 16000000u);  // one strip of three bytes
    write_file(folder / "tall.tif", bytes);
    const auto failed = run_in(folder, "ra_tiff -r tall.tif t.hdr");
    EXPECT_EQ(failed.status, 1);
    EXPECT_EQ(failed.err, "ra_tiff: bad image size\n");

    // A real image that compresses well is not taken for such a claim.
    TiffRecipe flat = grey;
    flat.compression = COMPRESSION_ADOBE_DEFLATE;
    write_tiff<uint8_t>(folder / "flat.tif", flat, 2048, std::vector<std::vector<uint8_t>>(2048, std::vector<uint8_t>(2048, 187)));
    const auto converted = run_in(folder, "ra_tiff -r flat.tif f.hdr");
    EXPECT_EQ(converted.out + converted.err, "");
    EXPECT_EQ(read_picture(folder / "f.hdr").resolution, "-Y 2048 +X 2048");
}

}  // namespace
