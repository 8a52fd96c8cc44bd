// The results page: mask-file regions sampled from a masked scratch copy
// while the working copy stays as it was, a mask that cannot be applied, the
// view switch, and Save... with its single question about existing reports.

#include <gtest/gtest.h>

#include <filesystem>

#include "analysis/analysis_ids.h"
#include "analysis/analysis_wizard.h"
#include "common/text_file.h"
#include "fake_analysis_host.h"
#include "glare_pictures.h"
#include "picture/rgbe_reader.h"
#include "support/formula_pictures.h"
#include "support/regions.h"

namespace {

namespace fs = std::filesystem;
using namespace analysis_pages;

// A 40 x 30 grey picture whose brightness grows to the right and down.
void write_picture(const std::string& path) {
    ASSERT_TRUE(
        write_grey_picture(path, 40, 30, [](int x, int y) { return 0.01f * static_cast<float>(1 + x + 40 * y); }));
}

// White on the left twelve columns, black elsewhere.
void write_mask(const std::string& path) {
    ASSERT_TRUE(write_grey_picture(path, 40, 30, [](int x, int) { return x < 12 ? 1.0f : 0.0f; }));
}

class ResultsPageTest : public ::testing::Test {
protected:
    void SetUp() override {
        working_copy = host.cache.str() + "/dtemp.hdr";
        write_picture(working_copy);
        write_mask((masks / "left.hdr").string());
        host.map = load_luminance_map(working_copy).value();
        original = read_file(working_copy);
        wizard.start();
    }
    void choose_mask(RegionPage& page, const std::string& file, int type) {
        page.on_source(RegionSource::from_mask_file);
        host.scripted.file_answers.push_back({type, file});
        page.on_browse();
    }
    void draw(RegionPage& page, const Region& region) {
        page.on_click_to_select();
        wizard.region_selected(region, page.status_label());
    }
    void single_region_to_results() {
        sheet.press_next();  // 109 -> 110
        sheet.press_next();  // 110 -> 113
        ASSERT_EQ(sheet.current_page(), results);
    }

    FakeAnalysisHost host;
    TempFolder masks;
    TempFolder reports;
    std::string working_copy;
    std::string original;
    AnalysisWizard wizard{host, host};
    WizardSheet& sheet = wizard.sheet();
};

TEST_F(ResultsPageTest, AMaskRegionIsSampledFromAMaskedCopyAndTheWorkingCopyStays) {
    sheet.press_next();
    choose_mask(wizard.single_page(), (masks / "left.hdr").string(), 1);
    single_region_to_results();
    const RegionAnalysis& single = wizard.results().single();
    EXPECT_EQ(single.count(), 12 * 30);
    for (const SamplePosition& p : single.statistics.positions) EXPECT_LT(p.x, 12u);
    EXPECT_TRUE(host.scripted.messages.empty());
    EXPECT_EQ(read_file(working_copy), original);
    EXPECT_FALSE(fs::exists(host.cache / "dmask_single.hdr"));
    // The reports call it Unknown.
    host.scripted.file_answers.push_back({1, reports.str() + "/masked.csv"});
    wizard.results().on_save();
    EXPECT_EQ((*read_text_lines(reports / "masked_stats.csv"))[1], "TYPE,Unknown");
}

TEST_F(ResultsPageTest, AMaskThatCannotBeAppliedStopsTheAnalysisWithTheProgramsMessage) {
    sheet.press_next();
    choose_mask(wizard.single_page(), (masks / "missing.hdr").string(), 1);
    single_region_to_results();
    EXPECT_FALSE(wizard.results().completed());
    EXPECT_EQ(wizard.results().single().count(), 0);
    ASSERT_EQ(host.scripted.messages.size(), 1u);
    EXPECT_EQ(host.scripted.messages[0].caption, "Radiance Process Error!");
    EXPECT_NE(host.scripted.messages[0].text.find("missing.hdr"), std::string::npos);
    EXPECT_EQ(read_file(working_copy), original);
}

TEST_F(ResultsPageTest, WholePictureTakesEveryPixelOfTheScene) {
    sheet.press_next();
    RegionPage& page = wizard.single_page();
    // A mask chosen first gives way, as it does to a drawn region.
    choose_mask(page, (masks / "left.hdr").string(), 1);
    page.on_whole_picture();
    EXPECT_EQ(page.source(), RegionSource::from_image);
    EXPECT_TRUE(wizard.main.mask_file.empty());
    EXPECT_EQ(page.file_label(), no_file_text);
    EXPECT_EQ(page.status_text(), valid_region_text);
    EXPECT_TRUE(sheet.next_enabled());
    single_region_to_results();
    const RegionStatistics& s = wizard.results().single().statistics;
    EXPECT_EQ(wizard.results().single().count(), 40 * 30);
    EXPECT_EQ(s.positions.back(), (SamplePosition{39, 29}));
    EXPECT_NEAR(s.maximum, host.map.at(39, 29), 1e-3);
}

TEST_F(ResultsPageTest, WholePictureServesAsRegionAOrB) {
    wizard.on_kind_chosen(AnalysisKind::multiple_regions);
    sheet.press_next();
    wizard.a_page().on_whole_picture();
    sheet.press_next();
    draw(wizard.b_page(), rectangle_region(20, 10, 30, 20));
    sheet.press_next();
    sheet.press_next();
    ASSERT_EQ(sheet.current_page(), results);
    EXPECT_EQ(wizard.results().a().count(), 40 * 30);
    EXPECT_EQ(wizard.results().b().count(), 100);
}

TEST_F(ResultsPageTest, AStoppedAnalysisHasNothingToSave) {
    sheet.press_next();
    choose_mask(wizard.single_page(), (masks / "missing.hdr").string(), 1);
    single_region_to_results();
    EXPECT_FALSE(wizard.results().save_enabled());
    // Save... asks nothing and writes no all-zero reports.
    host.scripted.file_answers.push_back({1, reports.str() + "/stopped.csv"});
    wizard.results().on_save();
    ASSERT_EQ(host.scripted.file_answers.size(), 1u);
    host.scripted.file_answers.clear();
    EXPECT_FALSE(fs::exists(reports / "stopped_stats.csv"));
    // A completed analysis can be saved.
    sheet.press_back();
    sheet.press_next();
    choose_mask(wizard.single_page(), (masks / "left.hdr").string(), 1);
    single_region_to_results();
    EXPECT_TRUE(wizard.results().save_enabled());
    host.scripted.file_answers.push_back({1, reports.str() + "/stopped.csv"});
    wizard.results().on_save();
    EXPECT_TRUE(fs::exists(reports / "stopped_stats.csv"));
}

TEST_F(ResultsPageTest, RegionAMaskedAndRegionBDrawnEachKeepTheirOwnSource) {
    wizard.on_kind_chosen(AnalysisKind::multiple_regions);
    sheet.press_next();
    choose_mask(wizard.a_page(), (masks / "left.hdr").string(), 2);
    sheet.press_next();
    draw(wizard.b_page(), rectangle_region(20, 10, 30, 20));
    sheet.press_next();
    sheet.press_next();
    ASSERT_EQ(sheet.current_page(), results);
    const ResultsPage& page = wizard.results();
    EXPECT_EQ(page.a().count(), 12 * 30);
    EXPECT_EQ(page.b().count(), 100);
    // B is sampled from the picture itself, not from A's masked copy.
    EXPECT_EQ(page.b().statistics.positions.front(), (SamplePosition{20, 10}));
    EXPECT_NEAR(page.b().statistics.minimum, host.map.at(20, 10), 1e-3);
    EXPECT_EQ(read_file(working_copy), original);
}

TEST_F(ResultsPageTest, TheViewButtonsSwitchWhatIsShown) {
    wizard.on_kind_chosen(AnalysisKind::multiple_regions);
    sheet.press_next();
    draw(wizard.a_page(), rectangle_region(0, 0, 10, 10));
    sheet.press_next();
    draw(wizard.b_page(), rectangle_region(20, 10, 30, 20));
    sheet.press_next();
    sheet.press_next();
    ResultsPage& page = wizard.results();
    EXPECT_FALSE(page.lines().axis_labels_shown);
    EXPECT_TRUE(page.picture(256, 100).bars.empty());
    page.on_view(ResultView::region_a);
    EXPECT_EQ(page.picture(256, 100).colour, BarColour::purple);
    EXPECT_FALSE(page.picture(256, 100).bars.empty());
    EXPECT_TRUE(page.lines().axis_labels_shown);
    page.on_view(ResultView::region_b);
    EXPECT_EQ(page.picture(256, 100).colour, BarColour::olive);
    // Coming back to the page starts again on the ratio.
    sheet.press_back();
    EXPECT_EQ(sheet.current_page(), type);
}

TEST_F(ResultsPageTest, SaveWritesTheThreeReportsUnderTheChosenBaseName) {
    sheet.press_next();
    draw(wizard.single_page(), rectangle_region(2, 2, 5, 4));
    single_region_to_results();
    host.scripted.file_answers.push_back({1, reports.str() + "/office.csv"});
    wizard.results().on_save();
    const FileDialogRequest& request = host.scripted.file_requests.back();
    EXPECT_EQ(request.title, "Save Statistics as");
    EXPECT_EQ(request.kind, FileDialogRequest::Kind::save);
    ASSERT_EQ(request.filters.size(), 1u);
    EXPECT_EQ(request.filters[0].label, "Comma Separated Value");
    EXPECT_EQ(request.filters[0].pattern, "*.csv;");
    EXPECT_EQ(request.owner, Owner::dialog);
    EXPECT_TRUE(host.scripted.questions.empty());
    EXPECT_EQ(read_text_lines(reports / "office_stats.csv")->size(), 7u);
    EXPECT_EQ(read_text_lines(reports / "office_hist.csv")->size(), 258u);
    EXPECT_EQ(read_text_lines(reports / "office_region.csv")->size(), 3u + 6u);
    EXPECT_FALSE(fs::exists(reports / "office.csv"));
}

TEST_F(ResultsPageTest, ExistingReportsAreReplacedOnlyAfterOneQuestion) {
    sheet.press_next();
    draw(wizard.single_page(), rectangle_region(2, 2, 5, 4));
    single_region_to_results();
    write_file(reports / "office_hist.csv", "keep me\r\n");
    host.scripted.file_answers.push_back({1, reports.str() + "/office.csv"});
    host.scripted.yes_no_answers.push_back(false);
    wizard.results().on_save();
    ASSERT_EQ(host.scripted.questions.size(), 1u);
    EXPECT_EQ(host.scripted.questions[0].text, "office_hist.csv already exists.\nDo you want to replace it?");
    EXPECT_EQ(host.scripted.questions[0].caption, "Save Statistics as");
    EXPECT_EQ(read_file(reports / "office_hist.csv"), "keep me\r\n");
    EXPECT_FALSE(fs::exists(reports / "office_stats.csv"));

    host.scripted.file_answers.push_back({1, reports.str() + "/office"});
    host.scripted.yes_no_answers.push_back(true);
    wizard.results().on_save();
    EXPECT_EQ(host.scripted.questions.size(), 2u);
    EXPECT_EQ(read_text_lines(reports / "office_hist.csv")->size(), 258u);
    EXPECT_TRUE(fs::exists(reports / "office_stats.csv"));
    EXPECT_FALSE(host.scripted.busy);
}

TEST_F(ResultsPageTest, ACancelledSaveWritesNothing) {
    sheet.press_next();
    draw(wizard.single_page(), rectangle_region(2, 2, 5, 4));
    single_region_to_results();
    wizard.results().on_save();
    EXPECT_TRUE(fs::is_empty(reports.path()));
    EXPECT_TRUE(host.scripted.questions.empty());
}

}  // namespace

TEST_F(ResultsPageTest, AFisheyeGetsItsLensFiguresTheWeightingSwitchAndTheClippedSentence) {
    // A 180° hemispherical fisheye: 100 cd/m² with a clipped 5 × 5 sun in
    // the upper half; the corners are no scene.
    write_glare_picture(working_copy, 60, 60, "VIEW= -vth -vh 180 -vv 180", [](int x, int row) {
        return x >= 28 && x < 33 && row >= 10 && row < 15 ? 50000.0f : 100.0f;
    });
    host.map = load_luminance_map(working_copy).value();
    sheet.press_next();
    wizard.single_page().on_whole_picture();
    single_region_to_results();
    ResultsPage& page = wizard.results();
    const RegionAnalysis& single = page.single();
    ASSERT_TRUE(single.lens.has_view);
    EXPECT_EQ(single.count(), 3600);
    EXPECT_LT(single.lens.count_in_view, 3000);
    EXPECT_NEAR(single.lens.solid_angle, 2 * 3.14159265, 2 * 3.14159265 * 0.006);
    EXPECT_EQ(single.lens.ceiling_pixels, 25);
    EXPECT_EQ(page.overflow().rfind("The brightest 25 pixels (", 0), 0u) << page.overflow();
    const auto lines = page.lens_lines();
    ASSERT_GE(lines.size(), 6u);
    EXPECT_EQ(lines[0].caption, "Pixels in view:");
    EXPECT_EQ(lines[1].caption, "Solid angle:");

    // The weighting moves the mean to the weighted mean, and back exactly.
    const float plain_mean = single.statistics.mean, plain_median = single.statistics.median;
    page.on_weighting(true);
    EXPECT_TRUE(page.weighted());
    EXPECT_NEAR(single.statistics.mean, single.lens.weighted_mean, single.lens.weighted_mean * 1e-6);
    EXPECT_NE(single.statistics.mean, plain_mean);
    page.on_weighting(false);
    EXPECT_EQ(single.statistics.mean, plain_mean);
    EXPECT_EQ(single.statistics.median, plain_median);

    // The fourth report holds them.
    host.scripted.file_answers.push_back({1, reports.str() + "/fish.csv"});
    page.on_save();
    const auto geometry = read_text_lines(reports / "fish_geometry.csv");
    ASSERT_TRUE(geometry);
    EXPECT_EQ((*geometry)[1].rfind("VIEW,-vth ", 0), 0u);
    EXPECT_EQ((*geometry)[8].rfind("CLIPPED PIXELS,25,", 0), 0u);
}

TEST_F(ResultsPageTest, APictureWithoutAClippedPatchHasNoSentence) {
    // One bright pixel is no clipped patch. (The smooth ramp of the other
    // tests is: its brightest seven pixels lie within 1 % of its largest.)
    write_glare_picture(working_copy, 40, 30, "", [](int x, int row) { return x == 20 && row == 10 ? 900.0f : 10.0f + x; });
    host.map = load_luminance_map(working_copy).value();
    sheet.press_next();
    wizard.single_page().on_whole_picture();
    single_region_to_results();
    EXPECT_EQ(wizard.results().overflow(), "");
    EXPECT_FALSE(wizard.results().single().lens.has_view);
    ASSERT_EQ(wizard.results().lens_lines().size(), 2u);
    EXPECT_EQ(wizard.results().lens_lines()[0].caption, "View:");
    EXPECT_EQ(wizard.results().lens_lines()[0].value, "none in the picture's header");
}
