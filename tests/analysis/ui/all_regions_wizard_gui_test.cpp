// "All regions in the list" on the analysis wizard's first page, in its
// windows: shown only while the region list has regions; chosen, the
// statistics pages end with Finish and the region table opens with their
// choices. With CANDELUX_SCREENSHOT set to a folder, the first page with the
// choice is saved there as wizard-regions.png.

#include <QCheckBox>
#include <QPushButton>
#include <QRadioButton>
#include <gtest/gtest.h>

#include "analysis/analysis_ids.h"
#include "analysis/ui/wizard_sheet_dialog.h"
#include "regions/region_list_form.h"
#include "regions/region_table_form.h"
#include "support/formula_pictures.h"
#include "support/regions.h"
#include "support/scripted_regions_desktop.h"
#include "wizard_walk.h"

namespace {

using namespace analysis_pages;
using namespace analysis_ids;

class AllRegionsGui : public ::testing::Test {
protected:
    void SetUp() override {
        walk.app.set_regions_desktop(&regions);
        const std::string picture = (walk.files / "wall.hdr").string();
        ASSERT_TRUE(write_grey_picture(picture, 100, 60, [](int x, int y) { return 0.05f + 0.002f * (x + y); }));
        walk.open_through_dialog(picture);
        ASSERT_TRUE(walk.app.image_loaded());
    }
    void list_two() {
        RegionFile file;
        file.width = 100;
        file.height = 60;
        NamedRegion task;
        task.name = "task";
        task.geometry = rectangle_region(10, 10, 40, 30);
        NamedRegion screen;
        screen.name = "screen";
        screen.kind = RegionKind::circle;
        screen.geometry = circle_region(8, 70, 30);
        file.regions = {task, screen};
        const std::string path = (walk.files / "wall.regions.json").string();
        ASSERT_TRUE(write_region_file(path, file));
        ASSERT_TRUE(walk.app.region_list()->load(path));
    }

    ScriptedRegionsDesktop regions;
    WizardWalk walk;
};

TEST_F(AllRegionsGui, TheChoiceLeadsThroughTheStatisticsToTheTable) {
    ASSERT_NO_FATAL_FAILURE(list_two());
    const bool done = walk.run({
        [&] {
            if (!on_page(walk, type)) return false;
            auto* all = walk.control<QRadioButton>(type, all_regions_kind);
            EXPECT_TRUE(all && all->isVisible());
            if (!all) return true;
            EXPECT_EQ(all->text(), "All regions in the list");
            walk.click(all);
            save_screenshot(walk.sheet(), "wizard-regions.png");
            walk.press("next");
            EXPECT_TRUE(on_page(walk, statistics));
            EXPECT_TRUE(walk.sheet()->finish_button()->isVisible());
            walk.click(walk.control<QCheckBox>(statistics, criterion_box));
            EXPECT_FALSE(walk.sheet()->finish_button()->isVisible());
            walk.press("next");
            EXPECT_TRUE(on_page(walk, criterion));
            EXPECT_TRUE(walk.sheet()->finish_button()->isVisible());
            walk.press("finish");
            return true;
        },
    });
    EXPECT_TRUE(done);
    ASSERT_NE(regions.table, nullptr);
    EXPECT_TRUE(regions.table->table().settings.criterion_enabled);
    EXPECT_FALSE(regions.table->table().settings.percentile_enabled);
    ASSERT_EQ(regions.table->rows().size(), 2u);
    EXPECT_EQ(regions.table->rows()[1][0], "screen");
}

TEST_F(AllRegionsGui, WithAnEmptyListThePageHasNoSuchChoice) {
    const bool done = walk.run({
        [&] {
            if (!on_page(walk, type)) return false;
            auto* all = walk.control<QRadioButton>(type, all_regions_kind);
            EXPECT_TRUE(all == nullptr || !all->isVisible());
            EXPECT_TRUE(walk.control<QRadioButton>(type, single_kind)->isChecked());
            walk.press("next");
            EXPECT_TRUE(on_page(walk, single_region));
            walk.press("cancel");
            return true;
        },
    });
    EXPECT_TRUE(done);
    EXPECT_EQ(regions.table, nullptr);
}

}  // namespace
