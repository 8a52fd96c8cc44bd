// The glare pages without a window: where Back and Next lead, each page's
// defaults and rules, the refusals, and the results page's run.

#include <gtest/gtest.h>

#include "analysis/analysis_ids.h"
#include "analysis/analysis_wizard.h"
#include "analysis/glare_command.h"
#include "analysis/glare_ids.h"
#include "fake_analysis_host.h"
#include "glare_pictures.h"
#include "picture/rgbe_reader.h"

namespace {

using namespace glare_page;

class GlarePagesTest : public ::testing::Test {
protected:
    void SetUp() override {
        wizard.start();
        wizard.on_kind_chosen(AnalysisKind::glare);
        sheet.press_next();
    }
    // A fisheye working copy for the run on page 135.
    void open_fisheye(bool with_view = true) {
        const std::string path = (host.cache / "dtemp.hdr").string();
        if (with_view) write_fisheye_with_source(path, 300);
        else write_glare_picture(path, 300, 300, "", [](int, int) { return 800.0f; });
        // The map the window holds of it.
        host.map = load_luminance_map(path).value();
    }
    void next_to(int page) {
        for (int i = 0; i < 8 && sheet.current_page() != page; ++i) sheet.press_next();
        ASSERT_EQ(sheet.current_page(), page);
    }
    bool offers(int flags) const {
        return sheet.back_enabled() == ((flags & wizard_button::back) != 0) &&
               sheet.next_enabled() == ((flags & (wizard_button::next | wizard_button::finish)) != 0) &&
               sheet.finish_offered() == ((flags & wizard_button::finish) != 0);
    }
    const std::string& last_message() const { return host.scripted.messages.back().text; }

    FakeAnalysisHost host;
    AnalysisWizard wizard{host, host};
    WizardSheet& sheet = wizard.sheet();
    GlarePages& glare = wizard.glare();
    const int back_next = wizard_button::back | wizard_button::next;
};

TEST_F(GlarePagesTest, LeadFromPageToPageWithTheirTitles) {
    const std::pair<int, const char*> expected[] = {{intro, "Glare Analysis through Evalglare"},
                                                    {task_area, "Task Area Specification"},
                                                    {field_of_view, "Field of View"},
                                                    {view_types, "View Types"},
                                                    {advanced, "Advanced Options"}};
    for (auto [page, title] : expected) {
        EXPECT_EQ(sheet.current_page(), page);
        EXPECT_EQ(sheet.header_title(), title);
        EXPECT_TRUE(offers(back_next)) << page;
        sheet.press_next();
    }
    // Back names its page, whatever the way in.
    const std::pair<int, int> back[] = {{results, advanced}, {advanced, view_types}, {view_types, field_of_view},
                                        {field_of_view, task_position}, {task_position, intro},
                                        {task_area, analysis_pages::type}, {intro, analysis_pages::type}};
    for (auto [from, to] : back) EXPECT_EQ(glare.on_back(from), to) << from;

    for (int i = 0; i < 4; ++i) sheet.press_back();
    EXPECT_EQ(sheet.current_page(), task_position);
    EXPECT_EQ(sheet.header_title(), "Task Position");
    sheet.press_back();
    sheet.press_next();
    glare.on_task_area(true);
    sheet.press_next();
    EXPECT_EQ(sheet.current_page(), task_position);
}

TEST_F(GlarePagesTest, RunOnceForEachArrivalOnTheResultsPageWithTheDefaults) {
    open_fisheye();
    next_to(results);
    EXPECT_EQ(sheet.header_title(), "Glare Analysis Results");
    const GlareSettings& r = glare.record;
    EXPECT_FALSE(r.task_area);
    EXPECT_EQ(r.guth_cut, 0);
    EXPECT_EQ(r.field_of_view, FieldOfView::total);
    EXPECT_EQ(r.view_mode, GlareViewMode::none);
    EXPECT_EQ(r.view_type, 4);
    EXPECT_FALSE(r.smoothing || r.external_ev || r.search_radius || r.peak_extraction || r.glare_threshold);

    EXPECT_EQ(glare.runs(), 1);
    EXPECT_TRUE(glare.command_line().ends_with(" -x  " + host.cache.str() + "/dtemp.hdr"));
    EXPECT_TRUE(has_glare_result(glare.result_text())) << glare.result_text();
    EXPECT_EQ(host.check_pictures_shown, 1);
    EXPECT_TRUE(offers(wizard_button::back | wizard_button::finish));
    EXPECT_FALSE(host.scripted.busy);
    EXPECT_GE(host.scripted.busy_calls, 2);

    sheet.changed();
    EXPECT_EQ(glare.runs(), 1);
    sheet.press_back();
    sheet.press_next();
    EXPECT_EQ(glare.runs(), 2);
    sheet.press_finish();
    EXPECT_TRUE(sheet.closed());
    EXPECT_TRUE(host.main_window);
}

TEST_F(GlarePagesTest, ShowWhatEvalglareSaidWhenItFails) {
    open_fisheye(false);
    next_to(results);
    EXPECT_NE(glare.command_line(), "");
    EXPECT_NE(glare.result_text().find("no valid view"), std::string::npos);
    EXPECT_EQ(host.scripted.messages.back().caption, "Evalglare Process Error!");
    EXPECT_EQ(host.check_pictures_shown, 0);
    EXPECT_TRUE(offers(wizard_button::back | wizard_button::finish));
}

TEST_F(GlarePagesTest, KeepTheTaskPositionButSendItOnlyForATaskArea) {
    sheet.press_next();
    EXPECT_FALSE(glare.task_area_chosen());
    glare.on_task_area(true);
    sheet.press_next();
    glare.on_task_x(393.7f);
    glare.on_task_y(300);
    glare.on_task_angle(0.6f);
    sheet.press_next();
    EXPECT_EQ(sheet.current_page(), field_of_view);
    EXPECT_EQ(glare.record.task_x, 393);
    EXPECT_EQ(glare.record.task_y, 300);
    EXPECT_FLOAT_EQ(glare.record.task_angle, 0.6f);
    EXPECT_TRUE(glare.record.task_area);

    sheet.press_back();
    sheet.press_back();
    sheet.press_next();
    glare.on_task_area(false);
    sheet.press_next();
    EXPECT_EQ(sheet.current_page(), field_of_view);
    EXPECT_FALSE(glare.record.task_area);
    EXPECT_EQ(glare.record.task_x, 393);
    EXPECT_EQ(glare_option_text(glare.record, glare_scale(786, 786)), " -x ");
}

TEST_F(GlarePagesTest, TakeTheGuthCutAndItsFieldAtNext) {
    next_to(field_of_view);
    EXPECT_FALSE(glare.guth_checked());
    EXPECT_EQ(glare.field_of_view_choice(), FieldOfView::total);
    glare.on_guth(true);
    glare.on_field_of_view(FieldOfView::both_eyes);
    EXPECT_EQ(glare.record.guth_cut, 0);
    sheet.press_next();
    EXPECT_EQ(glare.record.guth_cut, 1);
    EXPECT_EQ(glare.record.field_of_view, FieldOfView::both_eyes);
}

TEST_F(GlarePagesTest, OfferNextOnTheViewPageOnlyForACompleteView) {
    next_to(view_types);
    GlareViewPage& view = glare.view_page();
    EXPECT_EQ(view.mode(), GlareViewMode::none);
    EXPECT_EQ(view.type_choice(), 4);
    EXPECT_FALSE(view.type_controls_enabled() || view.file_controls_enabled());
    EXPECT_EQ(view.file_label(), "No File Selected");

    view.on_mode(GlareViewMode::by_type);
    EXPECT_TRUE(view.type_controls_enabled());
    EXPECT_TRUE(offers(wizard_button::back));
    view.on_vertical(180);
    EXPECT_TRUE(offers(wizard_button::back));
    view.on_horizontal(180);
    EXPECT_TRUE(offers(back_next));
    view.on_horizontal(0);
    sheet.press_back();
    sheet.press_next();
    EXPECT_TRUE(offers(wizard_button::back)) << "a view type without its size came back with Next";

    // By file: Next is offered, but leaving without a file is refused.
    view.on_mode(GlareViewMode::by_file);
    EXPECT_TRUE(view.file_controls_enabled() && !view.type_controls_enabled());
    EXPECT_TRUE(offers(back_next));
    sheet.press_next();
    EXPECT_EQ(sheet.current_page(), view_types);
    EXPECT_EQ(host.scripted.messages.back().caption, "Input Error");

    host.scripted.file_answers.push_back({1, "/tmp/my views/eye.vf"});
    view.on_browse();
    EXPECT_EQ(host.scripted.file_requests.back().title, "Open View File");
    ASSERT_EQ(host.scripted.file_requests.back().filters.size(), 2u);
    EXPECT_EQ(host.scripted.file_requests.back().filters[0].pattern, "*.vf;");
    EXPECT_EQ(host.scripted.file_requests.back().filters[1].pattern, "*.*;");
    EXPECT_EQ(last_message(), "File path cannot contain spaces");
    EXPECT_EQ(host.scripted.messages.back().caption, "Path Error");
    EXPECT_EQ(host.scripted.messages.back().icon, MessageIcon::error);
    EXPECT_TRUE(glare.record.view_file.empty());
    EXPECT_TRUE(offers(wizard_button::back));

    host.scripted.file_answers.push_back({1, "/tmp/views/eye.vf"});
    view.on_browse();
    EXPECT_EQ(view.file_label(), "eye.vf");
    EXPECT_TRUE(offers(back_next));
    sheet.press_next();
    EXPECT_EQ(sheet.current_page(), advanced);
    EXPECT_EQ(glare.record.view_mode, GlareViewMode::by_file);
    EXPECT_EQ(glare.record.view_file, "/tmp/views/eye.vf");
}

TEST_F(GlarePagesTest, RefuseAnIlluminanceOrARadiusOfZero) {
    next_to(advanced);
    glare.advanced.external_ev = true;
    glare.advanced.search_radius = true;
    glare.on_radius(0.3f);
    sheet.press_next();
    EXPECT_EQ(sheet.current_page(), advanced);
    EXPECT_EQ(last_message(), ev_refused_text);
    glare.on_ev(5000);
    glare.on_radius(0);
    sheet.press_next();
    EXPECT_EQ(sheet.current_page(), advanced);
    EXPECT_EQ(last_message(), radius_refused_text);
    EXPECT_FALSE(glare.record.external_ev);

    glare.on_radius(0.3f);
    glare.advanced.peak_extraction = true;
    sheet.press_next();
    EXPECT_EQ(sheet.current_page(), results);
    EXPECT_EQ(glare_option_text(glare.record, glare_scale(786, 786)), " -I 5000 -r 0.3 -y ");
}

}  // namespace

TEST_F(GlarePagesTest, TheResultsTableAndTheClippedSunWithItsLink) {
    open_fisheye();  // its sun is one flat disc: clipped
    next_to(results);
    const auto rows = glare.summary_rows();
    ASSERT_EQ(rows.size(), 8u);
    EXPECT_EQ(rows[0].name, "DGP");
    EXPECT_FALSE(rows[0].comfort.empty());
    EXPECT_EQ(glare.overflow().rfind("The brightest ", 0), 0u) << glare.overflow();
    glare.on_calibration_link();
    EXPECT_EQ(host.calibration_requests, 1);
}

TEST_F(GlarePagesTest, APictureWithoutAClippedPatchHasNoSentence) {
    open_fisheye(false);  // flat: nothing stands out, nothing is clipped
    next_to(results);
    EXPECT_EQ(glare.overflow(), "");
}
