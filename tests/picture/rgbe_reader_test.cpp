// The application's RGBE reader: header, format, resolution line, both
// scanline formats, exposure handling, the luminance formula and every way a
// damaged file is refused.

#include <gtest/gtest.h>

#include <cmath>

#include "picture/rgbe_reader.h"
#include "support/comma_locale.h"
#include "support/picture_bytes.h"
#include "support/temp_folder.h"

namespace {

class RgbeReader : public ::testing::Test {
protected:
    std::string write(const std::string& bytes, const std::string& name = "p.hdr") {
        const auto path = folder / name;
        write_file(path, bytes);
        return path.string();
    }
    TempFolder folder;
};

const RgbePixel sample{128, 64, 32, 136};

// 179 × (0.2126 × 128.5 + 0.7152 × 64.5 + 0.0722 × 32.5), worked by hand.
constexpr float sample_luminance = 13567.4843f;

TEST_F(RgbeReader, ConvertsTheSamplePixelToItsLuminance) {
    const auto path = write(PictureBytes().text(picture_header({}, "-Y 1 +X 1")).pixel(sample).str());
    auto map = load_luminance_map(path);
    ASSERT_TRUE(map.ok());
    EXPECT_EQ(map.value().width, 1);
    EXPECT_EQ(map.value().height, 1);
    EXPECT_EQ(map.value().exposure, 1.0f);
    EXPECT_NEAR(map.value().data[0], sample_luminance, 0.001);
    EXPECT_EQ(map.value().data[0], rgbe_luminance(128, 64, 32, 136, 1.0f));
}

TEST_F(RgbeReader, RoundsEachStepToSinglePrecision) {
    // Steps in float: each weighted term rounded, the float sum, times 179.
    const float r = 128.5f, g = 64.5f, b = 32.5f;
    const float terms = static_cast<float>(0.2126 * r) + static_cast<float>(0.7152 * g) +
                        static_cast<float>(0.0722 * b);
    const float expected = static_cast<float>(179.0 * terms);
    EXPECT_EQ(rgbe_luminance(128, 64, 32, 136, 1.0f), expected);
}

TEST_F(RgbeReader, GivesAZeroExponentATinyPositiveValue) {
    const float l = rgbe_luminance(0, 0, 0, 0, 1.0f);
    EXPECT_GT(l, 0.0f);
    EXPECT_LT(l, 1e-37f);
}

TEST_F(RgbeReader, AcceptsAHeaderWithoutFormatLine) {
    const auto path = write(PictureBytes().text("some header\n\n-Y 1 +X 1\n").pixel(sample).str());
    EXPECT_TRUE(load_luminance_map(path).ok());
}

TEST_F(RgbeReader, AcceptsTheRgbeFormatAndRefusesXyze) {
    const auto good =
        write(PictureBytes().text(picture_header({"FORMAT=32-bit_rle_rgbe"}, "-Y 1 +X 1")).pixel(sample).str(), "a");
    EXPECT_TRUE(load_luminance_map(good).ok());
    const auto bad =
        write(PictureBytes().text(picture_header({"FORMAT=32-bit_rle_xyze"}, "-Y 1 +X 1")).pixel(sample).str(), "b");
    auto result = load_luminance_map(bad);
    ASSERT_FALSE(result.ok());
    EXPECT_EQ(result.failure().code, read_bad_header);
    EXPECT_EQ(result.failure().message, "Something is wrong here\n");
}

TEST_F(RgbeReader, TakesTheLastFormatLineAndIgnoresAnEmptyOne) {
    const auto later = write(
        PictureBytes().text(picture_header({"FORMAT=32-bit_rle_xyze", "FORMAT= 32-bit_rle_rgbe"}, "-Y 1 +X 1"))
            .pixel(sample).str(), "a");
    EXPECT_TRUE(load_luminance_map(later).ok());
    const auto empty = write(
        PictureBytes().text(picture_header({"FORMAT=32-bit_rle_rgbe", "FORMAT=   "}, "-Y 1 +X 1")).pixel(sample).str(),
        "b");
    EXPECT_TRUE(load_luminance_map(empty).ok());
    const std::string long_value(80, 'x');
    const auto too_long =
        write(PictureBytes().text(picture_header({"FORMAT=" + long_value}, "-Y 1 +X 1")).pixel(sample).str(), "c");
    EXPECT_FALSE(load_luminance_map(too_long).ok());
}

TEST_F(RgbeReader, MultipliesEveryExposureLine) {
    const auto neutral = write(
        PictureBytes().text(picture_header({"EXPOSURE=2.0", "EXPOSURE=0.5"}, "-Y 1 +X 1")).pixel(sample).str(), "a");
    auto map = load_luminance_map(neutral);
    ASSERT_TRUE(map.ok());
    EXPECT_EQ(map.value().exposure, 1.0f);
    EXPECT_NEAR(map.value().data[0], sample_luminance, 0.001);

    const auto doubled =
        write(PictureBytes().text(picture_header({"EXPOSURE=2.0"}, "-Y 1 +X 1")).pixel(sample).str(), "b");
    auto halved = load_luminance_map(doubled);
    ASSERT_TRUE(halved.ok());
    EXPECT_EQ(halved.value().exposure, 2.0f);
    EXPECT_NEAR(halved.value().data[0], sample_luminance / 2, 0.001);
}

TEST_F(RgbeReader, FindsTheExposureKeyAnywhereInALine) {
    const auto path =
        write(PictureBytes().text(picture_header({"# EXPOSURE=4", "\tEXPOSURE=0.5"}, "-Y 1 +X 1")).pixel(sample).str());
    auto map = load_luminance_map(path);
    ASSERT_TRUE(map.ok());
    EXPECT_EQ(map.value().exposure, 2.0f);
}

TEST_F(RgbeReader, IgnoresExposureValuesThatAreNotPositiveFiniteNumbers) {
    const auto path = write(PictureBytes()
                                .text(picture_header({"# see EXPOSURE= in the manual", "EXPOSURE=0", "EXPOSURE=-2",
                                                      "EXPOSURE=inf", "EXPOSURE=nan", "EXPOSURE=1e99", "EXPOSURE=3"},
                                                     "-Y 1 +X 1"))
                                .pixel(sample)
                                .str());
    auto map = load_luminance_map(path);
    ASSERT_TRUE(map.ok());
    EXPECT_EQ(map.value().exposure, 3.0f);
    EXPECT_TRUE(std::isfinite(map.value().data[0]));
}

TEST_F(RgbeReader, UsesMoreThan256ExposureValues) {
    std::vector<std::string> lines(300, "EXPOSURE=1");
    lines.push_back("EXPOSURE=4");  // the 301st
    const auto path = write(PictureBytes().text(picture_header(lines, "-Y 1 +X 1")).pixel(sample).str());
    auto picture = ra2picarray(path);
    ASSERT_TRUE(picture.ok());
    EXPECT_EQ(picture.value().exposures.size(), 301u);
    auto map = load_luminance_map(path);
    ASSERT_TRUE(map.ok());
    EXPECT_EQ(map.value().exposure, 4.0f);
}

TEST_F(RgbeReader, CutsOverLongHeaderLinesIntoPieces) {
    // The key starts right after the first 2046-byte piece, so it is found.
    const std::string line = std::string(2046, 'a') + "EXPOSURE=2";
    const auto path = write(PictureBytes().text(picture_header({line}, "-Y 1 +X 1")).pixel(sample).str());
    auto map = load_luminance_map(path);
    ASSERT_TRUE(map.ok());
    EXPECT_EQ(map.value().exposure, 2.0f);
}

TEST_F(RgbeReader, ReadsBothResolutionLineOrdersWithoutTransposing) {
    std::vector<RgbePixel> pixels;
    for (int i = 0; i < 6; ++i) pixels.push_back({static_cast<uint8_t>(10 * i + 1), 0, 0, 128});
    PictureBytes y_first;
    y_first.text(picture_header({}, "-Y 2 +X 3"));
    for (auto& p : pixels) y_first.pixel(p);
    auto a = ra2picarray(write(y_first.str(), "a"));
    ASSERT_TRUE(a.ok());
    EXPECT_EQ(a.value().scanline_length, 3);
    EXPECT_EQ(a.value().scanline_count, 2);

    PictureBytes x_first;
    x_first.text(picture_header({}, "+X 3 -Y 2"));
    for (auto& p : pixels) x_first.pixel(p);
    auto b = ra2picarray(write(x_first.str(), "b"));
    ASSERT_TRUE(b.ok());
    EXPECT_EQ(b.value().scanline_length, 2);
    EXPECT_EQ(b.value().scanline_count, 3);
    // The pixels stay in file order either way.
    EXPECT_EQ(a.value().pixels, pixels);
    EXPECT_EQ(b.value().pixels, pixels);
}

TEST_F(RgbeReader, RefusesUnusableResolutionLines) {
    for (const std::string line : {"-Y 2", "+X 3", "-Y 0 +X 3", "-Y 2 +X -3", "-Y two +X 3"}) {
        const auto path = write(PictureBytes().text(picture_header({}, line)).pixel(sample).str());
        auto map = load_luminance_map(path);
        ASSERT_FALSE(map.ok()) << line;
        EXPECT_EQ(map.failure().code, read_bad_header) << line;
    }
}

TEST_F(RgbeReader, RefusesAHeaderWithoutItsEmptyLine) {
    const auto path = write("#?RADIANCE\nFORMAT=32-bit_rle_rgbe\n");
    auto map = load_luminance_map(path);
    ASSERT_FALSE(map.ok());
    EXPECT_EQ(map.failure().code, read_bad_header);
}

TEST_F(RgbeReader, ReportsAMissingFile) {
    const std::string path = (folder / "missing.hdr").string();
    auto map = load_luminance_map(path);
    ASSERT_FALSE(map.ok());
    EXPECT_EQ(map.failure().code, read_cannot_open);
    EXPECT_EQ(map.failure().message, "Could not open " + path + " file\n");
}

TEST_F(RgbeReader, ReadsShortAndLongScanlinesTheOldWayEvenWhenTheyStartWithTwoTwo) {
    // Seven pixels: too short for run-length encoding, so 2 2 0 7 is a pixel.
    PictureBytes short_line;
    short_line.text(picture_header({}, "-Y 1 +X 7")).bytes({2, 2, 0, 7});
    for (int i = 0; i < 6; ++i) short_line.pixel(sample);
    auto a = ra2picarray(write(short_line.str(), "a"));
    ASSERT_TRUE(a.ok());
    EXPECT_EQ(a.value().pixels[0], (RgbePixel{2, 2, 0, 7}));
    EXPECT_EQ(a.value().pixels[6], sample);

    // 32768 pixels: too long; one pixel then a repeat marker of 32767.
    PictureBytes long_line;
    long_line.text(picture_header({}, "-Y 1 +X 32768")).bytes({2, 2, 0x80, 0x00});
    long_line.repeat_marker(0xff).repeat_marker(0x7f);  // 0x7fff, least significant byte first
    auto b = ra2picarray(write(long_line.str(), "b"));
    ASSERT_TRUE(b.ok());
    EXPECT_EQ(b.value().pixels.size(), 32768u);
    EXPECT_EQ(b.value().pixels.back(), (RgbePixel{2, 2, 0x80, 0}));
}

TEST_F(RgbeReader, DecodesOldStyleRepeatMarkersAcrossScanlines) {
    // The first scanline ends with `sample`; the second starts by repeating it.
    PictureBytes bytes;
    bytes.text(picture_header({}, "-Y 2 +X 3")).pixel({1, 2, 3, 128}).pixel(sample).repeat_marker(1);
    bytes.repeat_marker(2).pixel({9, 9, 9, 129});
    auto picture = ra2picarray(write(bytes.str()));
    ASSERT_TRUE(picture.ok());
    const auto& p = picture.value().pixels;
    EXPECT_EQ(p[1], sample);
    EXPECT_EQ(p[2], sample);
    EXPECT_EQ(p[3], sample);
    EXPECT_EQ(p[4], sample);
    EXPECT_EQ(p[5], (RgbePixel{9, 9, 9, 129}));
}

TEST_F(RgbeReader, RefusesARepeatMarkerAtTheFirstPixel) {
    PictureBytes bytes;
    bytes.text(picture_header({}, "-Y 1 +X 3")).repeat_marker(3);
    auto map = load_luminance_map(write(bytes.str()));
    ASSERT_FALSE(map.ok());
    EXPECT_EQ(map.failure().code, read_bad_scanline);
    EXPECT_EQ(map.failure().message, "error reading Radiance picture");
}

TEST_F(RgbeReader, RefusesARepeatPastTheEndOfTheScanline) {
    PictureBytes bytes;
    bytes.text(picture_header({}, "-Y 2 +X 3")).pixel(sample).repeat_marker(5);
    auto map = load_luminance_map(write(bytes.str()));
    ASSERT_FALSE(map.ok());
    EXPECT_EQ(map.failure().code, read_bad_scanline);
}

TEST_F(RgbeReader, DecodesRunLengthScanlinesWithRunsAndLiterals) {
    std::vector<RgbePixel> row;
    for (int i = 0; i < 20; ++i) row.push_back({static_cast<uint8_t>(i), static_cast<uint8_t>(2 * i), 7, 130});
    PictureBytes bytes;
    bytes.text(picture_header({}, "-Y 2 +X 20")).rle_literal_scanline(row).rle_scanline(20, sample);
    auto picture = ra2picarray(write(bytes.str()));
    ASSERT_TRUE(picture.ok());
    const auto& p = picture.value().pixels;
    for (int i = 0; i < 20; ++i) {
        EXPECT_EQ(p[static_cast<size_t>(i)], row[static_cast<size_t>(i)]);
        EXPECT_EQ(p[static_cast<size_t>(20 + i)], sample);
    }
}

TEST_F(RgbeReader, RefusesAnEmbeddedLengthThatDiffersFromTheResolutionLine) {
    PictureBytes bytes;
    bytes.text(picture_header({}, "-Y 1 +X 20")).rle_scanline(21, sample);
    auto map = load_luminance_map(write(bytes.str()));
    ASSERT_FALSE(map.ok());
    EXPECT_EQ(map.failure().code, read_bad_scanline);
}

TEST_F(RgbeReader, RefusesARunPastTheEndOfTheScanline) {
    PictureBytes bytes;
    // Red: a run of 21 in a scanline of 20.
    bytes.text(picture_header({}, "-Y 1 +X 20")).bytes({2, 2, 0, 20, 128 + 21, 5});
    auto map = load_luminance_map(write(bytes.str()));
    ASSERT_FALSE(map.ok());
    EXPECT_EQ(map.failure().code, read_bad_scanline);

    PictureBytes literal;
    literal.text(picture_header({}, "-Y 1 +X 8")).bytes({2, 2, 0, 8, 9, 1, 2, 3, 4, 5, 6, 7, 8, 9});
    EXPECT_FALSE(load_luminance_map(write(literal.str(), "b")).ok());
}

TEST_F(RgbeReader, RefusesATruncatedPictureAndReturnsNothingPartial) {
    PictureBytes bytes;
    bytes.text(picture_header({}, "-Y 3 +X 20")).rle_scanline(20, sample).rle_scanline(20, sample);
    auto picture = ra2picarray(write(bytes.str()));
    ASSERT_FALSE(picture.ok());
    EXPECT_EQ(picture.failure().code, read_bad_scanline);
}

TEST_F(RgbeReader, ReadsAFlatPixelThatLooksLikeAnEncodedScanlineStart) {
    // 2 2 x y with the high bit of x set is a flat pixel in a scanline of 8..32767.
    PictureBytes bytes;
    bytes.text(picture_header({}, "-Y 1 +X 8")).bytes({2, 2, 0x85, 129});
    for (int i = 0; i < 7; ++i) bytes.pixel(sample);
    auto picture = ra2picarray(write(bytes.str()));
    ASSERT_TRUE(picture.ok());
    EXPECT_EQ(picture.value().pixels[0], (RgbePixel{2, 2, 0x85, 129}));
    EXPECT_EQ(picture.value().pixels[7], sample);
}

TEST_F(RgbeReader, ReadsARealPicture) {
    const std::string path = shared_picture("fisheye_photo_544.hdr");
    if (path.empty()) GTEST_SKIP() << "test pictures not present";
    auto map = load_luminance_map(path);
    ASSERT_TRUE(map.ok());
    EXPECT_EQ(map.value().width, 544);
    EXPECT_EQ(map.value().height, 544);
    EXPECT_NE(map.value().exposure, 1.0f);
    auto picture = ra2picarray(path);
    ASSERT_TRUE(picture.ok());
    // Both roads give the same luminance for every pixel.
    const auto& p = picture.value().pixels;
    const float exposure = exposure_product(picture.value().exposures);
    for (size_t i = 0; i < p.size(); i += 97)
        ASSERT_EQ(map.value().data[i], rgbe_luminance(p[i].r, p[i].g, p[i].b, p[i].e, exposure)) << i;
}

}  // namespace

namespace {

TEST(LuminanceAt, ReadsThePixelUnderAPositionCutTowardZero) {
    LuminanceMap map;
    map.width = 640;
    map.height = 480;
    map.data.resize(640 * 480);
    for (size_t i = 0; i < map.data.size(); ++i) map.data[i] = static_cast<float>(i);
    EXPECT_EQ(luminance_at(map, 20.7f, 10.2f), 6420.0f);
    EXPECT_EQ(luminance_at(map, 0, 0), 0.0f);
    EXPECT_EQ(luminance_at(map, 639.99f, 479.99f), 640.0f * 480 - 1);
}

TEST(LuminanceAt, HasNoPixelOnTheRightAndBottomEdgesOrOutside) {
    LuminanceMap map;
    map.width = 640;
    map.height = 480;
    map.data.assign(640 * 480, 1.0f);
    EXPECT_FALSE(luminance_at(map, 640, 10).has_value());
    EXPECT_FALSE(luminance_at(map, 10, 480).has_value());
    EXPECT_FALSE(luminance_at(map, -0.5f, 10).has_value());
    EXPECT_FALSE(luminance_at(map, 1e30f, 10).has_value());
}

}  // namespace

namespace {

class RgbeReaderLimits : public RgbeReader {};

TEST_F(RgbeReaderLimits, ReadsExposuresInTheCFormUnderACommaDecimalLocale) {
    CommaLocale german;
    SKIP_WITHOUT_COMMA_LOCALE(german);
    for (const auto& [line, product] : {std::pair<std::string, float>{"EXPOSURE=2.5", 2.5f}, {"EXPOSURE=0.5", 0.5f}}) {
        const auto path = write(PictureBytes().text(picture_header({line}, "-Y 1 +X 1")).pixel(sample).str());
        auto map = load_luminance_map(path);
        ASSERT_TRUE(map.ok());
        EXPECT_EQ(map.value().exposure, product) << line;
    }
}

TEST_F(RgbeReaderLimits, ReadsExposuresAsDecimalsOnly) {
    const auto path = write(
        PictureBytes().text(picture_header({"EXPOSURE=0x10", "EXPOSURE= +4", "EXPOSURE=1e1"}, "-Y 1 +X 1")).pixel(sample).str());
    auto map = load_luminance_map(path);
    ASSERT_TRUE(map.ok());
    EXPECT_EQ(map.value().exposure, 40.0f);  // 0x10 reads as 0 and is ignored
}

TEST_F(RgbeReaderLimits, DoesNotSearchPastANulByteInAHeaderLine) {
    std::string line = "COMMENT";
    line.push_back('\0');
    line += " EXPOSURE=4";
    const auto path = write(PictureBytes().text(picture_header({line, "EXPOSURE=2"}, "-Y 1 +X 1")).pixel(sample).str());
    auto map = load_luminance_map(path);
    ASSERT_TRUE(map.ok());
    EXPECT_EQ(map.value().exposure, 2.0f);
}

TEST_F(RgbeReaderLimits, RefusesAResolutionThatCannotBeAllocatedInsteadOfAborting) {
    const auto path = write(PictureBytes().text(picture_header({}, "-Y 1073741825 +X 2147483647")).pixel(sample).str());
    auto map = load_luminance_map(path);
    EXPECT_FALSE(map.ok());
    EXPECT_FALSE(ra2picarray(path).ok());
}

TEST_F(RgbeReaderLimits, ReadsTheExposureOfAHeaderAloneByTheReadersRule) {
    const auto path = write(PictureBytes()
                                .text(picture_header({"EXPOSURE=2", "\tEXPOSURE=4", "# EXPOSURE=0.5 noted", "EXPOSURE=-1"},
                                                     "-Y 1 +X 1"))
                                .str());  // no pixels: only the header is read
    auto exposure = read_picture_exposure(path);
    ASSERT_TRUE(exposure.ok());
    EXPECT_EQ(exposure.value(), 4.0f);
    EXPECT_FALSE(read_picture_exposure(write("no header")).ok());
}

TEST_F(RgbeReaderLimits, RefusesMoreScanlinesThanTheFileCouldHold) {
    const auto path = write(PictureBytes().text(picture_header({}, "-Y 100000 +X 100000")).pixel(sample).str());
    auto map = load_luminance_map(path);
    ASSERT_FALSE(map.ok());
    EXPECT_EQ(map.failure().code, read_bad_scanline);
}

}  // namespace
