// The pages through the lens: a fisheye with a clipped sun shows its lens
// figures, the weighting switch, the labelled histogram and the clipped-pixel
// sentence, whose link leads to the illuminance calibration; a picture
// without a clipped patch shows no sentence. With CANDELUX_SCREENSHOT set to
// a folder, the results page is saved there.

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "analysis/analysis_ids.h"
#include "analysis/calibration_ids.h"
#include "analysis/glare_ids.h"
#include "analysis/result_lines.h"
#include "analysis/ui/histogram_frame.h"
#include "analysis/ui/wizard_sheet_dialog.h"
#include "app/commands.h"
#include "support/formula_pictures.h"
#include "wizard_walk.h"

namespace {

namespace fs = std::filesystem;
using namespace analysis_pages;
using namespace analysis_ids;

// A 180° angular fisheye of a sky growing brighter toward the top, with a
// sun of 30 000 cd/m² in a 6 × 6 patch (clipped: all at one value) or, with
// clipped false, a sun whose brightest pixel stands alone.
std::string write_fisheye(const fs::path& path, bool clipped) {
    EXPECT_TRUE(write_grey_picture(
        path.string(), 240, 240,
        [clipped](int x, int y) {
            const float sky = 0.5f + 2.0f * static_cast<float>(240 - y) / 240.0f;
            if (x >= 150 && x < 156 && y >= 60 && y < 66) {
                if (clipped) return 30000.0f / 179.0f;
                return (30000.0f - 2000.0f * static_cast<float>(std::abs(x - 152) + std::abs(y - 62))) / 179.0f;
            }
            return sky;
        },
        {"VIEW= -vta -vh 180 -vv 180"}));
    return path.string();
}

const char* const sentence_end =
    " are clipped: illuminance and glare are underestimated. Calibrate against a measured illuminance to correct it.";

class LensGui : public ::testing::Test {
protected:
    // Through the pages to the results of the whole picture.
    std::vector<WalkStep> to_results() {
        return {[&] {
                    if (!on_page(walk, type)) return false;
                    walk.press("next");
                    return true;
                },
                [&] {
                    if (!on_page(walk, single_region)) return false;
                    walk.click(walk.control<QPushButton>(single_region, whole_picture));
                    walk.press("next");
                    return true;
                },
                [&] {
                    if (!on_page(walk, statistics)) return false;
                    walk.press("next");
                    return true;
                }};
    }
    WizardWalk walk;
};

}  // namespace

TEST_F(LensGui, TheResultsPageShowsTheLensFiguresAndTheClippedSunWithItsLink) {
    walk.open_through_dialog(write_fisheye(walk.files / "sun.hdr", true));
    std::vector<WalkStep> steps = to_results();
    steps.push_back([&] {
        if (!on_page(walk, results)) return false;
        auto* group = walk.control<QGroupBox>(results, results_ids::lens_group);
        EXPECT_TRUE(group && group->isVisible());
        EXPECT_EQ(walk.label_text(results, results_ids::lens_first_caption), "Pixels in view:");
        EXPECT_EQ(walk.label_text(results, results_ids::lens_first_caption + 2), "Solid angle:");
        EXPECT_TRUE(walk.label_text(results, results_ids::lens_first_caption + 3).startsWith("6.28"));
        EXPECT_EQ(walk.label_text(results, results_ids::lens_first_caption + 6), "Illuminance from the region:");
        auto* overflow = walk.control<QLabel>(results, results_ids::overflow);
        EXPECT_TRUE(overflow->isVisible());
        EXPECT_TRUE(overflow->text().startsWith("The brightest 36 pixels (0.079 %)" + QString(sentence_end)))
            << overflow->text().toStdString();
        EXPECT_TRUE(overflow->text().contains("href=\"calibration\""));

        // The weighting switch changes the mean, and back.
        const QString mean = walk.label_text(results, results_ids::mean);
        auto* weight = walk.control<QCheckBox>(results, results_ids::weight_box);
        EXPECT_TRUE(weight->isEnabled());
        walk.click(weight);
        EXPECT_NE(walk.label_text(results, results_ids::mean), mean);
        save_screenshot(walk.sheet(), "results_lens_weighted.png");
        walk.click(weight);
        EXPECT_EQ(walk.label_text(results, results_ids::mean), mean);
        // The histogram has its axes: the plot stops above them.
        auto* frame = walk.page(results)->findChild<HistogramFrame*>(QString::number(results_ids::histogram_frame));
        EXPECT_LT(frame->plot_bottom(), frame->height());
        save_screenshot(walk.sheet(), "results_lens.png");
        // The link closes the wizard; the calibration opens on illuminance.
        QMetaObject::invokeMethod(overflow, "linkActivated", Q_ARG(QString, "calibration"));
        return true;
    });
    steps.push_back([&] {
        if (!on_page(walk, calibration_pages::options)) return false;
        EXPECT_TRUE(walk.control<QRadioButton>(calibration_pages::options, calibration_ids::illuminance_kind)->isChecked());
        auto* overflow = walk.control<QLabel>(calibration_pages::options, calibration_ids::overflow);
        EXPECT_TRUE(overflow->isVisible());
        EXPECT_TRUE(overflow->text().startsWith("The brightest 36 pixels (0.079 %)" + QString(sentence_end)));
        save_screenshot(walk.sheet(), "calibration_overflow.png");
        walk.press("cancel");
        return true;
    });
    EXPECT_TRUE(walk.run(steps));
}

TEST_F(LensGui, WithoutAClippedPatchNoSentenceIsShown) {
    walk.open_through_dialog(write_fisheye(walk.files / "sun.hdr", false));
    std::vector<WalkStep> steps = to_results();
    steps.push_back([&] {
        if (!on_page(walk, results)) return false;
        EXPECT_FALSE(walk.control<QLabel>(results, results_ids::overflow)->isVisible());
        EXPECT_TRUE(walk.control<QGroupBox>(results, results_ids::lens_group)->isVisible());
        walk.press("finish");
        return true;
    });
    EXPECT_TRUE(walk.run(steps));
}
