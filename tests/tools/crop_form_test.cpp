// The crop dialog: the rectangle as whole numbers, and the limits a new
// rectangle must keep.

#include <gtest/gtest.h>

#include "support/scripted_desktop.h"
#include "tools/crop_form.h"

namespace {

class CropFormTest : public ::testing::Test {
protected:
    ScriptedDesktop desktop;
    CropRectangle rectangle{110.9f, 80.8f, 10.7f, 20.2f};  // drawn from bottom right to top left
    CropForm form{desktop, rectangle, 400, 300};
};

TEST_F(CropFormTest, OpensWithTheRectangleTruncated) {
    form.on_open();
    EXPECT_EQ(form.left_text, "10");
    EXPECT_EQ(form.top_text, "20");
    EXPECT_EQ(form.width_text, "100");
    EXPECT_EQ(form.height_text, "60");
}

TEST_F(CropFormTest, AcceptsARectangleTouchingTheRightAndBottomEdges) {
    form.on_open();
    form.left_text = "300";
    form.top_text = "200";
    form.width_text = "100";
    form.height_text = "100";
    EXPECT_EQ(form.on_ok(), 1);
    EXPECT_TRUE(desktop.messages.empty());
    EXPECT_EQ(rectangle.x0, 300.0f);
    EXPECT_EQ(rectangle.y0, 200.0f);
    EXPECT_EQ(rectangle.x1, 400.0f);
    EXPECT_EQ(rectangle.y1, 300.0f);
}

TEST_F(CropFormTest, RefusesOnePixelBeyondEitherEdgeAndStaysOpen) {
    form.on_open();
    for (auto [left, top, width, height] : {std::array<const char*, 4>{"300", "200", "101", "100"},
                                            std::array<const char*, 4>{"300", "200", "100", "101"},
                                            std::array<const char*, 4>{"401", "0", "0", "10"},
                                            std::array<const char*, 4>{"0", "0", "401", "10"},
                                            std::array<const char*, 4>{"0", "301", "10", "0"}}) {
        desktop.messages.clear();
        form.left_text = left;
        form.top_text = top;
        form.width_text = width;
        form.height_text = height;
        EXPECT_EQ(form.on_ok(), std::nullopt) << left << " " << top << " " << width << " " << height;
        ASSERT_EQ(desktop.messages.size(), 1u);
        EXPECT_EQ(desktop.messages[0].text, "Invalid Rectangle specification");
        EXPECT_EQ(desktop.messages[0].caption, "Crop Error");
        EXPECT_EQ(desktop.messages[0].icon, MessageIcon::warning);
        EXPECT_EQ(desktop.messages[0].owner, Owner::none);
    }
    EXPECT_EQ(rectangle.x0, 110.9f);
    EXPECT_EQ(rectangle.y1, 20.2f);
}

TEST_F(CropFormTest, RefusesAFieldThatIsNotAWholeNumber) {
    form.on_open();
    form.width_text = "";
    EXPECT_EQ(form.on_ok(), std::nullopt);
    form.width_text = "-5";
    EXPECT_EQ(form.on_ok(), std::nullopt);
    form.width_text = "99999999999";
    EXPECT_EQ(form.on_ok(), std::nullopt);
    EXPECT_EQ(desktop.messages.size(), 3u);
}

}  // namespace
