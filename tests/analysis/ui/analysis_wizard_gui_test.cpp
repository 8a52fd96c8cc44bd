// The analysis wizard in its windows, walked as a user walks it: one region
// drawn on the picture, two regions, a mask file, a percentile of 0, Back to
// the start; the reports written by Save... against expected files. With
// CANDELUX_SCREENSHOT set to a folder, the results pages are saved there.

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QToolTip>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>

#include "analysis/analysis_ids.h"
#include "analysis/result_lines.h"
#include "analysis/ui/histogram_frame.h"
#include "analysis/ui/wizard_sheet_dialog.h"
#include "app/commands.h"
#include "desktop/ui/balloon_warning.h"
#include "support/formula_pictures.h"
#include "view/region_hand_back.h"
#include "wizard_walk.h"

namespace {

namespace fs = std::filesystem;
using namespace analysis_pages;
using namespace analysis_ids;

// A 100 x 60 picture, brighter to the right and down, in grey.
std::string write_wall(const fs::path& path) {
    EXPECT_TRUE(write_grey_picture(path.string(), 100, 60, [](int x, int y) {
        return 0.01f * static_cast<float>(1 + x) * (1.0f + 0.05f * static_cast<float>(y));
    }));
    return path.string();
}

// A scene over four decades: a dim room, a bright window, a lamp.
std::string write_scene(const fs::path& path) {
    EXPECT_TRUE(write_formula_picture(path.string(), 300, 200, [](int x, int y) {
        float v = 0.2f + 0.8f * std::fabs(std::sin(x * 0.05f) * std::cos(y * 0.04f));
        if (x > 180 && x < 270 && y > 20 && y < 110) v = 30.0f + 20.0f * std::sin(x * 0.2f + y * 0.1f);
        const float dx = x - 70.0f, dy = y - 60.0f;
        if (dx * dx + dy * dy < 150) v = 400.0f;
        if (y > 160) v *= 0.05f;
        return encode_rgbe(v, v * 0.95f, v * 0.9f);
    }));
    return path.string();
}

// White over the left 30 columns.
std::string write_mask(const fs::path& path) {
    EXPECT_TRUE(write_grey_picture(path.string(), 100, 60, [](int x, int) { return x < 30 ? 1.0f : 0.0f; }));
    return path.string();
}

std::string expected_report(const std::string& name) {
    return read_file(fs::path(CANDELUX_SOURCE_DIR) / "tests/data/analysis" / name);
}

class WizardGui : public ::testing::Test {
protected:
    WizardWalk walk;
};

TEST_F(WizardGui, OneRegionDrawnOnThePictureEndsOnItsResultsAndReports) {
    walk.open_through_dialog(write_wall(walk.files / "wall.hdr"));
    ASSERT_TRUE(walk.app.image_loaded());
    const std::string base = (walk.files / "office").string();
    const bool done = walk.run({
        [&] {
            if (!on_page(walk, type)) return false;
            EXPECT_EQ(walk.sheet()->windowTitle(), "Analysis Wizard");
            EXPECT_EQ(walk.sheet()->findChild<QLabel*>("header_title")->text(),
                      "Luminance Distribution Analysis Wizard");
            EXPECT_TRUE(walk.control<QRadioButton>(type, single_kind)->isChecked());
            EXPECT_FALSE(walk.sheet()->back_button()->isEnabled());
            save_screenshot(walk.sheet(), "page_108_analysis_type.png");
            walk.press("next");
            return true;
        },
        [&] {
            if (!on_page(walk, single_region)) return false;
            EXPECT_EQ(walk.label_text(single_region, region_page::single), "No Region Selected");
            EXPECT_EQ(walk.control<QComboBox>(single_region, tool_list)->currentText(), "Rectangle");
            EXPECT_FALSE(walk.sheet()->next_button()->isEnabled());
            save_screenshot(walk.sheet(), "page_109_single_region.png");
            walk.click(walk.control<QPushButton>(single_region, click_to_select));
            return true;
        },
        [&] {
            if (walk.sheet()->isVisible()) return false;
            EXPECT_TRUE(walk.window.isEnabled());
            EXPECT_FALSE(walk.window.action(command::open)->isEnabled());
            EXPECT_FALSE(walk.window.action(command::crop)->isEnabled());
            walk.draw_rectangle({10.3f, 20.3f}, {20.7f, 25.7f});
            return true;
        },
        [&] {
            if (!on_page(walk, single_region)) return false;
            EXPECT_FALSE(walk.window.isEnabled());
            EXPECT_EQ(walk.label_text(single_region, region_page::single), "Found a Valid Region");
            walk.press("next");
            return true;
        },
        [&] {
            EXPECT_TRUE(on_page(walk, statistics));
            walk.click(walk.control<QCheckBox>(statistics, percentile_box));
            walk.click(walk.control<QCheckBox>(statistics, criterion_box));
            save_screenshot(walk.sheet(), "page_110_statistics.png");
            walk.press("next");
            return true;
        },
        [&] {
            EXPECT_TRUE(on_page(walk, percentiles));
            EXPECT_EQ(walk.control<QLineEdit>(percentiles, upper_percentile)->text(), "10");
            walk.press("next");
            return true;
        },
        [&] {
            EXPECT_TRUE(on_page(walk, criterion));
            EXPECT_EQ(walk.control<QComboBox>(criterion, criterion_list)->currentText(), "lesser than");
            walk.control<QComboBox>(criterion, criterion_list)->setCurrentIndex(0);
            walk.type_into(walk.control<QLineEdit>(criterion, threshold), "60");
            save_screenshot(walk.sheet(), "page_112_criterion.png");
            walk.press("next");
            return true;
        },
        [&] {
            if (!on_page(walk, results)) return false;
            EXPECT_EQ(walk.sheet()->findChild<QLabel*>("header_title")->text(), "Statistical Results");
            EXPECT_TRUE(walk.sheet()->finish_button()->isVisible());
            EXPECT_FALSE(walk.sheet()->next_button()->isVisible());
            EXPECT_EQ(walk.label_text(results, results_ids::criterion_caption), "Criteria Result:");
            EXPECT_TRUE(walk.label_text(results, results_ids::criterion).endsWith("% pixels are greater than 60 cd/m²"));
            EXPECT_EQ(walk.label_text(results, results_ids::percentile_caption), "Percentile Ratio:");
            EXPECT_FALSE(walk.control<QRadioButton>(results, results_ids::view_a)->isVisible());
            save_screenshot(walk.sheet(), "results_single_region.png");
            answer_file_dialog(QString::fromStdString(base + ".csv"));
            walk.click(walk.control<QPushButton>(results, results_ids::save));
            walk.press("finish");
            return true;
        },
    });
    ASSERT_TRUE(done);
    EXPECT_TRUE(walk.window.isEnabled());
    EXPECT_TRUE(walk.window.action(command::open)->isEnabled());
    EXPECT_TRUE(walk.window.action(command::crop)->isEnabled());
    EXPECT_FALSE(walk.app.analysis_wizard_active());
    for (const char* file : {"office_stats.csv", "office_hist.csv", "office_region.csv"})
        EXPECT_EQ(read_file(walk.files / file), expected_report(file)) << file;
}

TEST_F(WizardGui, TwoRegionsShowTheirRatioAndEachItsHistogram) {
    walk.window.resize(1000, 760);
    walk.open_through_dialog(write_scene(walk.files / "scene.hdr"));
    ASSERT_TRUE(walk.app.image_loaded());
    const bool done = walk.run({
        [&] {
            if (!on_page(walk, type)) return false;
            walk.click(walk.control<QRadioButton>(type, multiple_kind));
            walk.press("next");
            return true;
        },
        [&] {
            EXPECT_TRUE(on_page(walk, region_a));
            auto* tools = walk.control<QComboBox>(region_a, tool_list);
            tools->setCurrentIndex(0);
            emit tools->activated(0);  // Circle, as chosen with the mouse
            EXPECT_TRUE(walk.window.action(command::circle_tool)->isChecked());
            walk.click(walk.control<QPushButton>(region_a, click_to_select));
            return true;
        },
        walk.circle_drawn({225.5f, 65.5f}, 30),
        [&] {
            if (!on_page(walk, region_a)) return false;
            EXPECT_EQ(walk.label_text(region_a, region_page::region_a), "Found a Valid Region");
            walk.press("next");
            return true;
        },
        [&] {
            EXPECT_TRUE(on_page(walk, region_b));
            save_screenshot(walk.sheet(), "page_115_region_b.png");
            walk.click(walk.control<QPushButton>(region_b, click_to_select));
            return true;
        },
        walk.rectangle_drawn({10.3f, 120.3f}, {150.7f, 190.7f}),
        [&] {
            if (!on_page(walk, region_b)) return false;
            walk.press("next");
            return true;
        },
        [&] {
            EXPECT_TRUE(on_page(walk, two_region_statistics));
            walk.click(walk.control<QCheckBox>(two_region_statistics, contrast_box));
            save_screenshot(walk.sheet(), "page_116_two_region_statistics.png");
            walk.press("next");
            return true;
        },
        [&] {
            if (!on_page(walk, results)) return false;
            auto* ratio = walk.control<QRadioButton>(results, results_ids::view_ratio);
            EXPECT_TRUE(ratio->isVisible());
            EXPECT_TRUE(ratio->isChecked());
            EXPECT_EQ(walk.label_text(results, results_ids::contrast_caption), "Contrast Ratio:");
            EXPECT_FALSE(walk.control<QLabel>(results, results_ids::axis_minimum)->isVisible());
            const QImage ratio_view = walk.sheet()->grab().toImage();
            save_screenshot(walk.sheet(), "results_ratio_view.png");
            // The ratio view leaves the frame white.
            auto* frame = walk.page(results)->findChild<HistogramFrame*>(QString::number(results_ids::histogram_frame));
            const QImage white = frame->grab().toImage();
            EXPECT_EQ(white.pixelColor(white.width() / 2, frame->plot_bottom() - 2), QColor(Qt::white));
            walk.click(walk.control<QRadioButton>(results, results_ids::view_a));
            EXPECT_TRUE(walk.control<QLabel>(results, results_ids::axis_minimum)->isVisible());
            const QImage purple = frame->grab().toImage();
            bool found_purple = false;
            for (int x = 0; x < purple.width() && !found_purple; ++x)
                found_purple = purple.pixelColor(x, frame->plot_bottom() - 2) == QColor(128, 0, 128);
            EXPECT_TRUE(found_purple);
            save_screenshot(walk.sheet(), "results_region_a.png");
            walk.click(walk.control<QRadioButton>(results, results_ids::view_b));
            save_screenshot(walk.sheet(), "results_region_b.png");
            EXPECT_NE(walk.sheet()->grab().toImage(), ratio_view);
            walk.press("finish");
            return true;
        },
    });
    EXPECT_TRUE(done);
}

TEST_F(WizardGui, ALargeRegionOfASceneShowsItsHistogramInBlack) {
    walk.open_through_dialog(write_scene(walk.files / "scene.hdr"));
    const bool done = walk.run({
        [&] {
            if (!on_page(walk, type)) return false;
            walk.press("next");
            walk.click(walk.control<QPushButton>(single_region, click_to_select));
            return true;
        },
        walk.rectangle_drawn({2.3f, 2.3f}, {297.7f, 197.7f}),
        [&] {
            if (!on_page(walk, single_region)) return false;
            walk.press("next");
            walk.click(walk.control<QCheckBox>(statistics, criterion_box));
            walk.press("next");
            walk.control<QComboBox>(criterion, criterion_list)->setCurrentIndex(0);
            walk.type_into(walk.control<QLineEdit>(criterion, threshold), "1000");
            walk.press("next");
            return true;
        },
        [&] {
            if (!on_page(walk, results)) return false;
            EXPECT_TRUE(walk.label_text(results, results_ids::criterion).endsWith("pixels are greater than 1000 cd/m²"));
            auto* frame = walk.page(results)->findChild<HistogramFrame*>(QString::number(results_ids::histogram_frame));
            const QImage bars = frame->grab().toImage();
            int black = 0;
            for (int x = 0; x < bars.width(); ++x) black += bars.pixelColor(x, frame->plot_bottom() - 2) == QColor(Qt::black);
            EXPECT_GT(black, 40);
            save_screenshot(walk.sheet(), "results_single_region_scene.png");
            walk.press("finish");
            return true;
        },
    });
    EXPECT_TRUE(done);
}

TEST_F(WizardGui, AMaskFileRegionIsAnalysedWithoutDrawing) {
    walk.open_through_dialog(write_wall(walk.files / "wall.hdr"));
    const std::string mask = write_mask(walk.files / "mask.hdr");
    const std::string working_copy = read_file(walk.cache / "dtemp.hdr");
    const bool done = walk.run({
        [&] {
            if (!on_page(walk, type)) return false;
            walk.press("next");
            return true;
        },
        [&] {
            EXPECT_TRUE(on_page(walk, single_region));
            EXPECT_FALSE(walk.control<QPushButton>(single_region, browse)->isEnabled());
            walk.click(walk.control<QRadioButton>(single_region, from_mask));
            EXPECT_FALSE(walk.control<QPushButton>(single_region, click_to_select)->isEnabled());
            answer_file_dialog(QString::fromStdString(mask));
            walk.click(walk.control<QPushButton>(single_region, browse));
            EXPECT_EQ(walk.label_text(single_region, file_label), "mask.hdr");
            save_screenshot(walk.sheet(), "page_109_mask_file.png");
            walk.press("next");
            return true;
        },
        [&] {
            EXPECT_TRUE(on_page(walk, statistics));
            walk.press("next");
            return true;
        },
        [&] {
            if (!on_page(walk, results)) return false;
            // The left 30 columns only: the maximum is column 29 of the last row.
            const float maximum = 179.0f * 0.01f * 30 * (1.0f + 0.05f * 59);
            EXPECT_NEAR(QLocale::c().toFloat(walk.label_text(results, results_ids::maximum)), maximum, 0.02f * maximum);
            walk.press("finish");
            return true;
        },
    });
    EXPECT_TRUE(done);
    EXPECT_EQ(read_file(walk.cache / "dtemp.hdr"), working_copy);
}

TEST_F(WizardGui, APercentileOfZeroIsRefusedWithTheBalloon) {
    walk.open_through_dialog(write_wall(walk.files / "wall.hdr"));
    const bool done = walk.run({
        [&] {
            if (!on_page(walk, type)) return false;
            walk.press("next");
            return true;
        },
        [&] {
            walk.click(walk.control<QPushButton>(single_region, click_to_select));
            return true;
        },
        walk.rectangle_drawn({5.3f, 5.3f}, {40.7f, 30.7f}),
        [&] {
            if (!on_page(walk, single_region)) return false;
            walk.press("next");
            walk.click(walk.control<QCheckBox>(statistics, percentile_box));
            walk.press("next");
            return true;
        },
        [&] {
            EXPECT_TRUE(on_page(walk, percentiles));
            walk.type_into(walk.control<QLineEdit>(percentiles, upper_percentile), "0");
            walk.press("next");
            EXPECT_TRUE(on_page(walk, percentiles));
            EXPECT_TRUE(QToolTip::isVisible());
            EXPECT_EQ(QToolTip::text(), percentile_warning);
            save_screenshot(walk.sheet(), "page_111_percentiles.png");
            walk.type_into(walk.control<QLineEdit>(percentiles, upper_percentile), "15");
            walk.press("next");
            EXPECT_FALSE(QToolTip::isVisible());
            return true;
        },
        [&] {
            if (!on_page(walk, results)) return false;
            walk.press("cancel");
            return true;
        },
    });
    EXPECT_TRUE(done);
}

TEST_F(WizardGui, TheWholePictureWithAWholePercentileAndADecimalThreshold) {
    walk.open_through_dialog(write_wall(walk.files / "wall.hdr"));
    const bool done = walk.run({
        [&] {
            if (!on_page(walk, type)) return false;
            walk.press("next");
            return true;
        },
        [&] {
            EXPECT_TRUE(on_page(walk, single_region));
            auto* whole = walk.control<QPushButton>(single_region, whole_picture);
            EXPECT_EQ(whole->text(), "Whole Picture");
            walk.click(whole);
            EXPECT_TRUE(walk.sheet()->isVisible());
            EXPECT_EQ(walk.label_text(single_region, region_page::single), "Found a Valid Region");
            save_screenshot(walk.sheet(), "page_109_whole_picture.png");
            walk.press("next");
            walk.click(walk.control<QCheckBox>(statistics, percentile_box));
            walk.click(walk.control<QCheckBox>(statistics, criterion_box));
            walk.press("next");
            return true;
        },
        [&] {
            EXPECT_TRUE(on_page(walk, percentiles));
            auto* upper = walk.control<QLineEdit>(percentiles, upper_percentile);
            walk.type_into(upper, "2.5");
            EXPECT_EQ(upper->text(), "25");  // a whole number: the point is refused
            walk.type_into(walk.control<QLineEdit>(percentiles, lower_percentile), "50");
            QToolTip::hideText();
            walk.press("next");
            EXPECT_TRUE(on_page(walk, criterion));
            walk.control<QComboBox>(criterion, criterion_list)->setCurrentIndex(0);
            auto* field = walk.control<QLineEdit>(criterion, threshold);
            walk.type_into(field, "12.5");
            EXPECT_EQ(field->text(), "12.5");
            walk.press("next");
            return true;
        },
        [&] {
            if (!on_page(walk, results)) return false;
            EXPECT_TRUE(walk.label_text(results, results_ids::criterion).endsWith("greater than 12.5 cd/m²"));
            // The last column of the last row is in: the brightest pixel.
            const float maximum = 179.0f * 0.01f * 100 * (1.0f + 0.05f * 59);
            EXPECT_NEAR(QLocale::c().toFloat(walk.label_text(results, results_ids::maximum)), maximum,
                        0.005f * maximum);
            EXPECT_TRUE(walk.control<QPushButton>(results, results_ids::save)->isEnabled());
            walk.press("finish");
            return true;
        },
    });
    EXPECT_TRUE(done);
}

TEST_F(WizardGui, SaveIsOffAfterAnAnalysisThatStopped) {
    walk.open_through_dialog(write_wall(walk.files / "wall.hdr"));
    const std::string mask = (walk.files / "broken.hdr").string();
    write_file(mask, "not a picture\n");
    const bool done = walk.run({
        [&] {
            if (!on_page(walk, type)) return false;
            walk.press("next");
            walk.click(walk.control<QRadioButton>(single_region, from_mask));
            answer_file_dialog(QString::fromStdString(mask));
            walk.click(walk.control<QPushButton>(single_region, browse));
            walk.press("next");
            // The mask cannot be applied: the program's message, then the page.
            answer_message_box("OK");
            walk.press("next");
            return true;
        },
        [&] {
            if (!on_page(walk, results)) return false;
            EXPECT_FALSE(walk.control<QPushButton>(results, results_ids::save)->isEnabled());
            walk.press("finish");
            return true;
        },
    });
    EXPECT_TRUE(done);
    EXPECT_FALSE(fs::exists(walk.files / "broken_stats.csv"));
}

TEST_F(WizardGui, BackToTheFirstPageStartsTheAnalysisOver) {
    walk.open_through_dialog(write_wall(walk.files / "wall.hdr"));
    const bool done = walk.run({
        [&] {
            if (!on_page(walk, type)) return false;
            walk.press("next");
            walk.click(walk.control<QPushButton>(single_region, click_to_select));
            return true;
        },
        walk.rectangle_drawn({5.3f, 5.3f}, {40.7f, 30.7f}),
        [&] {
            if (!on_page(walk, single_region)) return false;
            EXPECT_TRUE(walk.sheet()->next_button()->isEnabled());
            walk.press("next");
            walk.press("back");
            walk.press("back");
            EXPECT_TRUE(on_page(walk, type));
            walk.press("next");
            EXPECT_EQ(walk.label_text(single_region, region_page::single), "No Region Selected");
            EXPECT_FALSE(walk.sheet()->next_button()->isEnabled());
            walk.press("cancel");
            return true;
        },
    });
    EXPECT_TRUE(done);
    EXPECT_TRUE(walk.window.isEnabled());
}

}  // namespace
