// The projection's command line and size limits, and the Projections
// dialog's rules.

#include <gtest/gtest.h>

#include "support/scripted_desktop.h"
#include "tools/projection.h"
#include "tools/projection_form.h"

namespace {

TEST(ProjectionCommand, NamesThePictureAsViewFileAndInputWithTwoBlanksAfterVth) {
    EXPECT_EQ(projection_command("/c/dtemp.hdr", 1000, 1000, "/c/dtempo.hdr"),
              "/C pinterp  -vf /c/dtemp.hdr -vth  -x 1000 -y 1000 -ff /c/dtemp.hdr 1 > /c/dtempo.hdr");
    EXPECT_EQ(projection_command("/c/header", 2000, 2000, "/c/dtempo.hdr"),
              "/C pinterp  -vf /c/header -vth  -x 2000 -y 2000 -ff /c/header 1 > /c/dtempo.hdr");
}

TEST(ProjectionSize, AtLeastOnePixelEachWayAndNoMoreThanTheLimitInThePictureWritten) {
    EXPECT_EQ(projection_size_problem(1, 1), "");
    EXPECT_EQ(projection_size_problem(16384, 16384), "");
    EXPECT_NE(projection_size_problem(16385, 16385), "");
    // The picture is square: 20000 x 15000 writes 15000 x 15000, within the limit.
    EXPECT_EQ(projection_size_problem(20000, 15000), "");
    EXPECT_EQ(projection_size_problem(16385, 16384), "");
    EXPECT_NE(projection_size_problem(0, 100), "");
    EXPECT_NE(projection_size_problem(100, 0), "");
    EXPECT_NE(projection_size_problem(4294967295u, 4294967295u), "");
    EXPECT_NE(projection_size_problem(max_projection_pixels + 1, 1), "");
}

class ProjectionFormTest : public ::testing::Test {
protected:
    ScriptedDesktop desktop;
    ProjectionChoice choice{0, true, 5, 5};
    ProjectionForm form{desktop, choice, 1000, 1000};
};

TEST_F(ProjectionFormTest, OpensWithThePictureSizeDisabledAndTheOneChoice) {
    form.on_open();
    EXPECT_TRUE(form.fisheye_checked);
    EXPECT_FALSE(form.anti_alias_checked);
    EXPECT_FALSE(form.size_enabled);
    EXPECT_EQ(form.width_text, "1000");
    EXPECT_EQ(form.height_text, "1000");
    EXPECT_EQ(choice.choice, projection_angular_to_hemispherical);
    EXPECT_FALSE(choice.anti_alias);
}

TEST_F(ProjectionFormTest, WithoutAntiAliasThePicturesSizeIsUsed) {
    form.on_open();
    form.width_text = "2000";  // disabled fields do not count
    EXPECT_EQ(form.on_ok(), 1);
    EXPECT_EQ(choice.width, 1000u);
    EXPECT_EQ(choice.height, 1000u);
    EXPECT_FALSE(choice.anti_alias);
}

TEST_F(ProjectionFormTest, AntiAliasEnablesTheSizeAndTakesIt) {
    form.on_open();
    form.on_anti_alias_clicked(true);
    EXPECT_TRUE(form.size_enabled);
    EXPECT_TRUE(choice.anti_alias);
    form.width_text = "2000";
    form.height_text = "2000";
    EXPECT_EQ(form.on_ok(), 1);
    EXPECT_EQ(choice.width, 2000u);
    EXPECT_EQ(choice.height, 2000u);
    form.on_anti_alias_clicked(false);
    EXPECT_FALSE(form.size_enabled);
}

TEST_F(ProjectionFormTest, RefusesAZeroOrTooLargeSizeAndStaysOpen) {
    form.on_open();
    form.on_anti_alias_clicked(true);
    for (auto [x, y] : {std::pair{"0", "1000"}, std::pair{"1000", ""}, std::pair{"100000", "100000"},
                        std::pair{"268435457", "10"}}) {
        desktop.messages.clear();
        form.width_text = x;
        form.height_text = y;
        EXPECT_EQ(form.on_ok(), std::nullopt) << x << " x " << y;
        ASSERT_EQ(desktop.messages.size(), 1u);
        EXPECT_EQ(desktop.messages[0].caption, "Input Error");
        EXPECT_EQ(desktop.messages[0].owner, Owner::dialog);
    }
}

}  // namespace
