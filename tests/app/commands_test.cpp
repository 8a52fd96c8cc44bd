// The main window's commands and keys: tool check marks, guidelines, fit,
// ESC, and ENTER handing the selection back to a waiting wizard page.

#include <gtest/gtest.h>

#include "app/application.h"
#include "app/commands.h"
#include "support/formula_pictures.h"
#include "support/scripted_desktop.h"
#include "support/temp_folder.h"

namespace {

class Commands : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(app.on_create());
        app.on_resize(1000, 800);
    }
    void open_picture(int width, int height) {
        const std::string path = (pictures / "p.hdr").string();
        ASSERT_TRUE(write_formula_picture(path, width, height, [](int, int) { return RgbePixel{90, 90, 90, 127}; }));
        app.on_open_command(path);
        ASSERT_TRUE(app.image_loaded());
    }
    void draw_rectangle() {
        app.paint_frame();
        app.on_left_down(300, 300, false);
        app.on_mouse_move(400, 380, false);
        app.on_left_up(400, 380, false);
        ASSERT_TRUE(app.tools().selection().has_rectangle());
    }

    TempFolder config;
    TempFolder cache;
    TempFolder pictures;
    ScriptedDesktop desktop;
    Application app{desktop, PlatformFolders{config.str(), cache.str()}, CANDELUX_PROGRAMS_DIR};
};

TEST_F(Commands, ToolCommandsMoveTheCheckMarkAndClearTheSelection) {
    open_picture(640, 480);
    draw_rectangle();
    app.on_command(command::polygon_tool);
    EXPECT_TRUE(desktop.menu_checked[command::polygon_tool]);
    EXPECT_FALSE(desktop.menu_checked[command::rectangle_tool]);
    EXPECT_FALSE(desktop.menu_checked[command::circle_tool]);
    EXPECT_EQ(app.tools().tool(), RegionKind::polygon);
    EXPECT_FALSE(app.tools().selection().any());
    app.on_command(command::circle_tool);
    EXPECT_TRUE(desktop.menu_checked[command::circle_tool]);
    EXPECT_FALSE(desktop.menu_checked[command::polygon_tool]);
    EXPECT_EQ(app.tools().tool(), RegionKind::circle);
}

TEST_F(Commands, GuidelinesToggle) {
    open_picture(640, 480);
    app.on_command(command::guidelines);
    EXPECT_TRUE(app.guidelines());
    EXPECT_TRUE(desktop.menu_checked[command::guidelines]);
    app.on_mouse_move(500, 400, false);
    EXPECT_TRUE(app.paint_frame().guidelines.has_value());
    app.on_command(command::guidelines);
    EXPECT_FALSE(desktop.menu_checked[command::guidelines]);
    EXPECT_FALSE(app.paint_frame().guidelines.has_value());
}

TEST_F(Commands, FitToDisplayZoomsAPictureToATenth) {
    open_picture(3000, 2000);
    app.on_wheel(120);
    draw_rectangle();
    app.on_command(command::fit_to_display);
    EXPECT_FLOAT_EQ(app.zoom(), 0.3f);
    EXPECT_EQ(desktop.status[2], "\t30%");
    EXPECT_FALSE(app.tools().selection().any());
}

TEST_F(Commands, TheWheelStopsShortOfTheLimitsAndStillShowsTheZoom) {
    open_picture(100000, 2);
    EXPECT_FLOAT_EQ(app.zoom(), 0.05f);
    app.on_wheel(-120);
    EXPECT_FLOAT_EQ(app.zoom(), 0.05f);
    EXPECT_EQ(desktop.status[2], "\t5%");
}

TEST_F(Commands, EscapeClearsTheSelection) {
    open_picture(640, 480);
    draw_rectangle();
    app.on_key_down(key_escape);
    EXPECT_FALSE(app.tools().selection().any());
}

TEST_F(Commands, ThePositionIsShownOnlyOverThePicture) {
    open_picture(640, 480);
    app.paint_frame();  // fitted at zoom 1.5
    app.on_mouse_move(static_cast<int>(app.pan().x + 15), static_cast<int>(app.pan().y + 30), false);
    EXPECT_EQ(desktop.status[1], "\t10,20");
    app.on_mouse_move(5, 5, false);
    EXPECT_EQ(desktop.status[1], "\t10,20");
}

TEST_F(Commands, MouseEventsDoNothingWithoutAPicture) {
    app.on_left_down(100, 100, false);
    app.on_mouse_move(200, 200, false);
    app.on_left_up(200, 200, false);
    app.on_wheel(120);
    EXPECT_FALSE(app.tools().selection().any());
    EXPECT_EQ(app.zoom(), 1.0f);
    EXPECT_FALSE(app.paint_frame().has_picture);
}

class FakeAnalysis : public AnalysisRegionReceiver {
public:
    int waiting_page = 0;
    std::vector<std::pair<int, Region>> received;
    bool waiting(int label) const override { return label == waiting_page; }
    void region_selected(const Region& region, int label) override {
        received.push_back({label, region});
        waiting_page = 0;
    }
};

class FakeCalibration : public CalibrationRegionReceiver {
public:
    bool is_waiting = true;
    bool visible = false;
    int shows = 0;
    std::vector<Region> received;
    bool waiting() const override { return is_waiting; }
    bool show_page() override {
        ++shows;
        const bool was = visible;
        visible = true;
        return was;
    }
    void region_selected(const Region& region) override { received.push_back(region); }
};

TEST_F(Commands, EnterWithoutAWizardDoesNothing) {
    FakeAnalysis analysis;
    analysis.waiting_page = region_page::single;
    app.set_analysis_receiver(&analysis);
    app.on_key_down(key_enter);
    EXPECT_TRUE(analysis.received.empty());
}

TEST_F(Commands, EnterHandsTheSelectionToTheWaitingAnalysisPage) {
    open_picture(640, 480);
    FakeAnalysis analysis;
    app.set_analysis_receiver(&analysis);
    app.set_analysis_wizard_active(true);
    draw_rectangle();
    analysis.waiting_page = region_page::region_a;
    app.on_key_down(key_enter);
    ASSERT_EQ(analysis.received.size(), 1u);
    EXPECT_EQ(analysis.received[0].first, region_page::region_a);
    EXPECT_EQ(analysis.received[0].second.x0, app.tools().selection().x0);
    EXPECT_EQ(app.region_a().x1, app.tools().selection().x1);
    EXPECT_FALSE(app.region_b().any());
    // No page waits now: a second ENTER changes nothing.
    app.on_key_down(key_enter);
    EXPECT_EQ(analysis.received.size(), 1u);
}

TEST_F(Commands, EnterServesCalibrationFirstAndOnlyWhenItsPageWasHidden) {
    open_picture(640, 480);
    FakeAnalysis analysis;
    analysis.waiting_page = region_page::single;
    FakeCalibration calibration;
    app.set_analysis_receiver(&analysis);
    app.set_calibration_receiver(&calibration);
    app.set_analysis_wizard_active(true);
    app.set_calibration_wizard_active(true);
    draw_rectangle();
    app.on_key_down(key_enter);
    EXPECT_EQ(calibration.received.size(), 1u);
    EXPECT_TRUE(analysis.received.empty());
    app.on_key_down(key_enter);  // the page is visible already
    EXPECT_EQ(calibration.shows, 2);
    EXPECT_EQ(calibration.received.size(), 1u);
}

}  // namespace
