// The glare pages in their windows, walked on a real fisheye photograph:
// every page at its defaults, then with a task area. Page 135 must show
// evalglare's figures for the photograph, and the main window its check
// picture at zoom 1.0. With CANDELUX_SCREENSHOT set to a folder, the pages
// and the main window are saved there.

#include <QCheckBox>
#include <QComboBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QRadioButton>
#include <QTableWidget>
#include <gtest/gtest.h>

#include <array>

#include "analysis/analysis_ids.h"
#include "analysis/glare_ids.h"
#include "analysis/ui/wizard_sheet_dialog.h"
#include "app/ui/image_view.h"
#include "picture/rgbe_reader.h"
#include "wizard_walk.h"

namespace {

using namespace glare_page;
using namespace glare_ids;
using Figures = std::array<double, 6>;  // dgp, dgi, ugr, vcp, cgi, Lveil

// The reference evalglare's figures for this photograph.
constexpr Figures defaults_reference = {0.528903, 19.590622, 25.681599, 2.746814, 32.465382, 660.740723};
constexpr Figures task_reference = {0.519059, 5.798009, 10.515636, 77.635818, 14.005884, 4.259043};

void expect_figures(const QString& text, const Figures& reference) {
    const QString head = "dgp,dgi,ugr,vcp,cgi,Lveil:";
    ASSERT_TRUE(text.startsWith(head)) << text.toStdString();
    const QStringList words = text.mid(head.size()).split(QRegularExpression("\\s+"), Qt::SkipEmptyParts);
    ASSERT_EQ(words.size(), 6) << text.toStdString();
    Figures f;
    for (int k = 0; k < 6; ++k) f[static_cast<size_t>(k)] = QLocale::c().toDouble(words[k].trimmed());
    EXPECT_NEAR(f[0], reference[0], 0.002);
    EXPECT_NEAR(f[1], reference[1], 0.05);
    EXPECT_NEAR(f[2], reference[2], 0.05);
    EXPECT_NEAR(f[3], reference[3], 0.5);
    EXPECT_NEAR(f[4], reference[4], 0.05);
    EXPECT_NEAR(f[5], reference[5], 0.005 * reference[5] + 0.01);
}

class GlareGui : public ::testing::Test {
protected:
    void SetUp() override {
        photo = shared_picture("fisheye_photo_786.hdr");
        if (photo.empty()) GTEST_SKIP() << "fisheye_photo_786.hdr is not on this machine";
        walk.open_through_dialog(photo);
        ASSERT_TRUE(walk.app.image_loaded());
    }
    // From page 108 to the glare pages' first.
    WalkStep choose_glare() {
        return [this] {
            if (!on_page(walk, analysis_pages::type)) return false;
            walk.click(walk.control<QRadioButton>(analysis_pages::type, analysis_ids::glare_kind));
            walk.press("next");
            EXPECT_TRUE(on_page(walk, intro));
            return true;
        };
    }
    QString result_text() const { return walk.control<QPlainTextEdit>(results, result_text_id)->toPlainText(); }
    // Back, Finish and the result of the check picture in the main window.
    void expect_check_picture_shown() {
        EXPECT_TRUE(walk.sheet()->back_button()->isEnabled());
        EXPECT_TRUE(walk.sheet()->finish_button()->isVisible());
        EXPECT_EQ(walk.app.zoom(), 1.0f);
        EXPECT_EQ(walk.window.view()->picture().size(), QSize(786, 786));
        const auto header = read_picture_header((walk.cache / "dtemp.hdr").string());
        ASSERT_TRUE(header.ok());
        bool from_evalglare = false;
        for (const std::string& line : header.value()) from_evalglare |= line.starts_with("evalglare -c ");
        EXPECT_TRUE(from_evalglare) << "the working copy is not the check picture";
    }

    static constexpr int result_text_id = glare_ids::result_text;
    std::string photo;
    WizardWalk walk;
};

TEST_F(GlareGui, EveryPageAtItsDefaultsEndsWithThePhotographsFiguresAndItsCheckPicture) {
    const bool done = walk.run({
        choose_glare(),
        [&] {
            EXPECT_EQ(walk.sheet()->findChild<QLabel*>("header_title")->text(), "Glare Analysis through Evalglare");
            save_screenshot(walk.sheet(), "page_130_glare.png");
            walk.press("next");
            EXPECT_TRUE(on_page(walk, task_area));
            EXPECT_TRUE(walk.control<QRadioButton>(task_area, entire_image)->isChecked());
            EXPECT_FALSE(walk.control<QRadioButton>(task_area, specify_task_area)->isChecked());
            save_screenshot(walk.sheet(), "page_138_task_area.png");
            walk.press("next");
            return true;
        },
        [&] {
            EXPECT_TRUE(on_page(walk, field_of_view));
            EXPECT_FALSE(walk.control<QCheckBox>(field_of_view, guth)->isChecked());
            auto* total = walk.control<QRadioButton>(field_of_view, total_field);
            EXPECT_TRUE(total->isChecked());
            EXPECT_FALSE(total->isEnabled());
            walk.click(walk.control<QCheckBox>(field_of_view, guth));
            EXPECT_TRUE(walk.control<QRadioButton>(field_of_view, both_eyes)->isEnabled());
            save_screenshot(walk.sheet(), "page_132_field_of_view.png");
            walk.click(walk.control<QCheckBox>(field_of_view, guth));
            EXPECT_FALSE(total->isEnabled());
            walk.press("next");
            return true;
        },
        [&] {
            EXPECT_TRUE(on_page(walk, view_types));
            EXPECT_TRUE(walk.control<QRadioButton>(view_types, view_none)->isChecked());
            auto* types = walk.control<QComboBox>(view_types, view_type_list);
            EXPECT_EQ(types->count(), 6);
            EXPECT_EQ(types->currentText(), "Hemispherical Fish Eye(-vth)");
            EXPECT_FALSE(types->isEnabled());
            EXPECT_FALSE(walk.control<QPushButton>(view_types, view_browse)->isEnabled());
            walk.click(walk.control<QRadioButton>(view_types, view_by_type));
            EXPECT_TRUE(types->isEnabled());
            EXPECT_FALSE(walk.sheet()->next_button()->isEnabled());
            save_screenshot(walk.sheet(), "page_133_view_types.png");
            walk.click(walk.control<QRadioButton>(view_types, view_none));
            walk.press("next");
            return true;
        },
        [&] {
            EXPECT_TRUE(on_page(walk, advanced));
            for (int box : {smoothing, external_ev, search_radius, peak_extraction, glare_threshold})
                EXPECT_FALSE(walk.control<QCheckBox>(advanced, box)->isChecked()) << box;
            for (int field : {ev, radius, peak_threshold, threshold})
                EXPECT_FALSE(walk.control<QLineEdit>(advanced, field)->isEnabled()) << field;
            walk.click(walk.control<QCheckBox>(advanced, external_ev));
            EXPECT_TRUE(walk.control<QLineEdit>(advanced, ev)->isEnabled());
            save_screenshot(walk.sheet(), "page_134_advanced_options.png");
            walk.click(walk.control<QCheckBox>(advanced, external_ev));
            walk.press("next");
            return true;
        },
        [&] {
            EXPECT_TRUE(on_page(walk, results));
            const std::string cache = walk.cache.str();
            EXPECT_EQ(walk.label_text(results, command_line).toStdString(),
                      "/C evalglare -c " + cache + "/dtempo.hdr  -x  " + cache + "/dtemp.hdr");
            EXPECT_FALSE(walk.control<QLabel>(results, command_line)->isVisible());
            expect_figures(result_text(), defaults_reference);
            expect_check_picture_shown();
            // The table under evalglare's line: each index with its class,
            // evalglare's illuminance and its sources; the photograph's
            // brightest pixels are not clipped.
            auto* table = walk.control<QTableWidget>(results, summary_table);
            EXPECT_TRUE(table && table->isVisible());
            EXPECT_EQ(table ? table->rowCount() : 0, 8);
            if (table && table->rowCount() == 8) {
                EXPECT_EQ(table->item(0, 0)->text(), "DGP");
                EXPECT_EQ(table->item(0, 2)->text(), "intolerable");
                EXPECT_EQ(table->item(6, 0)->text(), "Vertical illuminance");
                EXPECT_EQ(table->item(7, 0)->text(), "Glare sources");
            }
            EXPECT_FALSE(walk.control<QLabel>(results, overflow)->isVisible());
            save_screenshot(walk.sheet(), "page_135_results.png");
            save_screenshot(&walk.window, "check_picture_view.png");
            walk.press("finish");
            return true;
        },
    });
    EXPECT_TRUE(done);
    EXPECT_TRUE(walk.window.isEnabled());
}

TEST_F(GlareGui, ATaskAreaIsEvaluatedAndPaintedBlueAtItsPosition) {
    const bool done = walk.run({
        choose_glare(),
        [&] {
            walk.press("next");
            walk.click(walk.control<QRadioButton>(task_area, specify_task_area));
            walk.press("next");
            EXPECT_TRUE(on_page(walk, task_position));
            walk.type_into(walk.control<QLineEdit>(task_position, task_x), "393");
            walk.type_into(walk.control<QLineEdit>(task_position, task_y), "393");
            walk.type_into(walk.control<QLineEdit>(task_position, task_angle), "0.5x");
            EXPECT_EQ(walk.control<QLineEdit>(task_position, task_angle)->text(), "0.5");
            save_screenshot(walk.sheet(), "page_131_task_position.png");
            for (int page : {field_of_view, view_types, advanced, results}) {
                walk.press("next");
                EXPECT_TRUE(on_page(walk, page));
            }
            return true;
        },
        [&] {
            EXPECT_TRUE(walk.label_text(results, command_line).contains(" -T 393 393 0.5 -x "));
            expect_figures(result_text(), task_reference);
            expect_check_picture_shown();
            save_screenshot(&walk.window, "check_picture_task_view.png");
            walk.press("finish");
            return true;
        },
    });
    EXPECT_TRUE(done);
    // The task's centre pixel, 393 from the left and 393 from the bottom.
    const auto check = ra2picarray((walk.cache / "dtemp.hdr").string());
    ASSERT_TRUE(check.ok());
    const RgbePixel centre = check.value().pixels[static_cast<size_t>((785 - 393) * 786 + 393)];
    EXPECT_EQ(centre.r, 0);
    EXPECT_EQ(centre.g, 0);
    EXPECT_GT(centre.b, 0);
}

}  // namespace
