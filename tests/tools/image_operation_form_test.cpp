// The Image Operations dialog: its operators, the operand paths it keeps
// and shows again, and what it refuses.

#include <gtest/gtest.h>

#include "support/scripted_desktop.h"
#include "tools/image_operation_form.h"

namespace {

class ImageOperationFormTest : public ::testing::Test {
protected:
    ScriptedDesktop desktop;
    ImageOperandPaths kept;
    ImageOperation operation;
};

TEST_F(ImageOperationFormTest, OffersFourOperatorsWithMinusSelected) {
    ImageOperationForm form(desktop, kept, operation);
    form.on_open();
    EXPECT_EQ(ImageOperationForm::operators(), (std::vector<std::string>{"+", "-", "*", "/"}));
    EXPECT_EQ(form.operator_index, 1);
    EXPECT_EQ(form.a_text, "");
}

TEST_F(ImageOperationFormTest, OkBeforeChoosingBAsksForAllValues) {
    ImageOperationForm form(desktop, kept, operation);
    form.on_open();
    desktop.file_answers.push_back({1, "/p/a.hdr"});
    form.on_browse_a();
    EXPECT_EQ(form.on_ok(), std::nullopt);
    ASSERT_EQ(desktop.messages.size(), 1u);
    EXPECT_EQ(desktop.messages[0].text, "Please enter all values.");
    EXPECT_EQ(desktop.messages[0].caption, "Input Error");
    EXPECT_EQ(desktop.messages[0].icon, MessageIcon::warning);
    EXPECT_EQ(operation.a, "");
}

TEST_F(ImageOperationFormTest, BrowseUsesTheOpenImageDialogOwnedByTheDialog) {
    ImageOperationForm form(desktop, kept, operation);
    form.on_open();
    desktop.file_answers.push_back({2, "/p/b.pic"});
    form.on_browse_b();
    ASSERT_EQ(desktop.file_requests.size(), 1u);
    EXPECT_EQ(desktop.file_requests[0].title, "Open Image");
    EXPECT_EQ(desktop.file_requests[0].owner, Owner::dialog);
    ASSERT_EQ(desktop.file_requests[0].filters.size(), 2u);
    EXPECT_EQ(desktop.file_requests[0].filters[0].pattern, "*.hdr;");
    EXPECT_EQ(form.b_text, "/p/b.pic");
    EXPECT_EQ(kept.b, "/p/b.pic");
}

TEST_F(ImageOperationFormTest, RefusesAPathTheShellWouldMisreadAndKeepsTheEarlierOne) {
    ImageOperationForm form(desktop, kept, operation);
    form.on_open();
    desktop.file_answers.push_back({1, "/p/a.hdr"});
    form.on_browse_a();
    for (const char* path : {"/my pictures/a.hdr", "/p/a;rm.hdr", "/p/$HOME.hdr"}) {
        desktop.messages.clear();
        desktop.file_answers.push_back({1, path});
        form.on_browse_a();
        ASSERT_EQ(desktop.messages.size(), 1u) << path;
        EXPECT_EQ(desktop.messages[0].text, "File path cannot contain spaces");
        EXPECT_EQ(desktop.messages[0].caption, "Path Error");
        EXPECT_EQ(desktop.messages[0].icon, MessageIcon::error);
        EXPECT_EQ(desktop.messages[0].owner, Owner::dialog);
        EXPECT_EQ(form.a_text, "/p/a.hdr");
        EXPECT_EQ(kept.a, "/p/a.hdr");
    }
    form.on_browse_a();  // cancelled
    EXPECT_EQ(kept.a, "/p/a.hdr");
}

TEST_F(ImageOperationFormTest, OkStoresTheOperationAndTheNextOpeningShowsThePaths) {
    {
        ImageOperationForm form(desktop, kept, operation);
        form.on_open();
        desktop.file_answers.push_back({1, "/p/a.hdr"});
        desktop.file_answers.push_back({1, "/p/b.hdr"});
        form.on_browse_a();
        form.on_browse_b();
        form.operator_index = 2;
        EXPECT_EQ(form.on_ok(), 1);
    }
    EXPECT_EQ(operation.a, "/p/a.hdr");
    EXPECT_EQ(operation.b, "/p/b.hdr");
    EXPECT_EQ(operation.op, "*");
    ImageOperationForm again(desktop, kept, operation);
    again.on_open();
    EXPECT_EQ(again.a_text, "/p/a.hdr");
    EXPECT_EQ(again.b_text, "/p/b.hdr");
    EXPECT_EQ(again.operator_index, 1);
    EXPECT_EQ(again.on_ok(), 1);
    EXPECT_EQ(operation.op, "-");
}

}  // namespace
