// Tools > Analyze... with the Application: the region is drawn with the mouse
// on the main window and handed back with ENTER; while the user draws, the
// picture cannot be replaced or changed; afterwards the menu comes back.

#include <gtest/gtest.h>

#include "analysis/analysis_ids.h"
#include "analysis/analysis_wizard.h"
#include "app/commands.h"
#include "support/formula_pictures.h"
#include "wizard_command_fixture.h"

namespace {

using namespace analysis_pages;

std::string write_picture(const std::filesystem::path& path) {
    EXPECT_TRUE(write_grey_picture(path.string(), 200, 100,
                                   [](int x, int y) { return 0.05f + 0.001f * static_cast<float>(x + y); }));
    return path.string();
}

class AnalyzeCommand : public WizardCommandTest {
protected:
    void open_picture() { WizardCommandTest::open_picture(write_picture(pictures / "wall.hdr")); }
};

TEST_F(AnalyzeCommand, ARegionDrawnOnTheMainWindowIsAnalysed) {
    open_picture();
    bool checked_while_drawing = false;
    desktop.analysis_wizard = [&](AnalysisWizard& wizard) {
        EXPECT_TRUE(app.analysis_wizard_active());
        EXPECT_FALSE(desktop.main_window_enabled);
        WizardSheet& sheet = wizard.sheet();
        sheet.press_next();
        EXPECT_EQ(sheet.current_page(), single_region);
        wizard.single_page().on_click_to_select();
        // The user draws; nothing may replace or change the picture meanwhile.
        EXPECT_TRUE(desktop.main_window_enabled);
        for (int id : {command::open, command::crop, command::apply_maskfile, command::resize, command::analyze,
                       command::batch_process, command::rectangle_tool})
            EXPECT_FALSE(desktop.menu_enabled[id]) << id;
        drag({20.2f, 10.2f}, {60.2f, 30.2f});
        app.on_key_down(key_enter);
        checked_while_drawing = true;
        EXPECT_TRUE(sheet.shown());
        EXPECT_FALSE(desktop.main_window_enabled);
        EXPECT_EQ(wizard.single_page().status_text(), "Found a Valid Region");
        for (int id : {command::open, command::crop, command::analyze, command::batch_process})
            EXPECT_TRUE(desktop.menu_enabled[id]) << id;
        sheet.press_next();
        sheet.press_next();
        EXPECT_EQ(sheet.current_page(), results);
        const RegionAnalysis& single = wizard.results().single();
        EXPECT_EQ(single.count(), 40 * 20);
        EXPECT_EQ(single.statistics.positions.front(), (SamplePosition{20, 10}));
        sheet.press_finish();
        return sheet.result();
    };
    app.on_command(command::analyze);
    EXPECT_TRUE(checked_while_drawing);
    EXPECT_FALSE(app.analysis_wizard_active());
    EXPECT_TRUE(desktop.main_window_enabled);
    EXPECT_FALSE(app.tools().selection().any());
    EXPECT_TRUE(desktop.menu_enabled[command::crop]);
    EXPECT_TRUE(desktop.menu_enabled[command::open]);
    EXPECT_TRUE(desktop.messages.empty());
}

TEST_F(AnalyzeCommand, RegionsAAndBAreHandedBackIntoTheirOwnCopies) {
    open_picture();
    desktop.analysis_wizard = [&](AnalysisWizard& wizard) {
        WizardSheet& sheet = wizard.sheet();
        wizard.on_kind_chosen(AnalysisKind::multiple_regions);
        sheet.press_next();
        wizard.a_page().on_tool_chosen(ToolChoice::circle);
        EXPECT_TRUE(desktop.menu_checked[command::circle_tool]);
        wizard.a_page().on_click_to_select();
        drag({50.5f, 50.5f}, {55.5f, 50.5f});
        app.on_key_down(key_enter);
        EXPECT_NEAR(app.region_a().radius, 5.0f, 0.01f);
        sheet.press_next();
        wizard.b_page().on_click_to_select();  // Region B keeps the rectangle
        EXPECT_TRUE(desktop.menu_checked[command::rectangle_tool]);
        drag({100.2f, 10.2f}, {110.2f, 20.2f});
        app.on_key_down(key_enter);
        EXPECT_TRUE(app.region_b().has_rectangle());
        sheet.press_next();
        sheet.press_next();
        EXPECT_EQ(wizard.results().a().count(), 69);  // the circle, not the rectangle tool's whole picture
        EXPECT_EQ(wizard.results().b().count(), 100);
        sheet.press_cancel();
        return sheet.result();
    };
    app.on_command(command::analyze);
    EXPECT_FALSE(app.region_a().any());
    EXPECT_FALSE(app.region_b().any());
}

TEST_F(AnalyzeCommand, BeforeAnyPictureOnlyAnalyzeComesBack) {
    app.on_command(command::analyze);  // the scripted sheet is cancelled at once
    EXPECT_TRUE(desktop.menu_enabled[command::analyze]);
    EXPECT_FALSE(desktop.menu_enabled[command::crop]);
    EXPECT_FALSE(desktop.menu_enabled[command::save_as]);
    EXPECT_TRUE(desktop.main_window_enabled);
}

TEST_F(AnalyzeCommand, EnterWithoutAWaitingPageDoesNothing) {
    open_picture();
    desktop.analysis_wizard = [&](AnalysisWizard& wizard) {
        drag({20.2f, 10.2f}, {60.2f, 30.2f});
        app.on_key_down(key_enter);
        EXPECT_EQ(wizard.sheet().current_page(), type);
        EXPECT_FALSE(wizard.single_page().has_valid_region());
        wizard.sheet().press_cancel();
        return 0;
    };
    app.on_command(command::analyze);
}

}  // namespace
