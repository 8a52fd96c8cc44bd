// Scanlines written by the programs decode back to the same pixels in the
// core's decoder, in run-length form where Radiance uses it.

#include <gtest/gtest.h>

#include <random>

#include "lib/command_line.h"
#include "lib/picture_output.h"
#include "test_picture.h"

namespace {

std::vector<RgbePixel> runs_and_noise(int n, unsigned seed) {
    std::mt19937 random(seed);
    std::vector<RgbePixel> pixels;
    while (static_cast<int>(pixels.size()) < n) {
        const int kind = static_cast<int>(random() % 4);
        const int length = 1 + static_cast<int>(random() % 300);
        const RgbePixel fixed{static_cast<uint8_t>(random()), static_cast<uint8_t>(random()), 7, 130};
        for (int i = 0; i < length && static_cast<int>(pixels.size()) < n; ++i)
            pixels.push_back(kind == 0 ? fixed
                                       : RgbePixel{static_cast<uint8_t>(random()), static_cast<uint8_t>(i % 5 ? 9 : i),
                                                   static_cast<uint8_t>(random() % 3), static_cast<uint8_t>(128 + kind)});
    }
    return pixels;
}

TEST(PictureOutput, WritesScanlinesTheCoreDecoderReadsBack) {
    TempFolder folder;
    for (const int n : {1, 7, 8, 9, 127, 128, 129, 1000, 4099, 32767, 32768}) {
        const auto pixels = runs_and_noise(2 * n, static_cast<unsigned>(n));
        PictureOutput out;
        ASSERT_TRUE(out.open((folder / "p.hdr").string()));
        ResolutionLine line;
        line.scanline_length = n;
        line.scanline_count = 2;
        line.flags = ResolutionLine::y_major | ResolutionLine::y_decreasing;
        out.write_header({"#?RADIANCE"}, line);
        out.write_pixels(pixels.data(), n);
        out.write_pixels(pixels.data() + n, n);
        ASSERT_TRUE(out.finish());
        const auto back = read_picture(folder / "p.hdr");
        ASSERT_TRUE(back.ok) << n;
        EXPECT_EQ(back.pixels, pixels) << n;
        const size_t data = read_file(folder / "p.hdr").size() - (12 + line.to_string().size() + 1);
        if (n < 8 || n > 32767)
            EXPECT_EQ(data, 8u * static_cast<size_t>(n));  // flat
        else
            EXPECT_LT(data, 8u * static_cast<size_t>(n) + 32);  // run-length form
    }
}

TEST(PictureOutput, EncodesLongRunsInPiecesOfAtMost127) {
    std::vector<uint8_t> values(300, 42);
    values[0] = 1;
    std::vector<uint8_t> out(400);
    uint8_t* end = encode_component_runs(values.data(), 300, out.data());
    EXPECT_EQ(std::vector<uint8_t>(out.data(), end), (std::vector<uint8_t>{1, 1, 128 + 127, 42, 128 + 127, 42, 128 + 45, 42}));
}

TEST(CommandLine, QuotesWordsWithBlanksAsRadianceRecordsThem) {
    const std::vector<std::string> words = {"pcomb", "-e", "ro=ri(1) / ri(2)", "say \"hi\" now", "a.hdr"};
    EXPECT_EQ(command_line_text(words), "pcomb -e \"ro=ri(1) / ri(2)\" 'say \"hi\" now' a.hdr");
    EXPECT_EQ(program_base_name("/opt/radiance/bin/pfilt.exe"), "pfilt");
    EXPECT_EQ(leading_integer("--5"), 0);
    EXPECT_EQ(leading_integer("-12"), -12);
    EXPECT_EQ(parse_number("1e+020"), 1e20);
    EXPECT_FALSE(parse_number("2x"));
}

}  // namespace
