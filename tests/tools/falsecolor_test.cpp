// The falsecolor rendering: palette, index rule, labels, the BMP file and
// the window's range rules.

#include <gtest/gtest.h>

#include <vector>

#include <cmath>

#include "common/text_format.h"
#include "picture/bmp_writer.h"
#include "support/temp_folder.h"
#include "tools/falsecolor.h"
#include "tools/falsecolor_form.h"

namespace {

bool operator==(const Rgb8& a, const Rgb8& b) { return a.r == b.r && a.g == b.g && a.b == b.b; }

TEST(FalsecolorPalette, RunsFromPurpleToYellowAsTabled) {
    const auto& p = falsecolor_palette();
    EXPECT_TRUE((p[0] == Rgb8{111, 8, 132}));
    EXPECT_TRUE((p[15] == Rgb8{41, 0, 162}));
    EXPECT_TRUE((p[16] == Rgb8{36, 0, 164}));
    EXPECT_TRUE((p[127] == Rgb8{136, 106, 80}));
    EXPECT_TRUE((p[128] == Rgb8{137, 105, 80}));
    EXPECT_TRUE((p[184] == Rgb8{165, 21, 31}));
    EXPECT_TRUE((p[185] == Rgb8{168, 18, 29}));
    EXPECT_TRUE((p[255] == Rgb8{254, 252, 40}));
}

TEST(FalsecolorIndex, FollowsTheLogScaleWithItsSmallOffset) {
    const LogRange range = falsecolor_log_range(1.0f, 10000.0f);
    EXPECT_FLOAT_EQ(range.lo, 1e-7f);
    EXPECT_FLOAT_EQ(range.hi, 4.0f);
    // Near 100 cd/m² the middle of the palette is reached.
    EXPECT_EQ(falsecolor_index(std::log10(100.0f), range), 128);
    EXPECT_EQ(falsecolor_index(range.lo, range), 0);
    EXPECT_EQ(falsecolor_index(range.hi, range), 255);
    EXPECT_EQ(falsecolor_index(7.0f, range), 255);
    EXPECT_EQ(falsecolor_index(-3.0f, range), 0);
    // trunc(x + 0.01): 0.995 of a step still rounds down, 0.99 + 0.01 = 1.
    const float step = (range.hi - range.lo) / 256.0f;
    EXPECT_EQ(falsecolor_index(range.lo + 0.5f * step, range), 0);
    EXPECT_EQ(falsecolor_index(range.lo + 1.995f * step, range), 2);
}

TEST(FalsecolorIndex, MapsEverythingAtOrBelowOneCandelaToIndexZero) {
    LuminanceMap map;
    map.width = 4;
    map.height = 1;
    map.data = {0.0f, 0.5f, 1.0f, 1000.0f};
    const auto logs = log_luminance(map);
    EXPECT_EQ(logs[0], falsecolor_log_floor);
    EXPECT_EQ(logs[1], falsecolor_log_floor);
    EXPECT_EQ(logs[2], falsecolor_log_floor);
    const LogRange range = falsecolor_log_range(0.001f, 1000.0f);
    EXPECT_EQ(falsecolor_index(logs[0], range), 0);
    EXPECT_EQ(falsecolor_index(logs[3], range), 255);
}

TEST(FalsecolorIndex, GivesIndexZeroForADegenerateRangeInsteadOfDividingByZero) {
    for (auto [bottom, top] : {std::pair{0.0f, 0.0f}, {0.5f, 1.0f}, {50.0f, 50.0f}, {NAN, 10.0f}, {1.0f, INFINITY}}) {
        const LogRange range = falsecolor_log_range(bottom, top);
        EXPECT_TRUE(range.degenerate()) << bottom << " " << top;
        EXPECT_EQ(falsecolor_index(3.0f, range), 0);
        EXPECT_EQ(falsecolor_index(falsecolor_log_floor, range), 0);
    }
    // A narrow range (below log10 256) still clamps at both ends.
    const LogRange narrow = falsecolor_log_range(100.0f, 1000.0f);
    EXPECT_FALSE(narrow.degenerate());
    EXPECT_EQ(falsecolor_index(5.0f, narrow), 255);
    EXPECT_EQ(falsecolor_index(1.0f, narrow), 0);
    EXPECT_EQ(falsecolor_index(1e30f, narrow), 255);
}

TEST(FalsecolorLabels, SpreadOverTheRangeAtTheirFixedSteps) {
    const auto labels = falsecolor_labels(1.0f, 10000.0f);
    const float step = 4.0f / 256.0f;
    EXPECT_NEAR(labels[0], std::pow(10.0f, 50.01f * step), 0.01f);
    EXPECT_NEAR(labels[5], std::pow(10.0f, 220.01f * step), 10.0f);
    for (size_t i = 1; i < labels.size(); ++i) EXPECT_GT(labels[i], labels[i - 1]);
    EXPECT_NEAR(labels[0], 6.0457f, 0.001f);
}

std::string bytes_at(const std::string& file, size_t at, size_t n) { return file.substr(at, n); }
uint32_t u32(const std::string& s, size_t at) {
    return static_cast<uint8_t>(s[at]) | static_cast<uint8_t>(s[at + 1]) << 8 | static_cast<uint8_t>(s[at + 2]) << 16 |
           static_cast<uint32_t>(static_cast<uint8_t>(s[at + 3])) << 24;
}

TEST(FalsecolorBitmap, IsAStandardBottomUpBmpWithPaddedRows) {
    TempFolder folder;
    const std::string path = (folder / "dfalse.bmp").string();
    // 3 x 2: top row low values, bottom row high values.
    const std::vector<float> logs{0.0f, 0.0f, 0.0f, 4.0f, 4.0f, 4.0f};
    ASSERT_TRUE(write_falsecolor_bmp(path, logs, 3, 2, falsecolor_log_range(1.0f, 10000.0f)));
    const std::string file = read_file(path);
    const size_t stride = 12;  // 9 bytes padded to 12
    ASSERT_EQ(file.size(), 54 + 2 * stride);
    EXPECT_EQ(bytes_at(file, 0, 2), "BM");
    EXPECT_EQ(u32(file, 2), file.size());
    EXPECT_EQ(u32(file, 10), 54u);
    EXPECT_EQ(u32(file, 18), 3u);
    EXPECT_EQ(u32(file, 22), 2u);  // positive height: bottom-up
    EXPECT_EQ(static_cast<uint8_t>(file[28]), 24);
    // The first stored row is the bottom one: index 255 (254, 252, 40) as BGR.
    EXPECT_EQ(static_cast<uint8_t>(file[54]), 40);
    EXPECT_EQ(static_cast<uint8_t>(file[55]), 252);
    EXPECT_EQ(static_cast<uint8_t>(file[56]), 254);
    EXPECT_EQ(bytes_at(file, 54 + 9, 3), std::string(3, '\0'));
    // Then the top row: index 0 (111, 8, 132).
    EXPECT_EQ(static_cast<uint8_t>(file[54 + stride]), 132);
    EXPECT_EQ(static_cast<uint8_t>(file[54 + stride + 2]), 111);
    EXPECT_FALSE(write_bmp24((folder / "missing/x.bmp").string(), 3, 2, std::vector<uint8_t>(18)));
}

TEST(FalsecolorLegend, HasOnePaletteRowPerLineWithTheLowestAtTheBottom) {
    const auto legend = falsecolor_legend();
    ASSERT_EQ(legend.size(), static_cast<size_t>(legend_width * legend_height * 3));
    const auto& p = falsecolor_palette();
    EXPECT_EQ(legend[0], p[255].b);
    EXPECT_EQ(legend[2], p[255].r);
    const size_t last_row = static_cast<size_t>(legend_height - 1) * legend_width * 3;
    EXPECT_EQ(legend[last_row + 2], p[0].r);
}

TEST(FalsecolorForm, OpensWithTheMeasuredRangeAndItsLabels) {
    FalsecolorForm form;
    form.on_open(0.25f, 12345.6f, 0.25f, 12345.6f);
    EXPECT_EQ(form.top_text, "12345.6");
    EXPECT_EQ(form.bottom_text, "0.25");
    EXPECT_TRUE(form.maximum_range_checked);
    EXPECT_FALSE(form.on_apply()) << "nothing edited: Apply does nothing";
}

TEST(FalsecolorForm, SwapsAReversedUserRangeAndTakesAbsoluteValues) {
    FalsecolorForm form;
    form.on_open(1.0f, 10000.0f, 1.0f, 10000.0f);
    form.bottom_text = "500";
    form.on_field_edited();
    form.top_text = "-50";
    form.on_field_edited();
    EXPECT_FALSE(form.maximum_range_checked);
    const auto request = form.on_apply();
    ASSERT_TRUE(request);
    EXPECT_EQ(request->mode, 1);
    EXPECT_EQ(request->bottom, 50.0f);
    EXPECT_EQ(request->top, 500.0f);
    EXPECT_EQ(form.bottom_text, "50");
    EXPECT_EQ(form.top_text, "500");
    EXPECT_EQ(form.labels[0], format_default(falsecolor_labels(50.0f, 500.0f)[0]));
    EXPECT_FALSE(form.on_apply());
}

TEST(FalsecolorForm, MaximumRangeBringsBackTheMeasuredRange) {
    FalsecolorForm form;
    form.on_open(5.0f, 50.0f, 0.5f, 9000.0f);
    form.top_text = "10";
    form.on_field_edited();
    form.on_maximum_range();
    EXPECT_TRUE(form.maximum_range_checked);
    EXPECT_EQ(form.top_text, "9000");
    const auto request = form.on_apply();
    ASSERT_TRUE(request);
    EXPECT_EQ(request->mode, 0);
}

TEST(FalsecolorForm, SendsWhatApplyAsksForAndModeMinusOneOnClosing) {
    std::vector<FalsecolorRequest> sent;
    FalsecolorForm form;
    form.send = [&](const FalsecolorRequest& request) { sent.push_back(request); };
    form.on_open(1.0f, 100.0f, 1.0f, 100.0f);
    form.on_apply();
    EXPECT_TRUE(sent.empty()) << "an Apply without an edit sends nothing";
    form.top_text = "40";
    form.on_field_edited();
    form.on_apply();
    form.on_close();
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(sent[0].mode, 1);
    EXPECT_EQ(sent[0].top, 40.0f);
    EXPECT_EQ(sent[1].mode, -1);
}

}  // namespace
