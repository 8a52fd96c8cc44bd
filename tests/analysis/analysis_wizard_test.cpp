// The analysis wizard's pages and their rules, without a window: the first
// page, the region pages with the hand-back and mask files, the statistics
// choices, the percentile check and the results.

#include <gtest/gtest.h>

#include "analysis/analysis_ids.h"
#include "analysis/analysis_wizard.h"
#include "analysis/region_statistics.h"
#include "fake_analysis_host.h"
#include "support/regions.h"

namespace {

using namespace analysis_pages;

Region polygon_of(int vertices) {
    Region r;
    const PointF points[] = {{2, 2}, {20, 3}, {18, 15}, {5, 14}, {1, 8}};
    for (int i = 0; i < vertices; ++i) r.vertices[static_cast<size_t>(r.vertex_count++)] = points[i];
    return r;
}

class Wizard : public ::testing::Test {
protected:
    void SetUp() override {
        host.map = numbered_map(40, 30);
        wizard.start();
    }
    // Draws on the main window and presses ENTER: the main window copies the
    // selection and hands it to the page that waits.
    void draw(RegionPage& page, const Region& region, RegionKind tool) {
        page.on_click_to_select();
        host.current_tool = tool;
        ASSERT_TRUE(wizard.waiting(page.status_label()));
        wizard.region_selected(region, page.status_label());
    }
    void to_single_region_page() { wizard.sheet().press_next(); }

    FakeAnalysisHost host;
    AnalysisWizard wizard{host, host};
    WizardSheet& sheet = wizard.sheet();
};

TEST_F(Wizard, OpensOnTheAnalysisTypeWithNextOnly) {
    EXPECT_EQ(sheet.caption(), "Analysis Wizard");
    EXPECT_EQ(sheet.pages().size(), 16u);
    EXPECT_EQ(sheet.current_page(), type);
    EXPECT_EQ(sheet.header_title(), "Luminance Distribution Analysis Wizard");
    EXPECT_FALSE(sheet.back_enabled());
    EXPECT_TRUE(sheet.next_enabled());
    EXPECT_EQ(wizard.chosen_kind(), AnalysisKind::single_region);
    EXPECT_EQ(wizard.main.kind, AnalysisKind::single_region);
    EXPECT_GT(host.saved_region_clears, 0);
}

TEST_F(Wizard, TheRegionPageStartsWithTheRectangleAndNoRegion) {
    to_single_region_page();
    RegionPage& page = wizard.single_page();
    EXPECT_EQ(sheet.current_page(), single_region);
    EXPECT_EQ(sheet.header_title(), "Analysis of a Single Region of Interest");
    EXPECT_EQ(host.current_tool, RegionKind::rectangle);
    EXPECT_EQ(page.tool_choice(), ToolChoice::rectangle);
    EXPECT_EQ(page.source(), RegionSource::from_image);
    EXPECT_EQ(page.status_text(), "No Region Selected");
    EXPECT_EQ(page.file_label(), "No File Selected");
    EXPECT_TRUE(page.help_text().starts_with("With rectangle selection tool"));
    EXPECT_EQ(page.help_tail(), "");
    EXPECT_TRUE(page.selection_controls_enabled());
    EXPECT_FALSE(page.mask_controls_enabled());
    EXPECT_TRUE(sheet.back_enabled());
    EXPECT_FALSE(sheet.next_enabled());
}

TEST_F(Wizard, ClickToSelectHidesTheSheetAndLocksThePicture) {
    to_single_region_page();
    wizard.single_page().on_click_to_select();
    EXPECT_TRUE(wizard.waiting(region_page::single));
    EXPECT_FALSE(sheet.shown());
    EXPECT_FALSE(sheet.enabled());
    EXPECT_FALSE(sheet.back_enabled());
    EXPECT_FALSE(sheet.next_enabled());
    EXPECT_FALSE(sheet.cancel_enabled());
    EXPECT_TRUE(host.main_window);
    EXPECT_FALSE(host.image_menu_items);
    EXPECT_FALSE(host.picture_commands);
}

TEST_F(Wizard, AValidRegionHandedBackEnablesNextAndGivesTheCommandsBack) {
    to_single_region_page();
    draw(wizard.single_page(), rectangle_region(10.7f, 5.2f, 20.2f, 9.9f), RegionKind::rectangle);
    EXPECT_FALSE(wizard.waiting(region_page::single));
    EXPECT_TRUE(sheet.shown());
    EXPECT_TRUE(sheet.enabled());
    EXPECT_TRUE(sheet.next_enabled());
    EXPECT_TRUE(sheet.cancel_enabled());
    EXPECT_EQ(wizard.single_page().status_text(), "Found a Valid Region");
    EXPECT_FALSE(host.main_window);
    EXPECT_TRUE(host.analyze_enabled);
    EXPECT_TRUE(host.picture_commands);
}

TEST_F(Wizard, RegionsTooSmallToSampleAreNoRegion) {
    to_single_region_page();
    draw(wizard.single_page(), rectangle_region(10, 10, 10.9f, 30), RegionKind::rectangle);
    EXPECT_FALSE(sheet.next_enabled());
    EXPECT_TRUE(sheet.back_enabled());
    EXPECT_TRUE(sheet.cancel_enabled());
    EXPECT_EQ(wizard.single_page().status_text(), "No Region Selected");
    draw(wizard.single_page(), polygon_of(3), RegionKind::polygon);
    EXPECT_FALSE(sheet.next_enabled());
    draw(wizard.single_page(), polygon_of(4), RegionKind::polygon);
    EXPECT_TRUE(sheet.next_enabled());
    Region small_circle;
    small_circle.radius = 0.4f;
    draw(wizard.single_page(), small_circle, RegionKind::circle);
    EXPECT_FALSE(sheet.next_enabled());
}

TEST_F(Wizard, EnterWhileTheSheetIsShownChangesNothing) {
    to_single_region_page();
    wizard.single_page().on_click_to_select();
    sheet.set_shown(true);  // shown again by other means
    wizard.region_selected(rectangle_region(1, 1, 9, 9), region_page::single);
    EXPECT_TRUE(wizard.waiting(region_page::single));
    EXPECT_EQ(wizard.single_page().status_text(), "No Region Selected");
    EXPECT_FALSE(wizard.single_page().has_valid_region());
}

TEST_F(Wizard, ChoosingAToolSetsTheHelpAndClearsTheDrawnRegion) {
    to_single_region_page();
    RegionPage& page = wizard.single_page();
    draw(page, rectangle_region(1, 1, 9, 9), RegionKind::rectangle);
    page.on_tool_chosen(ToolChoice::polygon);
    EXPECT_EQ(host.current_tool, RegionKind::polygon);
    EXPECT_TRUE(page.help_text().starts_with("With the polygon selection tool"));
    EXPECT_EQ(page.help_tail(), "use the mouse right-click button");
    EXPECT_FALSE(page.has_valid_region());
    EXPECT_FALSE(sheet.next_enabled());
    page.on_tool_chosen(ToolChoice::circle);
    EXPECT_TRUE(page.help_text().starts_with("With circle selection tool"));
    EXPECT_EQ(page.help_tail(), "");
}

TEST_F(Wizard, StatisticsChoicesLeadThroughPercentilesAndCriterion) {
    to_single_region_page();
    draw(wizard.single_page(), rectangle_region(1, 1, 9, 9), RegionKind::rectangle);
    sheet.press_next();
    EXPECT_EQ(sheet.current_page(), statistics);
    wizard.criterion_checked = true;
    sheet.press_next();
    EXPECT_EQ(sheet.current_page(), criterion);
    EXPECT_EQ(wizard.main.criterion_kind, CriterionKind::lesser_than);
    EXPECT_EQ(wizard.main.criterion_threshold, 2000.0f);
    // The threshold is a decimal number, taken as typed; it never goes below 0.
    wizard.on_threshold(12.5f);
    EXPECT_EQ(wizard.main.criterion_threshold, 12.5f);
    EXPECT_TRUE(meets_criterion(wizard.main, 12.4f));
    EXPECT_FALSE(meets_criterion(wizard.main, 12.5f));
    wizard.on_threshold(-3);
    EXPECT_EQ(wizard.main.criterion_threshold, 0.0f);
    wizard.on_threshold(2000);
    sheet.press_back();
    wizard.percentile_checked = true;
    sheet.press_next();
    EXPECT_EQ(sheet.current_page(), percentiles);
    EXPECT_EQ(wizard.main.upper_percentile, 10.0f);
    EXPECT_EQ(wizard.main.lower_percentile, 10.0f);
    sheet.press_next();
    EXPECT_EQ(sheet.current_page(), criterion);
    EXPECT_TRUE(wizard.main.general_statistics);
    EXPECT_TRUE(wizard.main.percentile_enabled);
    EXPECT_TRUE(wizard.main.criterion_enabled);
}

TEST_F(Wizard, APercentileOutsideOneToAHundredKeepsThePageWithTheBalloon) {
    to_single_region_page();
    draw(wizard.single_page(), rectangle_region(1, 1, 9, 9), RegionKind::rectangle);
    sheet.press_next();
    wizard.percentile_checked = true;
    sheet.press_next();
    wizard.on_upper_percentile(0);
    sheet.press_next();
    EXPECT_EQ(sheet.current_page(), percentiles);
    EXPECT_TRUE(wizard.balloon_shown());
    EXPECT_EQ(wizard.balloon_requests(), 1);
    wizard.on_upper_percentile(10);
    wizard.on_lower_percentile(101);
    sheet.press_next();
    EXPECT_EQ(sheet.current_page(), percentiles);
    EXPECT_EQ(wizard.balloon_requests(), 2);
    // 0.5 reads as the unsigned 0.
    wizard.on_lower_percentile(0.5f);
    sheet.press_next();
    EXPECT_EQ(sheet.current_page(), percentiles);
    wizard.on_lower_percentile(5.9f);
    EXPECT_EQ(wizard.main.lower_percentile, 5.0f);
    sheet.press_next();
    EXPECT_EQ(sheet.current_page(), results);
    EXPECT_FALSE(wizard.balloon_shown());
}

TEST_F(Wizard, TheResultsOfOneRegionAreComputedOnArrival) {
    to_single_region_page();
    draw(wizard.single_page(), rectangle_region(10.7f, 5.2f, 20.2f, 9.9f), RegionKind::rectangle);
    sheet.press_next();
    sheet.press_next();
    ASSERT_EQ(sheet.current_page(), results);
    EXPECT_EQ(sheet.header_title(), "Statistical Results");
    EXPECT_TRUE(sheet.back_enabled());
    EXPECT_TRUE(sheet.finish_offered());
    const ResultsPage& page = wizard.results();
    EXPECT_EQ(page.single().count(), 36);
    EXPECT_EQ(page.single().statistics.minimum, 5011.0f);
    EXPECT_EQ(page.view(), ResultView::single);
    EXPECT_FALSE(page.views_shown());
    EXPECT_EQ(page.lines().texts.at(results_ids::minimum), "5011");
    EXPECT_GT(host.scripted.busy_calls, 0);
    EXPECT_FALSE(host.scripted.busy);
    EXPECT_TRUE(host.scripted.messages.empty());
}

TEST_F(Wizard, EachRegionIsSampledWithTheToolItWasDrawnWith) {
    wizard.on_kind_chosen(AnalysisKind::multiple_regions);
    sheet.press_next();
    ASSERT_EQ(sheet.current_page(), region_a);
    EXPECT_EQ(sheet.header_title(), "Analysis of a Multiple Regions of Interest");
    // Region A: a circle; its rectangle fields are left over and must not count.
    Region a = rectangle_region(0, 0, 30, 20);
    a.radius = 3;
    a.centre_x = a.centre_y = 10.9f;
    wizard.a_page().on_tool_chosen(ToolChoice::circle);
    draw(wizard.a_page(), a, RegionKind::circle);
    sheet.press_next();
    ASSERT_EQ(sheet.current_page(), region_b);
    wizard.b_page().on_tool_chosen(ToolChoice::rectangle);
    draw(wizard.b_page(), rectangle_region(0, 0, 4, 2), RegionKind::rectangle);
    sheet.press_next();
    ASSERT_EQ(sheet.current_page(), two_region_statistics);
    wizard.contrast_checked = true;
    sheet.press_next();
    ASSERT_EQ(sheet.current_page(), results);
    const ResultsPage& page = wizard.results();
    EXPECT_EQ(page.a().count(), 25);
    EXPECT_EQ(page.b().count(), 8);
    EXPECT_EQ(page.view(), ResultView::ratio_ab);
    EXPECT_TRUE(page.views_shown());
    EXPECT_TRUE(wizard.main.percentile_enabled);
    // Neither region record asks for percentiles or a criterion.
    EXPECT_EQ(page.a().statistics.percentile_ratio, 1.0f);
    EXPECT_EQ(page.lines().texts.at(results_ids::contrast_caption), "Contrast Ratio:");
}

TEST_F(Wizard, RegionBsPageRemembersItsToolUntilTheUserDraws) {
    wizard.on_kind_chosen(AnalysisKind::multiple_regions);
    sheet.press_next();
    draw(wizard.a_page(), rectangle_region(1, 1, 9, 9), RegionKind::rectangle);
    sheet.press_next();
    host.tools_selected.clear();
    wizard.b_page().on_tool_chosen(ToolChoice::polygon);
    EXPECT_EQ(host.current_tool, RegionKind::rectangle);
    EXPECT_TRUE(host.tools_selected.empty());
    wizard.b_page().on_click_to_select();
    EXPECT_EQ(host.current_tool, RegionKind::polygon);
    EXPECT_FALSE(host.analyze_enabled);
    EXPECT_TRUE(host.image_menu_items);  // only Analyze is switched off here
    EXPECT_FALSE(host.picture_commands);
}

TEST_F(Wizard, BackToTheFirstPageClearsEveryRegion) {
    to_single_region_page();
    draw(wizard.single_page(), rectangle_region(1, 1, 9, 9), RegionKind::rectangle);
    const int clears = host.saved_region_clears;
    sheet.press_back();
    EXPECT_EQ(sheet.current_page(), type);
    EXPECT_GT(host.saved_region_clears, clears);
    sheet.press_next();
    EXPECT_EQ(wizard.single_page().status_text(), "No Region Selected");
    EXPECT_FALSE(sheet.next_enabled());
}

TEST_F(Wizard, AMaskFileMakesThePageValidWithoutADrawnRegion) {
    wizard.on_kind_chosen(AnalysisKind::multiple_regions);
    sheet.press_next();
    RegionPage& page = wizard.a_page();
    draw(page, rectangle_region(1, 1, 9, 9), RegionKind::rectangle);
    page.on_source(RegionSource::from_mask_file);
    EXPECT_TRUE(page.mask_controls_enabled());
    EXPECT_TRUE(page.tool_list_enabled());  // Region A keeps its list
    EXPECT_FALSE(sheet.next_enabled());     // no file yet
    host.scripted.file_answers.push_back({3, host.cache.str() + "/mask.bmp"});
    page.on_browse();
    const FileDialogRequest& request = host.scripted.file_requests.back();
    EXPECT_EQ(request.title, "Open Mask File");
    EXPECT_EQ(request.filters.size(), 4u);
    EXPECT_EQ(request.owner, Owner::dialog);
    EXPECT_EQ(wizard.region_a.mask_file, host.cache.str() + "/mask.bmp");
    EXPECT_EQ(wizard.region_a.mask_type, 3);
    EXPECT_EQ(page.file_label(), "mask.bmp");
    EXPECT_FALSE(page.region().geometry.has_rectangle());
    EXPECT_TRUE(sheet.next_enabled());
    // A cancelled Browse keeps the file and its type.
    page.on_browse();
    EXPECT_EQ(wizard.region_a.mask_type, 3);
    EXPECT_EQ(wizard.region_a.mask_file, host.cache.str() + "/mask.bmp");
    // Region B's record is its own.
    EXPECT_EQ(wizard.region_b.mask_type, 0);
}

TEST_F(Wizard, AMaskPathTheShellWouldMisreadIsRefused) {
    to_single_region_page();
    RegionPage& page = wizard.single_page();
    page.on_source(RegionSource::from_mask_file);
    host.scripted.file_answers.push_back({1, "/tmp/my masks/a.hdr"});
    page.on_browse();
    ASSERT_EQ(host.scripted.messages.size(), 1u);
    EXPECT_EQ(host.scripted.messages[0].text, "File path cannot contain spaces");
    EXPECT_EQ(host.scripted.messages[0].caption, "Path Error");
    EXPECT_EQ(host.scripted.messages[0].icon, MessageIcon::error);
    EXPECT_EQ(host.scripted.messages[0].owner, Owner::dialog);
    EXPECT_TRUE(wizard.main.mask_file.empty());
    EXPECT_FALSE(sheet.next_enabled());
}

TEST_F(Wizard, FinishReleasesTheResultsAndTheRegions) {
    to_single_region_page();
    draw(wizard.single_page(), rectangle_region(1, 1, 9, 9), RegionKind::rectangle);
    sheet.press_next();
    sheet.press_next();
    ASSERT_GT(wizard.results().single().count(), 0);
    sheet.press_finish();
    EXPECT_TRUE(sheet.closed());
    EXPECT_EQ(sheet.result(), 1);
    EXPECT_EQ(wizard.results().single().count(), 0);
    EXPECT_FALSE(wizard.single_page().has_valid_region());
    EXPECT_TRUE(host.main_window);
}

TEST_F(Wizard, CancelOnAnyPageGivesTheMainWindowBack) {
    to_single_region_page();
    sheet.press_cancel();
    EXPECT_TRUE(sheet.closed());
    EXPECT_EQ(sheet.result(), 0);
    EXPECT_TRUE(host.main_window);
}

TEST(UnsignedFieldValue, TakesTheWholePartOfAPositiveNumber) {
    EXPECT_EQ(unsigned_field_value(10.9f), 10u);
    EXPECT_EQ(unsigned_field_value(-3), 0u);
    EXPECT_EQ(unsigned_field_value(0.5f), 0u);
    EXPECT_EQ(unsigned_field_value(1e12f), 4294967295u);
}

}  // namespace
