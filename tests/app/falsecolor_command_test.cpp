// Tools > Falsecolor through the Application: the measured range, the
// falsecolor picture in place of the display copy, the menus, the window's
// requests, and the way back to the normal view.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "app/application.h"
#include "app/commands.h"
#include "common/status_text.h"
#include "common/text_format.h"
#include "support/fake_program.h"
#include "support/formula_pictures.h"
#include "support/scripted_desktop.h"
#include "support/temp_folder.h"
#include "tools/falsecolor.h"

namespace {

namespace fs = std::filesystem;

constexpr int width = 40;
constexpr int height = 20;

// Grey columns of stored value 0.5, 1, 2, … 64 (five pixels each): about
// 90 to 11500 cd/m².
float stored_value(int x) { return 0.5f * static_cast<float>(1 << (x / 5)); }

// The luminance pextrem's report gives for a column: the decoded value, with
// the three digits pextrem prints.
float measured_luminance(int x) {
    const RgbColor c = decode_rgbe(encode_rgbe(stored_value(x), stored_value(x), stored_value(x)));
    return 179.0f * std::strtof(strprintf("%.2e", c.r).c_str(), nullptr);
}

std::string write_columns(const fs::path& path) {
    EXPECT_TRUE(write_grey_picture(path.string(), width, height, [](int x, int) { return stored_value(x); }));
    return path.string();
}

// The colour of pixel (x, y) of a 24-bit BMP, rows stored bottom-up.
Rgb8 bmp_pixel(const std::string& bytes, int x, int y) {
    auto little = [&](size_t at) {
        uint32_t value = 0;
        for (size_t i = 0; i < 4; ++i) value |= static_cast<uint32_t>(static_cast<uint8_t>(bytes[at + i])) << (8 * i);
        return value;
    };
    const uint32_t offset = little(10);
    const int bmp_width = static_cast<int>(little(18));
    const int bmp_height = static_cast<int>(little(22));
    const size_t stride = (static_cast<size_t>(bmp_width) * 3 + 3) / 4 * 4;
    const size_t at = offset + static_cast<size_t>(bmp_height - 1 - y) * stride + static_cast<size_t>(x) * 3;
    return {static_cast<uint8_t>(bytes[at + 2]), static_cast<uint8_t>(bytes[at + 1]), static_cast<uint8_t>(bytes[at])};
}

bool same(Rgb8 a, Rgb8 b) { return a.r == b.r && a.g == b.g && a.b == b.b; }

class Falsecolor : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(app.on_create());
        app.on_resize(800, 600);
        desktop.file_answers.push_back({1, write_columns(pictures / "columns.hdr")});
        app.on_command(command::open);
        ASSERT_TRUE(app.image_loaded());
        map_before = app.luminance_map().data;
        mode_before = app.settings().display_mode;
    }
    FalsecolorForm& window() { return *desktop.falsecolor_windows.back(); }
    float bottom() const { return measured_luminance(0); }
    float top() const { return measured_luminance(width - 1); }
    std::string picture() const { return read_file(cache / "dfalse.bmp"); }
    // The palette colour of a column for the range bottom … top.
    Rgb8 expected_colour(int x, float bottom, float top) const {
        const float v = std::log10(app.luminance_map().at(x, 0));
        return falsecolor_palette()[static_cast<size_t>(falsecolor_index(v, falsecolor_log_range(bottom, top)))];
    }
    void expect_normal_view() {
        EXPECT_FALSE(app.falsecolor_open());
        EXPECT_FALSE(app.falsecolor_active());
        EXPECT_FALSE(desktop.falsecolor_window_open);
        EXPECT_EQ(app.settings().display_mode, mode_before);
        EXPECT_EQ(desktop.display_picture, cache.str() + (mode_before == display_bmp ? "/dtemp.bmp" : "/dtemp.gif"));
        EXPECT_TRUE(desktop.menu_enabled[command::open]);
        EXPECT_TRUE(desktop.menu_enabled[command::crop]);
        EXPECT_TRUE(desktop.menu_enabled[command::falsecolor]);
        EXPECT_TRUE(desktop.menu_enabled[command::save_as]);
        EXPECT_EQ(app.luminance_map().data, map_before);
    }

    TempFolder config;
    TempFolder cache;
    TempFolder pictures;
    TempFolder fakes;
    ScriptedDesktop desktop;
    Application app{desktop, PlatformFolders{config.str(), cache.str()}, CANDELUX_PROGRAMS_DIR};
    LuminanceValues map_before;
    uint16_t mode_before = 0;
};

TEST_F(Falsecolor, ShowsTheFalsecolorPictureInsteadOfTheDisplayCopy) {
    app.on_command(command::falsecolor);
    ASSERT_TRUE(desktop.messages.empty()) << desktop.messages[0].text;
    EXPECT_TRUE(app.falsecolor_open());
    EXPECT_TRUE(app.falsecolor_active());
    EXPECT_EQ(app.settings().display_mode, display_falsecolor);
    EXPECT_EQ(desktop.display_picture, cache.str() + "/dfalse.bmp");
    EXPECT_EQ(app.display_size().width, width);
    // The map stays the picture's: readouts are still in cd/m².
    EXPECT_EQ(app.luminance_map().data, map_before);
    EXPECT_FALSE(desktop.progress_shown());
}

TEST_F(Falsecolor, LeavesOnlySaveAsOfThePictureCommandsAndDisablesOpen) {
    app.on_command(command::falsecolor);
    EXPECT_TRUE(desktop.menu_enabled[command::save_as]);
    EXPECT_FALSE(desktop.menu_enabled[command::open]);
    for (int id : {command::crop, command::falsecolor, command::analyze, command::reinhard, command::edit_header})
        EXPECT_FALSE(desktop.menu_enabled[id]) << id;
    EXPECT_TRUE(desktop.menu_enabled[command::settings]);
}

TEST_F(Falsecolor, OpensTheWindowOnTheMeasuredRange) {
    app.on_command(command::falsecolor);
    ASSERT_EQ(desktop.falsecolor_windows.size(), 1u);
    EXPECT_TRUE(desktop.falsecolor_window_open);
    EXPECT_EQ(window().bottom_text, format_default(bottom()));
    EXPECT_EQ(window().top_text, format_default(top()));
    EXPECT_TRUE(window().maximum_range_checked);
    EXPECT_FLOAT_EQ(app.falsecolor_bottom(), bottom());
    EXPECT_FLOAT_EQ(app.falsecolor_top(), top());
    const auto labels = falsecolor_labels(bottom(), top());
    EXPECT_EQ(window().labels[0], format_default(labels[0]));
    EXPECT_EQ(window().labels[5], format_default(labels[5]));
}

TEST_F(Falsecolor, PaintsEveryPixelInThePaletteColourOfItsLogLuminance) {
    app.on_command(command::falsecolor);
    const std::string bytes = picture();
    ASSERT_EQ(bytes.compare(0, 2, "BM"), 0);
    for (int x = 0; x < width; x += 3)
        for (int y : {0, 7, height - 1}) EXPECT_TRUE(same(bmp_pixel(bytes, x, y), expected_colour(x, bottom(), top())))
            << x << "," << y;
    EXPECT_TRUE(same(bmp_pixel(bytes, 0, 0), falsecolor_palette()[0]));
    EXPECT_TRUE(same(bmp_pixel(bytes, width - 1, 0), falsecolor_palette()[255]));
}

TEST_F(Falsecolor, AppliesAUserRangeWithReversedEndsSwapped) {
    app.on_command(command::falsecolor);
    const int programs_run = desktop.progress_shows;
    window().bottom_text = "500";
    window().on_field_edited();
    window().top_text = "50";
    window().on_field_edited();
    EXPECT_FALSE(window().maximum_range_checked);
    window().on_apply();
    EXPECT_FLOAT_EQ(app.falsecolor_bottom(), 50.0f);
    EXPECT_FLOAT_EQ(app.falsecolor_top(), 500.0f);
    EXPECT_EQ(window().bottom_text, "50");
    EXPECT_EQ(window().top_text, "500");
    EXPECT_EQ(desktop.progress_shows, programs_run) << "a user range needs no pextrem";
    const std::string bytes = picture();
    for (int x = 0; x < width; x += 5) EXPECT_TRUE(same(bmp_pixel(bytes, x, 3), expected_colour(x, 50.0f, 500.0f))) << x;
    EXPECT_TRUE(app.falsecolor_open());
    EXPECT_EQ(desktop.display_picture, cache.str() + "/dfalse.bmp");
}

TEST_F(Falsecolor, ApplyWithoutAnEditDoesNothing) {
    app.on_command(command::falsecolor);
    write_file(cache / "dfalse.bmp", "marker");
    const int repaints = desktop.repaints;
    EXPECT_FALSE(window().on_apply());
    EXPECT_EQ(picture(), "marker");
    EXPECT_EQ(desktop.repaints, repaints);
}

TEST_F(Falsecolor, MaximumRangeMeasuresThePictureAgain) {
    app.on_command(command::falsecolor);
    window().bottom_text = "1000";
    window().on_field_edited();
    window().on_apply();
    const int programs_run = desktop.progress_shows;
    window().on_maximum_range();
    window().on_apply();
    EXPECT_EQ(desktop.progress_shows, programs_run + 1);
    EXPECT_FLOAT_EQ(app.falsecolor_bottom(), bottom());
    EXPECT_FLOAT_EQ(app.falsecolor_top(), top());
    EXPECT_TRUE(same(bmp_pixel(picture(), 0, 0), falsecolor_palette()[0]));
}

TEST_F(Falsecolor, ClosingTheWindowReturnsToTheNormalView) {
    app.on_command(command::falsecolor);
    window().on_close();
    expect_normal_view();
    // The picture under the view is the picture again.
    const auto [x, y] = std::pair{static_cast<int>(app.pan().x + 1), static_cast<int>(app.pan().y + 1)};
    app.on_left_down(x, y, false);
    EXPECT_EQ(desktop.status[3], status_luminance_text(app.luminance_map().at(0, 0)));
    app.on_left_up(x, y, false);
}

TEST_F(Falsecolor, CanBeEnteredAgainWithANewWindow) {
    app.on_command(command::falsecolor);
    window().on_close();
    app.on_command(command::falsecolor);
    ASSERT_EQ(desktop.falsecolor_windows.size(), 2u);
    EXPECT_TRUE(app.falsecolor_open());
    EXPECT_EQ(window().top_text, format_default(top()));
    window().on_close();
    expect_normal_view();
}

TEST_F(Falsecolor, APictureThatCannotBeWrittenKeepsTheNormalView) {
    fs::create_directory(cache / "dfalse.bmp");
    app.on_command(command::falsecolor);
    ASSERT_EQ(desktop.messages.size(), 1u);
    EXPECT_EQ(desktop.messages[0].caption, "File IO Error!");
    EXPECT_NE(desktop.messages[0].text.find("dfalse.bmp"), std::string::npos);
    EXPECT_TRUE(desktop.falsecolor_windows.empty());
    expect_normal_view();
}

TEST_F(Falsecolor, AFailingUserRangeRenderingEndsTheViewAndItsWindow) {
    app.on_command(command::falsecolor);
    fs::remove(cache / "dfalse.bmp");
    fs::create_directory(cache / "dfalse.bmp");
    window().top_text = "900";
    window().on_field_edited();
    window().on_apply();
    ASSERT_EQ(desktop.messages.size(), 1u);
    EXPECT_EQ(desktop.messages[0].caption, "File IO Error!");
    expect_normal_view();
}

TEST_F(Falsecolor, AFailingPextremGivesAZeroRange) {
    app.runner().set_program_folder(fakes.str() + ":" + CANDELUX_PROGRAMS_DIR);
    write_fake_program(fakes.path(), "pextrem", "echo 'pextrem: bad picture format' >&2; exit 1");
    app.on_command(command::falsecolor);
    EXPECT_TRUE(desktop.messages.empty());
    EXPECT_EQ(app.falsecolor_top(), 0.0f);
    EXPECT_EQ(window().top_text, "0");
    EXPECT_TRUE(same(bmp_pixel(picture(), width - 1, 0), falsecolor_palette()[0]));
}

TEST_F(Falsecolor, ComesBackToADisplayFormatChosenMeanwhile) {
    app.on_command(command::falsecolor);
    // What the Settings dialog does with the other display format.
    const uint16_t other = mode_before == display_bmp ? display_gif : display_bmp;
    const std::string copy = other == display_bmp ? "dtemp.bmp" : "dtemp.gif";
    fs::remove(cache / copy);
    app.settings().display_mode = other;
    window().on_close();
    EXPECT_EQ(app.settings().display_mode, other);
    EXPECT_EQ(desktop.display_picture, (cache / copy).string());
    EXPECT_TRUE(fs::exists(cache / copy));
    EXPECT_EQ(app.luminance_map().data, map_before);
    EXPECT_TRUE(desktop.menu_enabled[command::open]);
}

TEST_F(Falsecolor, ShowsARealPicture) {
    const std::string path = shared_picture("fisheye_photo_786.hdr");
    if (path.empty()) GTEST_SKIP() << "test pictures not present";
    desktop.file_answers.push_back({1, path});
    app.on_command(command::open);
    app.on_command(command::falsecolor);
    ASSERT_TRUE(desktop.messages.empty()) << desktop.messages[0].text;
    EXPECT_EQ(app.display_size().width, 786);
    EXPECT_GT(app.falsecolor_top(), app.falsecolor_bottom());
    const auto& map = app.luminance_map().data;
    // pextrem's three digits round the brightest pixel by at most half a unit in the third.
    EXPECT_NEAR(app.falsecolor_top(), *std::max_element(map.begin(), map.end()), 0.006f * app.falsecolor_top());
}

}  // namespace
