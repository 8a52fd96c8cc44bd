// Tools > Analyze... with "All regions in the list": the wizard skips the
// region and, on Finish, the region table is made with its statistics; each
// row is what the single-region way gives for that region. Without regions
// in the list the wizard is as it always was.

#include <gtest/gtest.h>

#include "analysis/analysis_ids.h"
#include "analysis/analysis_wizard.h"
#include "app/commands.h"
#include "regions/region_list_form.h"
#include "regions/region_table_form.h"
#include "support/formula_pictures.h"
#include "support/region_lists.h"
#include "support/regions.h"
#include "support/scripted_regions_desktop.h"
#include "wizard_command_fixture.h"

namespace {

using namespace analysis_pages;

class AllRegionsWizard : public WizardCommandTest {
protected:
    void SetUp() override {
        WizardCommandTest::SetUp();
        app.set_regions_desktop(&regions);
    }
    void open_wall() {
        const std::string path = (pictures / "wall.hdr").string();
        ASSERT_TRUE(write_grey_picture(path, 200, 100, [](int x, int y) {
            return 0.05f + 0.001f * static_cast<float>(x) + 0.02f * static_cast<float>(y % 7);
        }));
        open_picture(path);
    }
    // A rectangle, a circle and a polygon on the 200 x 100 wall.
    void list_three() {
        ASSERT_NO_FATAL_FAILURE(load_region_list(
            *app.region_list(), (pictures / "wall.regions.json").string(), 200, 100,
            {listed_region("task", RegionKind::rectangle, rectangle_region(20, 10, 60, 30)),
             listed_region("screen", RegionKind::circle, circle_region(12, 120, 50)),
             listed_region("wall", RegionKind::polygon,
                           polygon_region({{150, 60}, {190, 60}, {190, 95}, {160, 90}}))}));
    }
    // Pages 110 to 112 with both boxes: a 20 % over 30 % ratio and the
    // share above 25 cd/m².
    static void choose_statistics(AnalysisWizard& wizard) {
        WizardSheet& sheet = wizard.sheet();
        ASSERT_EQ(sheet.current_page(), statistics);
        wizard.percentile_checked = true;
        wizard.criterion_checked = true;
        wizard.on_statistics_boxes_changed();
        sheet.press_next();
        ASSERT_EQ(sheet.current_page(), percentiles);
        wizard.on_upper_percentile(20);
        wizard.on_lower_percentile(30);
        sheet.press_next();
        ASSERT_EQ(sheet.current_page(), criterion);
        wizard.on_criterion_chosen(CriterionKind::greater_than);
        wizard.on_threshold(25);
    }

    ScriptedRegionsDesktop regions;
};

TEST_F(AllRegionsWizard, FinishMakesTheTableWithTheWizardsStatisticsRowForRow) {
    ASSERT_NO_FATAL_FAILURE(open_wall());
    ASSERT_NO_FATAL_FAILURE(list_three());
    desktop.analysis_wizard = [&](AnalysisWizard& wizard) {
        WizardSheet& sheet = wizard.sheet();
        EXPECT_TRUE(wizard.all_regions_offered());
        wizard.on_all_regions_chosen();
        EXPECT_TRUE(wizard.all_regions_chosen());
        sheet.press_next();
        // No region to draw: straight to the statistics, Back to the start.
        EXPECT_EQ(sheet.current_page(), statistics);
        EXPECT_TRUE(sheet.finish_offered());  // nothing more to ask yet
        wizard.percentile_checked = true;
        wizard.on_statistics_boxes_changed();
        EXPECT_FALSE(sheet.finish_offered());
        wizard.percentile_checked = false;
        wizard.on_statistics_boxes_changed();
        sheet.press_back();
        EXPECT_EQ(sheet.current_page(), type);
        sheet.press_next();
        choose_statistics(wizard);
        EXPECT_TRUE(sheet.finish_offered());
        EXPECT_EQ(regions.table, nullptr);  // only once the sheet has closed
        sheet.press_finish();
        return sheet.result();
    };
    app.on_command(command::analyze);
    EXPECT_FALSE(app.analysis_wizard_active());
    ASSERT_NE(regions.table, nullptr);
    const RegionTable& table = regions.table->table();
    EXPECT_TRUE(table.settings.percentile_enabled);
    EXPECT_TRUE(table.settings.criterion_enabled);
    EXPECT_EQ(table.settings.upper_percentile, 20);
    EXPECT_EQ(table.settings.lower_percentile, 30);
    EXPECT_EQ(table.settings.criterion_kind, CriterionKind::greater_than);
    EXPECT_EQ(table.settings.criterion_threshold, 25.0f);
    ASSERT_EQ(table.rows.size(), 3u);

    // The task rectangle through the single-region way with the same
    // choices: its results page and the table's first row agree exactly.
    const Region task = app.region_list()->regions()[0].geometry;
    RegionStatistics single;
    desktop.analysis_wizard = [&](AnalysisWizard& wizard) {
        WizardSheet& sheet = wizard.sheet();
        sheet.press_next();
        EXPECT_EQ(sheet.current_page(), single_region);
        wizard.single_page().on_click_to_select();
        wizard.region_selected(task, region_page::single);
        sheet.press_next();
        choose_statistics(wizard);
        EXPECT_FALSE(sheet.finish_offered());
        sheet.press_next();
        EXPECT_EQ(sheet.current_page(), results);
        single = wizard.results().single().statistics;
        sheet.press_finish();
        return sheet.result();
    };
    RegionTableForm* first_table = regions.table;
    app.on_command(command::analyze);
    EXPECT_EQ(regions.table, first_table);  // the single way makes no table
    const RegionStatistics& row = table.rows[0].analysis.statistics;
    EXPECT_EQ(row.count(), 40 * 20);
    EXPECT_EQ(row.count(), single.count());
    EXPECT_EQ(row.minimum, single.minimum);
    EXPECT_EQ(row.maximum, single.maximum);
    EXPECT_EQ(row.mean, single.mean);
    EXPECT_EQ(row.median, single.median);
    EXPECT_EQ(row.standard_deviation, single.standard_deviation);
    EXPECT_EQ(row.percentile_ratio, single.percentile_ratio);
    EXPECT_EQ(row.criterion_percentage, single.criterion_percentage);
    EXPECT_GT(row.percentile_ratio, 1.0f);
    EXPECT_GT(row.criterion_percentage, 0.0f);
    EXPECT_LT(row.criterion_percentage, 100.0f);

    // Every row is its region analysed alone with those settings.
    AnalysisSettings settings;
    settings.general_statistics = settings.percentile_enabled = settings.criterion_enabled = true;
    settings.upper_percentile = 20;
    settings.lower_percentile = 30;
    settings.criterion_kind = CriterionKind::greater_than;
    settings.criterion_threshold = 25;
    StatisticsContext context{app.luminance_map(), app.cache_directory(), app.runner(), desktop, false};
    for (size_t i = 0; i < 3; ++i) {
        const RegionChoice choice = region_choice(app.region_list()->regions()[i], "");
        const auto alone = analyse_region_choice(context, table.lens, choice, region_record(settings, choice), false);
        ASSERT_TRUE(alone);
        const RegionStatistics &a = table.rows[i].analysis.statistics, &b = alone.value().statistics;
        EXPECT_EQ(a.count(), b.count()) << i;
        EXPECT_EQ(a.mean, b.mean) << i;
        EXPECT_EQ(a.median, b.median) << i;
        EXPECT_EQ(a.percentile_ratio, b.percentile_ratio) << i;
        EXPECT_EQ(a.criterion_percentage, b.criterion_percentage) << i;
    }
    // The window's cells hold the two figures asked for.
    const auto& titles = regions.table->titles();
    const auto ratio = std::find(titles.begin(), titles.end(), "percentile_ratio") - titles.begin();
    ASSERT_LT(static_cast<size_t>(ratio), titles.size());
    EXPECT_FALSE(regions.table->rows()[0][static_cast<size_t>(ratio)].empty());
}

TEST_F(AllRegionsWizard, AWrongPercentileKeepsTheSheetOpenAndCancelMakesNoTable) {
    ASSERT_NO_FATAL_FAILURE(open_wall());
    ASSERT_NO_FATAL_FAILURE(list_three());
    desktop.analysis_wizard = [&](AnalysisWizard& wizard) {
        WizardSheet& sheet = wizard.sheet();
        wizard.on_all_regions_chosen();
        sheet.press_next();
        wizard.percentile_checked = true;
        wizard.on_statistics_boxes_changed();
        sheet.press_next();
        EXPECT_EQ(sheet.current_page(), percentiles);
        EXPECT_TRUE(sheet.finish_offered());
        wizard.on_upper_percentile(0);
        sheet.press_finish();
        EXPECT_FALSE(sheet.closed());
        EXPECT_TRUE(wizard.balloon_shown());
        // Another kind leaves the list behind.
        sheet.press_back();
        sheet.press_back();
        wizard.on_kind_chosen(AnalysisKind::single_region);
        EXPECT_FALSE(wizard.all_regions_chosen());
        sheet.press_next();
        EXPECT_EQ(sheet.current_page(), single_region);
        sheet.press_cancel();
        return sheet.result();
    };
    app.on_command(command::analyze);
    EXPECT_EQ(regions.table, nullptr);
}

TEST_F(AllRegionsWizard, WithAnEmptyListTheWizardIsAsBefore) {
    ASSERT_NO_FATAL_FAILURE(open_wall());
    desktop.analysis_wizard = [&](AnalysisWizard& wizard) {
        WizardSheet& sheet = wizard.sheet();
        EXPECT_FALSE(wizard.all_regions_offered());
        wizard.on_all_regions_chosen();
        EXPECT_FALSE(wizard.all_regions_chosen());
        sheet.press_next();
        EXPECT_EQ(sheet.current_page(), single_region);
        wizard.single_page().on_click_to_select();
        wizard.region_selected(rectangle_region(20, 10, 60, 30), region_page::single);
        sheet.press_next();
        EXPECT_EQ(sheet.current_page(), statistics);
        EXPECT_FALSE(sheet.finish_offered());
        sheet.press_next();
        EXPECT_EQ(sheet.current_page(), results);
        sheet.press_finish();
        return sheet.result();
    };
    app.on_command(command::analyze);
    EXPECT_EQ(regions.table, nullptr);
    EXPECT_TRUE(regions.messages.empty());
}

}  // namespace
