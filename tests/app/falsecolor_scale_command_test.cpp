// The falsecolor view on a chosen scale through the Application: the
// window's choices render the view, the default stays the original picture
// byte for byte, contour lines lie over the tone-mapped picture, scale files
// go through the window, and Save As adds the legend and the extrema, as BMP
// or PNG.

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "app/application.h"
#include "app/commands.h"
#include "common/text_format.h"
#include "picture/bmp_reader.h"
#include "support/formula_pictures.h"
#include "support/scripted_desktop.h"
#include "support/png_reading.h"
#include "support/temp_folder.h"
#include "tools/falsecolor_figure.h"

namespace {

namespace fs = std::filesystem;

class FalsecolorScaleView : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(app.on_create());
        app.on_resize(800, 600);
        // 20 to 20000 cd/m² from left to right, brighter towards the middle row.
        const std::string picture = (pictures / "ramp.hdr").string();
        ASSERT_TRUE(write_grey_picture(picture, 90, 40, [](int x, int y) {
            return 0.11f * std::pow(10.0f, 3.0f * static_cast<float>(x) / 89.0f) *
                   (1.0f - 0.01f * static_cast<float>(std::abs(y - 20)));
        }));
        desktop.file_answers.push_back({1, picture});
        app.on_command(command::open);
        ASSERT_TRUE(app.image_loaded());
        app.on_command(command::falsecolor);
        ASSERT_TRUE(app.falsecolor_open());
        original = shown();
    }
    FalsecolorForm& window() { return *desktop.falsecolor_windows.back(); }
    std::string shown() const { return read_file(cache / "dfalse.bmp"); }
    BgrRaster shown_raster() const {
        auto r = read_bmp_raster((cache / "dfalse.bmp").string());
        EXPECT_TRUE(r);
        return r ? *r : BgrRaster{};
    }
    void choose(FalsecolorScale choice, const char* bottom = nullptr, const char* top = nullptr) {
        window().choice = choice;
        window().on_choice_changed();
        if (bottom) {
            window().bottom_text = bottom;
            window().top_text = top;
            window().on_field_edited();
        }
        ASSERT_TRUE(window().on_apply());
    }

    TempFolder config, cache, pictures, out;
    ScriptedDesktop desktop;
    Application app{desktop, PlatformFolders{config.str(), cache.str()}, CANDELUX_PROGRAMS_DIR};
    std::string original;
};

TEST_F(FalsecolorScaleView, RendersTheChosenScaleAndComesBackToTheOriginalPictureByteForByte) {
    FalsecolorScale viridis;
    viridis.logarithmic = false;
    viridis.palette = FalsecolorPalette::viridis;
    choose(viridis, "0", "10000");
    EXPECT_EQ(app.falsecolor_scale().bottom, 0.0f);
    EXPECT_EQ(app.falsecolor_scale().palette, FalsecolorPalette::viridis);
    FalsecolorScale expected = viridis;
    expected.bottom = 0, expected.top = 10000;
    EXPECT_EQ(shown_raster().bgr, render_on_scale(app.luminance_map(), expected, {}).bgr);
    EXPECT_NE(shown(), original);
    // The labels follow the linear axis: row 50.01 of 256 is 1953.4 cd/m².
    EXPECT_EQ(window().labels[0], "1953.52");

    // Back to the defaults and the measured range: the original, byte for byte.
    window().choice = {};
    window().on_choice_changed();
    window().on_maximum_range();
    ASSERT_TRUE(window().on_apply());
    EXPECT_EQ(shown(), original);
    EXPECT_EQ(window().labels[0], format_default(falsecolor_labels(app.falsecolor_bottom(), app.falsecolor_top())[0]));
}

TEST_F(FalsecolorScaleView, DrawsContourLinesOverTheToneMappedPicture) {
    FalsecolorScale contours;
    contours.display = FalsecolorDisplay::contours;
    contours.steps = 3;
    choose(contours, "10", "10000");
    const BgrRaster grey = tone_mapped_grey(app.luminance_map());
    const BgrRaster* base = &grey;
    const BgrRaster view = shown_raster();
    FalsecolorScale scale = app.falsecolor_scale();
    const auto levels = contour_levels(scale_positions(app.luminance_map(), scale), 90, 40, 3);
    int on_lines = 0, under = 0;
    for (size_t i = 0; i < levels.size(); ++i) {
        const uint8_t* p = view.bgr.data() + 3 * i;
        if (levels[i] >= 0) {
            const Rgb8 c = level_colour(scale, levels[i]);
            EXPECT_TRUE(p[0] == c.b && p[1] == c.g && p[2] == c.r);
            ++on_lines;
        } else {
            EXPECT_EQ(0, std::memcmp(p, base->bgr.data() + 3 * i, 3));
            ++under;
        }
    }
    EXPECT_GT(on_lines, 2 * 40);  // the 100 and 1000 cd/m² lines cross every row
    EXPECT_GT(under, on_lines);
    // The tone-mapped picture: darker on the left, brighter on the right.
    EXPECT_LT(base->bgr[3 * (20 * 90 + 5)], base->bgr[3 * (20 * 90 + 85)]);

    // Leaving the view forgets the choice.
    window().on_close();
    EXPECT_FALSE(app.falsecolor_open());
    app.on_command(command::falsecolor);
    EXPECT_TRUE(window().choice.classic());
    EXPECT_EQ(shown(), original);
}

TEST_F(FalsecolorScaleView, SavesTheFigureWithLegendAndExtremaAsPngOrBmp) {
    window().options_shown = true;
    window().legend_in_picture = true;
    window().extrema_in_picture = true;
    desktop.file_answers.push_back({2, (out / "figure").string()});
    app.on_command(command::save_as);
    ASSERT_TRUE(desktop.messages.empty()) << desktop.messages[0].text;
    ASSERT_EQ(desktop.file_requests.back().filters.size(), 2u);
    EXPECT_EQ(desktop.file_requests.back().filters[1].label, "PNG Image (*.png)");
    const BgrRaster expected = falsecolor_figure(shown_raster(), app.falsecolor_scale(),
                                                 {true, true, find_extrema(app.luminance_map())});
    EXPECT_GT(expected.width, 90);
    const BgrRaster saved = read_png_raster(out / "figure.png");
    EXPECT_EQ(saved.width, expected.width);
    EXPECT_EQ(saved.bgr, expected.bgr);

    desktop.file_answers.push_back({1, (out / "figure").string()});
    app.on_command(command::save_as);
    const auto bmp = read_bmp_raster((out / "figure.bmp").string());
    ASSERT_TRUE(bmp);
    EXPECT_EQ(bmp->bgr, expected.bgr);

    // The choices off: the view's bitmap itself, as before.
    window().legend_in_picture = window().extrema_in_picture = false;
    desktop.file_answers.push_back({1, (out / "plain").string()});
    app.on_command(command::save_as);
    EXPECT_EQ(read_file(out / "plain.bmp"), shown());
    EXPECT_TRUE(desktop.messages.empty());
}

TEST_F(FalsecolorScaleView, SavesAndLoadsScaleFilesThroughTheWindow) {
    FalsecolorScale bands;
    bands.display = FalsecolorDisplay::bands;
    bands.palette = FalsecolorPalette::spectral;
    bands.units = FalsecolorUnits::lux;
    bands.steps = 5;
    window().choice = bands;
    window().on_choice_changed();
    window().bottom_text = "2000";
    window().top_text = "20";
    window().on_field_edited();
    EXPECT_EQ(window().top_caption(), "Top (lx)");
    desktop.file_answers.push_back({1, (out / "study").string()});
    ASSERT_TRUE(window().on_save_scale());
    EXPECT_EQ(desktop.file_requests.back().title, "Save Falsecolor Scale");
    const auto saved = read_scale_file((out / "study.fcs").string());
    ASSERT_TRUE(saved);
    EXPECT_EQ(saved.value().bottom, 20.0f);
    EXPECT_EQ(saved.value().top, 2000.0f);
    EXPECT_EQ(saved.value().display, FalsecolorDisplay::bands);

    // Another window loads it: its fields, choices, then Apply renders it.
    window().on_close();
    app.on_command(command::falsecolor);
    ASSERT_TRUE(window().choice.classic());
    desktop.file_answers.push_back({1, (out / "study.fcs").string()});
    ASSERT_TRUE(window().on_load_scale());
    EXPECT_EQ(window().bottom_text, "20");
    EXPECT_EQ(window().top_text, "2000");
    EXPECT_FALSE(window().maximum_range_checked);
    EXPECT_EQ(window().choice.steps, 5);
    ASSERT_TRUE(window().on_apply());
    EXPECT_EQ(app.falsecolor_scale().palette, FalsecolorPalette::spectral);
    EXPECT_EQ(app.falsecolor_bottom(), 20.0f);

    // A file that is not a scale: one message, nothing changed.
    write_file(out / "bad.fcs", "candelux falsecolor scale 1\nbottom 1\ntop 10\nsteps many\n");
    desktop.file_answers.push_back({1, (out / "bad.fcs").string()});
    EXPECT_FALSE(window().on_load_scale());
    ASSERT_EQ(desktop.messages.size(), 1u);
    EXPECT_EQ(desktop.messages[0].caption, "Falsecolor");
    EXPECT_NE(desktop.messages[0].text.find("line 4: steps needs a whole number"), std::string::npos);
    EXPECT_EQ(window().choice.steps, 5);
    // A scale that cannot be saved is refused before any dialog.
    window().bottom_text = "0";
    window().top_text = "0";
    const size_t dialogs = desktop.file_requests.size();
    EXPECT_FALSE(window().on_save_scale());
    EXPECT_EQ(desktop.file_requests.size(), dialogs);
    EXPECT_NE(desktop.messages.back().text.find("top of the range must lie above"), std::string::npos);
}

}  // namespace
