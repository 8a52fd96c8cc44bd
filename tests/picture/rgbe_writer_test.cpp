// The RGBE writer and encoder: what they write reads back unchanged.

#include <gtest/gtest.h>

#include "picture/rgbe_reader.h"
#include "picture/rgbe_writer.h"
#include "support/temp_folder.h"

namespace {

std::vector<RgbePixel> pattern(int width, int height) {
    std::vector<RgbePixel> pixels;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            // Runs and literals mixed: long runs on the left, varied values on the right.
            pixels.push_back(x < width / 2 ? RgbePixel{50, 60, 70, 130}
                                           : RgbePixel{static_cast<uint8_t>(x + 10 * y), static_cast<uint8_t>(x * 3),
                                                       static_cast<uint8_t>(y), static_cast<uint8_t>(120 + x % 9)});
    return pixels;
}

TEST(RgbeWriter, WritesPicturesThatReadBackPixelForPixel) {
    TempFolder folder;
    for (auto [width, height] : {std::pair{1, 1}, {7, 3}, {8, 2}, {300, 5}, {1000, 2}}) {
        const auto pixels = pattern(width, height);
        RgbePictureHeader header;
        header.lines = {"EXPOSURE=2.000000e+00"};
        header.resolution = standard_resolution(width, height);
        const std::string path = (folder / "w.hdr").string();
        ASSERT_TRUE(write_rgbe_picture(path, header, pixels));
        auto back = ra2picarray(path);
        ASSERT_TRUE(back.ok()) << width;
        EXPECT_EQ(back.value().scanline_length, width);
        EXPECT_EQ(back.value().scanline_count, height);
        EXPECT_EQ(back.value().exposures, std::vector<float>{2.0f});
        EXPECT_EQ(back.value().pixels, pixels) << width << "x" << height;
    }
}

TEST(RgbeWriter, WritesTheStandardHeaderAndResolutionLine) {
    TempFolder folder;
    RgbePictureHeader header;
    header.lines = {"SOFTWARE= test"};
    header.resolution = standard_resolution(3, 2);
    const auto path = folder / "h.hdr";
    ASSERT_TRUE(write_rgbe_picture(path.string(), header, std::vector<RgbePixel>(6)));
    const std::string text = read_file(path);
    EXPECT_EQ(text.substr(0, 60), "#?RADIANCE\nSOFTWARE= test\nFORMAT=32-bit_rle_rgbe\n\n-Y 2 +X 3\n");
    EXPECT_EQ(text.size(), 60u + 24u);  // three pixels a row are too few to encode
}

TEST(RgbeWriter, CompressesLongRuns) {
    TempFolder folder;
    RgbePictureHeader header;
    header.resolution = standard_resolution(1000, 10);
    const auto path = folder / "c.hdr";
    ASSERT_TRUE(write_rgbe_picture(path.string(), header, std::vector<RgbePixel>(10000, {1, 2, 3, 128})));
    EXPECT_LT(read_file(path).size(), 10000u / 10);
}

TEST(RgbeEncoding, TruncatesMantissasSoThatDecodedValuesReEncodeUnchanged) {
    for (int e = 100; e < 160; e += 7)
        for (int m = 0; m < 256; m += 17) {
            const RgbePixel p{static_cast<uint8_t>(m), static_cast<uint8_t>(m / 2), 255, static_cast<uint8_t>(e)};
            const RgbColor c = decode_rgbe(p);
            EXPECT_EQ(encode_rgbe(c.r, c.g, c.b), p) << m << " " << e;
        }
    EXPECT_EQ(encode_rgbe(0, 0, 0), RgbePixel{});
    EXPECT_EQ(encode_rgbe(-1, 1, 0).r, 0);
    EXPECT_EQ(encode_rgbe(1.0f, 0.5f, 0.25f), (RgbePixel{128, 64, 32, 129}));
}

TEST(ResolutionLine, NamesEveryOrientation) {
    for (int flags = 0; flags < 8; ++flags) {
        ResolutionLine line{640, 480, flags};
        auto back = parse_resolution_line(line.to_string());
        ASSERT_TRUE(back.has_value()) << line.to_string();
        EXPECT_EQ(back->flags, flags) << line.to_string();
        EXPECT_EQ(back->scanline_length, 640) << line.to_string();
        EXPECT_EQ(back->scanline_count, 480) << line.to_string();
    }
    EXPECT_EQ(standard_resolution(640, 480).to_string(), "-Y 480 +X 640");
    // A letter at the start of the line has no sign in front of it.
    auto bare = parse_resolution_line("Y 2 X 3");
    ASSERT_TRUE(bare.has_value());
    EXPECT_EQ(bare->flags, ResolutionLine::y_major);
}

}  // namespace
