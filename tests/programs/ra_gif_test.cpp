// ra_gif: a 256-colour GIF87a that looks like the BMP display copy.

#include <gif_lib.h>
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cmath>

#include "lib/display_gamma.h"
#include "lib/rgbe_color.h"
#include "program_run.h"
#include "test_picture.h"

namespace {

struct DecodedGif {
    int width = 0, height = 0;
    std::vector<uint8_t> rgb;
};

DecodedGif decode_gif(const std::filesystem::path& path) {
    DecodedGif out;
    int error = 0;
    GifFileType* gif = DGifOpenFileName(path.c_str(), &error);
    if (!gif) return out;
    if (DGifSlurp(gif) == GIF_OK && gif->ImageCount == 1 && gif->SColorMap) {
        out.width = gif->SWidth;
        out.height = gif->SHeight;
        const SavedImage& image = gif->SavedImages[0];
        for (int i = 0; i < out.width * out.height; ++i) {
            const GifColorType c = gif->SColorMap->Colors[image.RasterBits[i]];
            out.rgb.insert(out.rgb.end(), {c.Red, c.Green, c.Blue});
        }
    }
    DGifCloseFile(gif, &error);
    return out;
}

// A colourful picture: hue across, brightness down, over several stops.
std::vector<RgbePixel> colour_field(int width, int height) {
    std::vector<RgbePixel> pixels;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const float hue = 6.2832f * x / width, level = std::pow(2.0f, -4.0f * y / height);
            pixels.push_back(encode_color(level * (1 + std::cos(hue)), level * (1 + std::cos(hue - 2.1f)),
                                          level * (1 + std::cos(hue + 2.1f))));
        }
    return pixels;
}

TEST(RaGif, WritesAGif87aWithAFullGlobalPalette) {
    TempFolder folder;
    write_file(folder / "tiny.hdr", tiny_picture_bytes());
    const auto run = run_in(folder, "ra_gif tiny.hdr  t.gif");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out + run.err, "");
    const std::string gif = read_file(folder / "t.gif");
    ASSERT_GT(gif.size(), 13u + 768u + 10u);
    EXPECT_EQ(gif.substr(0, 6), "GIF87a");
    EXPECT_EQ(gif.substr(6, 7), std::string("\x03\x00\x02\x00\xe7\x00\x00", 7));
    const size_t image = 13 + 768;
    EXPECT_EQ(gif[image], ',');
    EXPECT_EQ(gif.substr(image + 1, 9), std::string("\0\0\0\0\x03\0\x02\0\0", 9));
    EXPECT_EQ(gif[image + 10], 8);  // LZW minimum code size
    EXPECT_EQ(gif.back(), ';');
    const auto decoded = decode_gif(folder / "t.gif");
    ASSERT_EQ(decoded.rgb.size(), 18u);
    // Few colours: each gets its own palette entry, so they come out exact.
    EXPECT_EQ(std::vector<uint8_t>(decoded.rgb.begin(), decoded.rgb.begin() + 3), (std::vector<uint8_t>{255, 187, 137}));
    EXPECT_EQ(std::vector<uint8_t>(decoded.rgb.begin() + 15, decoded.rgb.end()), (std::vector<uint8_t>{4, 6, 7}));
}

TEST(RaGif, LooksLikeTheBmpDisplayCopyOverFourByFourBlocks) {
    TempFolder folder;
    const int width = 96, height = 64;
    const auto pixels = colour_field(width, height);
    write_file(folder / "c.hdr", picture_file({"EXPOSURE=5"}, "-Y 64 +X 96", pixels, width));
    ASSERT_EQ(run_in(folder, "ra_gif c.hdr  c.gif").status, 0);
    const auto gif = decode_gif(folder / "c.gif");
    ASSERT_EQ(gif.width, width);
    ASSERT_EQ(gif.height, height);
    double total = 0;
    int blocks = 0;
    for (int by = 0; by < height; by += 4)
        for (int bx = 0; bx < width; bx += 4)
            for (int c = 0; c < 3; ++c) {
                double want = 0, got = 0;
                for (int y = by; y < by + 4; ++y)
                    for (int x = bx; x < bx + 4; ++x) {
                        const RgbePixel& p = pixels[static_cast<size_t>(y * width + x)];
                        want += display_byte(c == 0 ? p.r : c == 1 ? p.g : p.b, p.e);
                        got += gif.rgb[3 * static_cast<size_t>(y * width + x) + static_cast<size_t>(c)];
                    }
                total += std::fabs(want - got) / 16;
                ++blocks;
            }
    EXPECT_LE(total / blocks, 8.0);
}

TEST(RaGif, GivesItsFileTheUsualModeUnderTheUmask) {
    TempFolder folder;
    write_file(folder / "tiny.hdr", tiny_picture_bytes());
    for (const auto& [mask, mode] : {std::pair{"022", 0644}, std::pair{"027", 0640}}) {
        const auto run = run_in(folder, std::string("umask ") + mask + "; ra_gif tiny.hdr  t" + mask + ".gif");
        ASSERT_EQ(run.status, 0) << run.err;
        struct stat info {};
        ASSERT_EQ(stat((folder / ("t" + std::string(mask) + ".gif")).c_str(), &info), 0);
        EXPECT_EQ(info.st_mode & 0777, static_cast<mode_t>(mode)) << "umask " << mask;
    }
}

TEST(RaGif, ReportsFailures) {
    TempFolder folder;
    EXPECT_EQ(run_in(folder, "ra_gif nosuch.hdr  o.gif").err, "ra_gif: cannot open input \"nosuch.hdr\"\n");
    write_file(folder / "text.hdr", "text\n");
    EXPECT_EQ(run_in(folder, "ra_gif text.hdr  o.gif").err, "ra_gif: bad picture format\n");
    write_file(folder / "cut.hdr", "#?RADIANCE\n\n-Y 2 +X 3\n\x80\x80\x80\x80");
    EXPECT_EQ(run_in(folder, "ra_gif cut.hdr  o.gif").err, "ra_gif: error reading picture (y==1)\n");
    write_file(folder / "tiny.hdr", tiny_picture_bytes());
    const auto output = run_in(folder, "ra_gif tiny.hdr  nodir/o.gif");
    EXPECT_EQ(output.status, 1);
    EXPECT_EQ(output.err, "ra_gif: cannot open output \"nodir/o.gif\"\n");
}

}  // namespace
