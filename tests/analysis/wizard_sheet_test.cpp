// The wizard sheet: buttons as the pages set them, navigation by template id,
// Finish and Cancel, and one notice to the window per press.

#include <gtest/gtest.h>

#include <vector>

#include "analysis/wizard_sheet.h"

namespace {

// Three pages 10 -> 20 -> 30; 30 offers Finish; Next on 20 can be refused.
class ThreePages : public WizardController {
public:
    explicit ThreePages(WizardSheet& sheet) : sheet_(sheet) {}
    void on_activate(int page) override {
        activations.push_back(page);
        if (page == 10) sheet_.set_buttons(wizard_button::next);
        else if (page == 20) sheet_.set_buttons(wizard_button::back | wizard_button::next);
        else sheet_.set_buttons(wizard_button::back | wizard_button::finish);
    }
    int on_next(int page) override {
        if (page == 20 && refuse) return stay_on_page;
        return page + 10;
    }
    int on_back(int page) override { return page == 30 ? 10 : page - 10; }  // 30 goes back to the start
    bool on_finish(int) override { return ++finishes > 0; }
    void on_cancel(int page) override { cancelled_on = page; }

    std::vector<int> activations;
    bool refuse = false;
    int finishes = 0;
    int cancelled_on = 0;

private:
    WizardSheet& sheet_;
};

class Sheet : public ::testing::Test {
protected:
    WizardSheet sheet{"Test Wizard", {{10, "First"}, {20, "Second"}, {30, "Third"}}};
    ThreePages pages{sheet};
};

TEST_F(Sheet, StartsOnTheFirstPageWithItsButtons) {
    sheet.start(pages);
    EXPECT_EQ(sheet.current_page(), 10);
    EXPECT_EQ(sheet.header_title(), "First");
    EXPECT_EQ(sheet.caption(), "Test Wizard");
    EXPECT_FALSE(sheet.back_enabled());
    EXPECT_TRUE(sheet.next_enabled());
    EXPECT_FALSE(sheet.finish_offered());
    EXPECT_TRUE(sheet.cancel_enabled());
    EXPECT_TRUE(sheet.shown());
    EXPECT_EQ(pages.activations, std::vector<int>{10});
}

TEST_F(Sheet, BackAndNextGoWhereThePageSaysNotWhereItCameFrom) {
    sheet.start(pages);
    sheet.press_next();
    sheet.press_next();
    EXPECT_EQ(sheet.current_page(), 30);
    EXPECT_TRUE(sheet.finish_offered());
    sheet.press_back();
    EXPECT_EQ(sheet.current_page(), 10);
    EXPECT_EQ(pages.activations, (std::vector<int>{10, 20, 30, 10}));
}

TEST_F(Sheet, ARefusedNextStaysAndADisabledButtonDoesNothing) {
    sheet.start(pages);
    sheet.press_back();  // not enabled on the first page
    EXPECT_EQ(sheet.current_page(), 10);
    sheet.press_next();
    pages.refuse = true;
    sheet.press_next();
    EXPECT_EQ(sheet.current_page(), 20);
    sheet.enable_buttons(wizard_button::back);
    pages.refuse = false;
    sheet.press_next();
    EXPECT_EQ(sheet.current_page(), 20);
    EXPECT_FALSE(sheet.cancel_enabled());
    sheet.press_cancel();
    EXPECT_FALSE(sheet.closed());
    sheet.press_finish();  // Finish is not offered here
    EXPECT_FALSE(sheet.closed());
}

TEST_F(Sheet, FinishClosesWithOneAndCancelWithZero) {
    sheet.start(pages);
    sheet.press_next();
    sheet.press_next();
    sheet.press_next();  // Finish stands in Next's place
    EXPECT_FALSE(sheet.closed());
    sheet.press_finish();
    EXPECT_TRUE(sheet.closed());
    EXPECT_EQ(sheet.result(), 1);
    EXPECT_FALSE(sheet.shown());

    WizardSheet other{"Other", {{10, "First"}, {20, "Second"}}};
    ThreePages other_pages{other};
    other.start(other_pages);
    other.press_next();
    other.press_close();
    EXPECT_TRUE(other.closed());
    EXPECT_EQ(other.result(), 0);
    EXPECT_EQ(other_pages.cancelled_on, 20);
}

TEST_F(Sheet, AbandoningClosesEvenWhileCancelIsDisabled) {
    sheet.start(pages);
    sheet.press_next();
    sheet.enable_buttons(0);
    sheet.set_shown(false);
    sheet.abandon();
    EXPECT_TRUE(sheet.closed());
    EXPECT_EQ(sheet.result(), 0);
    EXPECT_EQ(pages.cancelled_on, 20);
}

TEST_F(Sheet, TheWindowHearsOncePerPressAndOncePerPageRequest) {
    int notices = 0;
    sheet.set_observer([&] { ++notices; });
    sheet.start(pages);
    EXPECT_EQ(notices, 1);
    sheet.press_next();
    EXPECT_EQ(notices, 2);
    sheet.set_shown(false);
    EXPECT_EQ(notices, 3);
    EXPECT_FALSE(sheet.shown());
    sheet.set_enabled(false);
    EXPECT_FALSE(sheet.enabled());
    EXPECT_EQ(notices, 4);
}

}  // namespace
