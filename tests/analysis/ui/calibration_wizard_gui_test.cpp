// The calibration wizard in its windows, walked as a user walks it: the gray
// patch of the sample chart drawn as a rectangle and calibrated against a
// meter reading, then read under the mouse; the illuminance of the sample
// fisheye against a reading, with Back from page 128 on the way. With
// CANDELUX_SCREENSHOT set to a folder, pages 124 and 140 are saved there.

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "analysis/calibration_ids.h"
#include "analysis/ui/wizard_sheet_dialog.h"
#include "analysis/vertical_illuminance.h"
#include "app/commands.h"
#include "common/status_text.h"
#include "app/ui/image_view.h"
#include "picture/rgbe_reader.h"
#include "profiles/camera_profile.h"
#include "tools/working_files.h"
#include "wizard_walk.h"

namespace {

namespace fs = std::filesystem;
using namespace calibration_pages;
using namespace calibration_ids;

QString header_title(const WizardWalk& walk) { return walk.sheet()->findChild<QLabel*>("header_title")->text(); }

class CalibrationGui : public ::testing::Test {
protected:
    void SetUp() override {
        const std::string command = std::string(CANDELUX_BIN_DIR) + "/make_samples " + walk.files.str();
        ASSERT_EQ(std::system(command.c_str()), 0);
    }
    WizardWalk walk;
};

TEST_F(CalibrationGui, TheGrayPatchOfTheChartReadsTheMeteredLuminanceAfterwards) {
    walk.open_through_dialog((walk.files / "chart.hdr").string());
    ASSERT_TRUE(walk.app.image_loaded());
    const bool done = walk.run(command::calibration, {
        [&] {
            if (!on_page(walk, options)) return false;
            EXPECT_EQ(walk.sheet()->windowTitle(), "Calibration Wizard");
            EXPECT_EQ(header_title(walk), "Illuminance & Luminance Calibration");
            EXPECT_TRUE(walk.control<QRadioButton>(options, luminance_kind)->isChecked());
            save_screenshot(walk.sheet(), "page_122_options.png");
            walk.press("next");
            save_screenshot(walk.sheet(), "page_123_luminance.png");
            walk.press("next");
            return true;
        },
        [&] {
            EXPECT_TRUE(on_page(walk, region));
            EXPECT_EQ(walk.label_text(region, status_label), "No Region Selected");
            EXPECT_EQ(walk.label_text(region, file_label), "No File Selected");
            EXPECT_EQ(walk.control<QComboBox>(region, tool_list)->currentText(), "Rectangle");
            EXPECT_FALSE(walk.control<QPushButton>(region, browse)->isEnabled());
            EXPECT_FALSE(walk.sheet()->next_button()->isEnabled());
            walk.click(walk.control<QPushButton>(region, click_to_select));
            return true;
        },
        [&] {
            if (walk.sheet()->isVisible()) return false;
            EXPECT_TRUE(walk.window.isEnabled());
            EXPECT_FALSE(walk.window.action(command::calibration)->isEnabled());
            // Inside the 100 cd/m² patch: second row, first column.
            walk.draw_rectangle({20.3f, 140.3f}, {100.7f, 220.7f});
            return true;
        },
        [&] {
            if (!on_page(walk, region)) return false;
            EXPECT_FALSE(walk.window.isEnabled());
            EXPECT_EQ(walk.label_text(region, status_label), "Found a Valid Region");
            save_screenshot(walk.sheet(), "page_124_region.png");
            walk.press("next");
            return true;
        },
        [&] {
            EXPECT_TRUE(on_page(walk, measured_luminance));
            EXPECT_FALSE(walk.sheet()->finish_button()->isEnabled());
            auto* field = walk.control<QLineEdit>(measured_luminance, luminance_field);
            walk.type_into(field, "8a0");
            EXPECT_EQ(field->text(), "80");  // the letter vanished as it was typed
            save_screenshot(walk.sheet(), "page_125_luminance.png");
            walk.press("finish");
            return true;
        },
    });
    ASSERT_TRUE(done);
    EXPECT_TRUE(walk.window.isEnabled());
    EXPECT_TRUE(walk.window.action(command::calibration)->isEnabled());
    ImageView* view = walk.window.view();
    const QPoint patch(static_cast<int>(60 * walk.app.zoom() + walk.app.pan().x),
                       static_cast<int>(180 * walk.app.zoom() + walk.app.pan().y));
    QTest::mouseClick(view, Qt::LeftButton, Qt::NoModifier, patch);
    const QString shown = walk.window.status_label(status_part::luminance)->text().trimmed();
    ASSERT_TRUE(shown.endsWith(" cd/m²")) << shown.toStdString();
    EXPECT_NEAR(shown.section(' ', 0, 0).toDouble(), 80.0, 0.45) << shown.toStdString();
}

TEST_F(CalibrationGui, TheSampleFisheyeIsScaledToTheMeteredIlluminance) {
    walk.open_through_dialog((walk.files / "fisheye.hdr").string());
    ASSERT_TRUE(walk.app.image_loaded());
    const bool done = walk.run(command::calibration, {
        [&] {
            if (!on_page(walk, options)) return false;
            walk.click(walk.control<QRadioButton>(options, illuminance_kind));
            walk.press("next");
            return true;
        },
        [&] {
            EXPECT_TRUE(on_page(walk, illuminance_intro));
            EXPECT_EQ(header_title(walk), "Illuminance Calibration");
            save_screenshot(walk.sheet(), "page_128_illuminance.png");
            walk.press("back");
            EXPECT_TRUE(on_page(walk, options));
            EXPECT_TRUE(walk.control<QRadioButton>(options, illuminance_kind)->isChecked());
            walk.press("next");
            walk.press("next");
            return true;
        },
        [&] {
            EXPECT_TRUE(on_page(walk, measured_illuminance));
            EXPECT_EQ(header_title(walk), "Illuminance Calibration - Measured Illuminance");
            EXPECT_TRUE(walk.label_text(measured_illuminance, computed_illuminance)
                            .endsWith(" lux (\u03a3 L\u00b7cos \u03b8\u00b7\u03c9 over the angular fisheye view)."))
                << walk.label_text(measured_illuminance, computed_illuminance).toStdString();
            auto* field = walk.control<QLineEdit>(measured_illuminance, illuminance_field);
            walk.type_into(field, "lux");
            EXPECT_EQ(field->text(), "");
            EXPECT_FALSE(walk.sheet()->finish_button()->isEnabled());
            walk.type_into(field, "2500");
            EXPECT_TRUE(walk.sheet()->finish_button()->isEnabled());
            save_screenshot(walk.sheet(), "page_140_illuminance.png");
            walk.press("finish");
            return true;
        },
    });
    ASSERT_TRUE(done);
    const auto header = read_picture_header(walk.app.working_path(working_file::working_copy));
    ASSERT_TRUE(header.ok());
    EXPECT_NEAR(vertical_illuminance(walk.app.luminance_map(), picture_view(header.value())).lux, 2500, 2500 * 0.005);
}

}  // namespace

namespace {

// "Save the factor into profile …" in the window: the profile chosen on page
// 140 gets the factor that brings the fisheye to the meter's reading.
TEST_F(CalibrationGui, TheFactorGoesIntoTheProfileChosenOnTheReadingsPage) {
    const fs::path folder = fs::path(walk.config.str()) / "candelux" / "profiles";
    fs::create_directories(folder);
    for (const char* name : {"Desk", "Roof fisheye"})
        std::ofstream(folder / (std::string(name) + ".cdxprofile"))
            << "{\"format\": \"candelux camera profile 1\", \"name\": \"" << name << "\", \"note\": \"kept\"}";
    walk.open_through_dialog((walk.files / "fisheye.hdr").string());
    ASSERT_TRUE(walk.app.image_loaded());
    float factor = 0;
    const bool done = walk.run(command::calibration, {
        [&] {
            if (!on_page(walk, options)) return false;
            walk.click(walk.control<QRadioButton>(options, illuminance_kind));
            walk.press("next");
            walk.press("next");
            return true;
        },
        [&] {
            EXPECT_TRUE(on_page(walk, measured_illuminance));
            auto* save = walk.control<QCheckBox>(measured_illuminance, save_to_profile);
            auto* list = walk.control<QComboBox>(measured_illuminance, profile_list);
            EXPECT_EQ(save->text(), "Save the factor into profile \u2026");
            EXPECT_TRUE(save->isEnabled());
            EXPECT_FALSE(list->isEnabled());
            EXPECT_EQ(list->count(), 2);
            walk.click(save);
            EXPECT_TRUE(list->isEnabled());
            list->setCurrentIndex(1);
            emit list->activated(1);
            EXPECT_EQ(list->currentText(), "Roof fisheye");
            walk.type_into(walk.control<QLineEdit>(measured_illuminance, illuminance_field), "2500");
            const auto header = read_picture_header(walk.app.working_path(working_file::working_copy));
            factor = static_cast<float>(
                vertical_illuminance(walk.app.luminance_map(), picture_view(header.value())).lux / 2500);
            save_screenshot(walk.sheet(), "page_140_profile.png");
            walk.press("finish");
            return true;
        },
    });
    ASSERT_TRUE(done);
    auto roof = read_camera_profile((folder / "Roof fisheye.cdxprofile").string());
    ASSERT_TRUE(roof) << roof.failure().message;
    EXPECT_NEAR(roof.value().calibration_factor, 1 / factor, 1e-4 / factor);
    EXPECT_EQ(roof.value().note, "kept");
    auto desk = read_camera_profile((folder / "Desk.cdxprofile").string());
    EXPECT_EQ(desk.value().calibration_factor, 1);
}

}  // namespace
