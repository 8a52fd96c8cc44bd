// protate: a clockwise quarter turn of the scan grid, with the orientation
// of the resolution line turned to match.

#include <gtest/gtest.h>

#include "lib/picture_rotation.h"
#include "picture/resolution_line.h"
#include "picture/rgbe_reader.h"
#include "program_run.h"
#include "test_picture.h"

namespace {

TEST(Protate, TurnsTinyClockwiseAndRecordsItsNameAfterTheFormat) {
    TempFolder folder;
    write_file(folder / "tiny.hdr", tiny_picture_bytes());
    const auto run = run_in(folder, "protate  tiny.hdr r.hdr");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out + run.err, "");
    const auto turned = read_picture(folder / "r.hdr");
    ASSERT_TRUE(turned.ok);
    EXPECT_EQ(turned.header, (std::vector<std::string>{"#?RADIANCE", "EXPOSURE=2", "FORMAT=32-bit_rle_rgbe", "protate"}));
    EXPECT_EQ(turned.resolution, "+X 3 +Y 2");
    using namespace tiny;
    EXPECT_EQ(turned.pixels, (std::vector<RgbePixel>{D, A, E, B, F, C}));
}

TEST(Protate, FourTurnsGiveBackTheSamePixelsAndResolution) {
    TempFolder folder;
    const auto pixels = position_pixels(37, 11);
    write_file(folder / "p0.hdr", picture_file({}, "-Y 11 +X 37", pixels, 37));
    const auto run = run_in(folder, "protate  p0.hdr p1.hdr && protate  p1.hdr p2.hdr && protate  p2.hdr p3.hdr && "
                                    "protate  p3.hdr p4.hdr");
    ASSERT_EQ(run.status, 0) << run.err;
    const auto once = read_picture(folder / "p1.hdr");
    EXPECT_EQ(once.resolution, "+X 37 +Y 11");
    // Output scanline k, pixel j is input scanline 10 - j, pixel k.
    EXPECT_EQ(once.pixels[5 * 11 + 2], pixels[(10 - 2) * 37 + 5]);
    const auto back = read_picture(folder / "p4.hdr");
    EXPECT_EQ(back.resolution, "-Y 11 +X 37");
    EXPECT_EQ(back.pixels, pixels);
}

TEST(Protate, TurnsEveryOrientationToTheNextOneClockwise) {
    const std::pair<const char*, const char*> turns[] = {
        {"-Y 6 +X 10", "+X 10 +Y 6"}, {"+X 10 +Y 6", "+Y 6 -X 10"}, {"+Y 6 -X 10", "-X 10 -Y 6"},
        {"-X 10 -Y 6", "-Y 6 +X 10"}, {"-Y 6 -X 10", "-X 10 +Y 6"}, {"-X 10 +Y 6", "+Y 6 +X 10"},
        {"+Y 6 +X 10", "+X 10 -Y 6"}, {"+X 10 -Y 6", "-Y 6 -X 10"},
    };
    for (const auto& [before, after] : turns) {
        const auto line = parse_resolution_line(before);
        ASSERT_TRUE(line);
        EXPECT_EQ(rotated_resolution(*line).to_string(), after) << before;
    }
}

TEST(Protate, TurnedPictureReadsBackTurnedWithTheSameLuminance) {
    TempFolder folder;
    write_file(folder / "tiny.hdr", tiny_picture_bytes());
    ASSERT_EQ(run_in(folder, "protate  tiny.hdr r.hdr").status, 0);
    const auto before = load_luminance_map((folder / "tiny.hdr").string());
    const auto after = load_luminance_map((folder / "r.hdr").string());
    ASSERT_TRUE(before.ok() && after.ok());
    EXPECT_EQ(after.value().width, 2);
    EXPECT_EQ(after.value().height, 3);
    EXPECT_EQ(after.value().exposure, 2.0f);
    // Row k, column j of the turned picture shows row 1 - j, column k.
    for (int k = 0; k < 3; ++k)
        for (int j = 0; j < 2; ++j) EXPECT_EQ(after.value().at(j, k), before.value().at(k, 1 - j));
}

TEST(Protate, NamesTheFileItCannotOpen) {
    TempFolder folder;
    const auto missing = run_in(folder, "protate  nosuch.hdr r.hdr");
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.err, "nosuch.hdr: cannot open\n");
    write_file(folder / "x.hdr", "#?RADIANCE\nFORMAT=32-bit_rle_xyze\n\n-Y 1 +X 1\n\x80\x80\x80\x80");
    EXPECT_EQ(run_in(folder, "protate  x.hdr r.hdr").err, "protate: not a Radiance picture\n");
    write_file(folder / "cut.hdr", "#?RADIANCE\n\n-Y 2 +X 3\n\x80\x80\x80\x80");
    EXPECT_EQ(run_in(folder, "protate  cut.hdr r.hdr").err, "protate: read error\n");
    write_file(folder / "nosize.hdr", "#?RADIANCE\n\nsize unknown\n");
    EXPECT_EQ(run_in(folder, "protate  nosize.hdr r.hdr").err, "protate: bad picture size\n");
}

}  // namespace
