// Run-length pictures are converted in bands on every core; the luminance
// map must be the same, value for value, as converting each pixel alone,
// whatever mix of scanline forms and however many windows the file takes.

#include <gtest/gtest.h>

#include <cstring>
#include <random>

#include "picture/luminance_bands.h"
#include "picture/rgbe_reader.h"
#include "picture/rgbe_writer.h"
#include "picture/scanline_codec.h"
#include "support/picture_bytes.h"
#include "support/temp_folder.h"

namespace {

// Every exponent (black, the tiny ones below the normal floats, the largest)
// with mantissas that vary from pixel to pixel and from row to row.
std::vector<RgbePixel> every_exponent(int width, int height, unsigned seed) {
    std::mt19937 random(seed);
    std::vector<RgbePixel> pixels(static_cast<size_t>(width) * static_cast<size_t>(height));
    for (size_t i = 0; i < pixels.size(); ++i) {
        const auto e = static_cast<uint8_t>(i % 256);
        pixels[i] = {static_cast<uint8_t>(random()), static_cast<uint8_t>(random()), static_cast<uint8_t>(random()), e};
        if (i % 97 == 0) pixels[i] = {};  // black, as the corners of a fisheye
    }
    return pixels;
}

void expect_each_pixel(const LuminanceMap& map, const std::vector<RgbePixel>& pixels, float exposure) {
    ASSERT_EQ(map.data.size(), pixels.size());
    size_t differing = 0;
    for (size_t i = 0; i < pixels.size(); ++i) {
        const RgbePixel& p = pixels[i];
        const float expected = rgbe_luminance(p.r, p.g, p.b, p.e, exposure);
        // Bit for bit: NaN never occurs, and -0 cannot.
        if (std::memcmp(&expected, &map.data[i], sizeof expected) != 0 && differing++ < 5)
            ADD_FAILURE() << "pixel " << i << " (" << int(p.r) << " " << int(p.g) << " " << int(p.b) << " "
                          << int(p.e) << "): " << map.data[i] << " instead of " << expected;
    }
    EXPECT_EQ(differing, 0u);
}

TEST(LuminanceBands, ConvertEveryExponentExactlyAsOnePixelAtATime) {
    constexpr int width = 1000, height = 9;
    const auto pixels = every_exponent(width, height, 3);
    for (const float exposure : {1.0f, 0.37f, 8.0f}) {
        std::vector<uint8_t> planes(4 * width);
        std::vector<float> out(width);
        for (int row = 0; row < height; ++row) {
            for (int i = 0; i < width; ++i) {
                const RgbePixel& p = pixels[static_cast<size_t>(row * width + i)];
                planes[i] = p.r;
                planes[width + i] = p.g;
                planes[2 * width + i] = p.b;
                planes[3 * width + i] = p.e;
            }
            planes_to_luminance(planes.data(), width, exposure, out.data());
            for (int i = 0; i < width; ++i) {
                const RgbePixel& p = pixels[static_cast<size_t>(row * width + i)];
                ASSERT_EQ(out[static_cast<size_t>(i)], rgbe_luminance(p.r, p.g, p.b, p.e, exposure))
                    << "exposure " << exposure << " pixel " << i << " exponent " << int(p.e);
            }
        }
    }
}

class LuminanceBandsFile : public ::testing::Test {
protected:
    std::string write(const std::vector<RgbePixel>& pixels, int width, int height, std::vector<std::string> lines = {}) {
        RgbePictureHeader header;
        header.lines = std::move(lines);
        header.resolution = standard_resolution(width, height);
        const auto path = (folder / "p.hdr").string();
        EXPECT_TRUE(write_rgbe_picture(path, header, pixels));
        return path;
    }
    TempFolder folder;
};

TEST_F(LuminanceBandsFile, APictureOfManyWindowsReadsAsEachPixelConverted) {
    // About 9 MB of mostly literal scanlines: more than two windows, so
    // scanlines are cut at window ends and picked up again.
    constexpr int width = 3001, height = 750;
    const auto pixels = every_exponent(width, height, 5);
    const auto map = load_luminance_map(write(pixels, width, height, {"EXPOSURE=0.25"}));
    ASSERT_TRUE(map.ok()) << map.failure().message;
    EXPECT_EQ(map.value().exposure, 0.25f);
    expect_each_pixel(map.value(), pixels, 0.25f);
}

TEST_F(LuminanceBandsFile, RunsOfEqualPixelsReadAsEachPixelConverted) {
    constexpr int width = 640, height = 480;
    std::vector<RgbePixel> pixels(static_cast<size_t>(width) * height);
    for (size_t i = 0; i < pixels.size(); ++i)
        pixels[i] = {static_cast<uint8_t>(i / 300), 80, static_cast<uint8_t>(i / 1000), static_cast<uint8_t>(120 + i / 40000)};
    const auto map = load_luminance_map(write(pixels, width, height));
    ASSERT_TRUE(map.ok());
    expect_each_pixel(map.value(), pixels, 1.0f);
}

TEST(LuminanceBandsIndex, StopsAtAScanlineOfAnotherFormAndAtOneNotWhollyHeld) {
    std::vector<RgbePixel> row;
    for (int i = 0; i < 20; ++i) row.push_back({static_cast<uint8_t>(i), 3, 4, 130});
    PictureBytes two;
    two.rle_literal_scanline(row).rle_scanline(20, {9, 8, 7, 131});
    const std::string rle = two.str();
    const std::string bytes = rle + std::string("\x05\x06\x07\x80", 4);
    RleScanlines index;
    index_rle_scanlines(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), 20, 10, index);
    EXPECT_EQ(index.rows, 2u);
    EXPECT_EQ(index.bytes, rle.size());
    EXPECT_TRUE(index.other_form);
    EXPECT_EQ(index.last_pixel[0], 9);
    EXPECT_EQ(index.last_pixel[3], 131);

    // Cut one byte short: only the first scanline is whole.
    index_rle_scanlines(reinterpret_cast<const uint8_t*>(rle.data()), rle.size() - 1, 20, 10, index);
    EXPECT_EQ(index.rows, 1u);
    EXPECT_FALSE(index.other_form);
    EXPECT_EQ(index.last_pixel[0], 19);

    // A scanline of another length is left to the sequential decoder.
    index_rle_scanlines(reinterpret_cast<const uint8_t*>(rle.data()), rle.size(), 21, 10, index);
    EXPECT_EQ(index.rows, 0u);
    EXPECT_FALSE(index.other_form);
}

TEST(LuminanceBandsMixed, AnOldStyleScanlineAfterRunLengthOnesRepeatsTheirLastPixel) {
    // Two run-length scanlines, then one in flat pixels whose repeat marker
    // repeats the last pixel of the run-length scanline before it.
    TempFolder folder;
    const RgbePixel last{9, 8, 7, 131};
    PictureBytes bytes;
    bytes.text(picture_header({}, "-Y 3 +X 8")).rle_scanline(8, {1, 2, 3, 130}).rle_scanline(8, last);
    bytes.repeat_marker(7).pixel({4, 4, 4, 128});
    const auto path = (folder / "mixed.hdr").string();
    write_file(path, bytes.str());
    const auto map = load_luminance_map(path);
    ASSERT_TRUE(map.ok()) << map.failure().message;
    for (int x = 0; x < 7; ++x) EXPECT_EQ(map.value().at(x, 2), rgbe_luminance(9, 8, 7, 131, 1.0f)) << x;
    EXPECT_EQ(map.value().at(7, 2), rgbe_luminance(4, 4, 4, 128, 1.0f));
    EXPECT_EQ(map.value().at(3, 0), rgbe_luminance(1, 2, 3, 130, 1.0f));
}

}  // namespace
