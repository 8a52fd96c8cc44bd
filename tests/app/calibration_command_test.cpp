// Tools > Calibration... with the Application: the gray card is drawn on the
// main window and handed back with ENTER, the statistics give means only
// meanwhile, Finish scales the working copy and the view shows it; a real
// fisheye photograph calibrated against a meter reads that illuminance
// afterwards.

#include <gtest/gtest.h>

#include "analysis/calibration_ids.h"
#include "analysis/calibration_wizard.h"
#include "app/commands.h"
#include "common/physics.h"
#include "picture/rgbe_reader.h"
#include "support/formula_pictures.h"
#include "tools/working_files.h"
#include "wizard_command_fixture.h"

namespace {

using namespace calibration_pages;

// A gray card of 120 cd/m² over columns 50..149 and rows 25..74 of a wall of 30.
std::string write_card_picture(const std::filesystem::path& path) {
    EXPECT_TRUE(write_grey_picture(path.string(), 200, 100, [](int x, int y) {
        const double l = x >= 50 && x < 150 && y >= 25 && y < 75 ? 120 : 30;
        return static_cast<float>(l / physics::luminous_efficacy);
    }));
    return path.string();
}

using CalibrationCommand = WizardCommandTest;

TEST_F(CalibrationCommand, AGrayCardDrawnOnTheMainWindowCalibratesTheWholePicture) {
    int runs = 0;
    desktop.calibration_wizard = [&](CalibrationWizard& wizard) {
        ++runs;
        EXPECT_TRUE(app.calibration_wizard_active());
        EXPECT_TRUE(app.statistics_mean_only());
        EXPECT_FALSE(desktop.main_window_enabled);
        WizardSheet& sheet = wizard.sheet();
        sheet.press_next();
        sheet.press_next();
        EXPECT_EQ(sheet.current_page(), region);
        wizard.region_page().on_click_to_select();
        EXPECT_TRUE(desktop.main_window_enabled);
        for (int id : {command::open, command::crop, command::calibration, command::batch_process})
            EXPECT_FALSE(desktop.menu_enabled[id]) << id;
        drag({60.2f, 30.2f}, {140.2f, 70.2f});
        app.on_key_down(key_enter);
        EXPECT_TRUE(sheet.shown());
        EXPECT_FALSE(desktop.main_window_enabled);
        EXPECT_TRUE(desktop.menu_enabled[command::calibration]);
        EXPECT_EQ(wizard.region_page().status_text(), "Found a Valid Region");
        sheet.press_next();
        wizard.on_measured_luminance(true, 100);
        sheet.press_finish();
        EXPECT_FLOAT_EQ(wizard.record.factor, wizard.record.computed_mean / 100);
        EXPECT_NEAR(wizard.record.factor, 1.2f, 0.004f);
        return sheet.result();
    };
    app.on_command(command::calibration);  // nothing to calibrate yet
    EXPECT_EQ(runs, 0);
    open_picture(write_card_picture(pictures / "card.hdr"));
    app.on_command(command::calibration);
    ASSERT_EQ(runs, 1);
    EXPECT_TRUE(desktop.messages.empty());
    EXPECT_FALSE(app.calibration_wizard_active());
    EXPECT_TRUE(desktop.main_window_enabled);
    EXPECT_FALSE(app.tools().selection().any());
    for (int id : {command::open, command::crop, command::calibration}) EXPECT_TRUE(desktop.menu_enabled[id]) << id;
    EXPECT_NEAR(app.luminance_map().at(100, 50), 100, 0.5);
    EXPECT_NEAR(app.luminance_map().at(10, 10), 25, 0.2);
}

TEST_F(CalibrationCommand, ARealFisheyePhotographReadsTheMeteredIlluminanceAfterwards) {
    for (const char* name : {"fisheye_photo_786.hdr", "fisheye_photo_544.hdr"}) {
        const std::string path = shared_picture(name);
        if (path.empty()) GTEST_SKIP() << "test pictures not present";
        open_picture(path);
        desktop.calibration_wizard = [&](CalibrationWizard& wizard) {
            wizard.on_kind_chosen(CalibrationKind::illuminance);
            wizard.sheet().press_next();
            wizard.sheet().press_next();
            EXPECT_EQ(wizard.picture_illuminance().value.method, 'a') << name;
            wizard.on_measured_illuminance(true, 10000);
            wizard.sheet().press_finish();
            return wizard.sheet().result();
        };
        app.on_command(command::calibration);
        EXPECT_TRUE(desktop.messages.empty()) << name;
        // The working copy keeps its view and its exposure: read again, it
        // gives the meter's figure.
        const auto header = read_picture_header(app.working_path(working_file::working_copy));
        ASSERT_TRUE(header.ok());
        const VerticalIlluminance after = vertical_illuminance(app.luminance_map(), picture_view(header.value()));
        EXPECT_NEAR(after.lux, 10000, 10000 * 0.005) << name;
    }
}

}  // namespace
