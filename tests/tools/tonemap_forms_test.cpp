// The Reinhard and Ward dialogs' rules: defaults, Browse, the OK checks and
// the options handed on.

#include <gtest/gtest.h>

#include "support/scripted_desktop.h"
#include "support/temp_folder.h"
#include "tools/reinhard_form.h"
#include "tools/ward_form.h"

namespace {

class ReinhardFormTest : public ::testing::Test {
protected:
    void SetUp() override { form.on_open(); }
    ScriptedDesktop desktop;
    ReinhardForm form{desktop};
    TempFolder folder;
};

TEST_F(ReinhardFormTest, OpensWithTheDefaultsInTheDialogsFormat) {
    EXPECT_EQ(form.output_text, "");
    EXPECT_FALSE(form.dodging_checked);
    EXPECT_EQ(form.key_text, "0.18");
    EXPECT_EQ(form.white_text, "1e+020");
    EXPECT_EQ(form.gamma_text, "1.6");
    EXPECT_EQ(form.threshold_text, "0.05");
    EXPECT_FLOAT_EQ(form.options().white, 1e20f);
}

TEST_F(ReinhardFormTest, RefusesOkBeforeBrowseAndStaysOpen) {
    EXPECT_FALSE(form.on_ok());
    ASSERT_EQ(desktop.messages.size(), 1u);
    EXPECT_EQ(desktop.messages[0].text, "File path/name cannot contain spaces or be empty");
    EXPECT_EQ(desktop.messages[0].caption, "Path Error");
    EXPECT_EQ(desktop.messages[0].icon, MessageIcon::error);
    EXPECT_EQ(desktop.messages[0].owner, Owner::none);
}

TEST_F(ReinhardFormTest, BrowseAsksForAJpegAndShowsThePathAsChosen) {
    desktop.file_answers.push_back({1, (folder / "tonemapped.jpeg").string()});
    form.on_browse();
    ASSERT_EQ(desktop.file_requests.size(), 1u);
    EXPECT_EQ(desktop.file_requests[0].kind, FileDialogRequest::Kind::save);
    ASSERT_EQ(desktop.file_requests[0].filters.size(), 1u);
    EXPECT_EQ(desktop.file_requests[0].filters[0].label, "JPG Image");
    EXPECT_EQ(desktop.file_requests[0].filters[0].pattern, "*.jpg;");
    EXPECT_EQ(form.output_text, (folder / "tonemapped.jpeg").string());
    EXPECT_EQ(form.output_name(), (folder / "tonemapped.jpeg.jpg").string());
    EXPECT_TRUE(form.on_ok());
    EXPECT_TRUE(desktop.messages.empty());
}

TEST_F(ReinhardFormTest, ACancelledBrowseEmptiesThePathAgain) {
    desktop.file_answers.push_back({1, (folder / "a.jpg").string()});
    form.on_browse();
    form.on_browse();  // cancelled
    EXPECT_EQ(form.output_text, "");
    EXPECT_FALSE(form.on_ok());
}

TEST_F(ReinhardFormTest, BrowseAsksBeforeReplacingTheJpegThatWillBeWritten) {
    write_file(folder / "office.jpg", "earlier");
    desktop.file_answers.push_back({1, (folder / "office").string()});
    desktop.yes_no_answers.push_back(false);
    form.on_browse();
    ASSERT_EQ(desktop.questions.size(), 1u);
    EXPECT_NE(desktop.questions[0].text.find((folder / "office.jpg").string()), std::string::npos);
    EXPECT_EQ(desktop.questions[0].owner, Owner::dialog);
    EXPECT_EQ(form.output_text, "") << "No keeps the file: as if Browse was cancelled";

    desktop.file_answers.push_back({1, (folder / "office").string()});
    desktop.yes_no_answers.push_back(true);
    form.on_browse();
    EXPECT_EQ(form.output_text, (folder / "office").string());
}

TEST_F(ReinhardFormTest, RefusesAPathTheShellWouldInterpret) {
    for (const std::string name : {"a b.jpg", "a&b.jpg", "a(b).jpg"}) {
        desktop.file_answers.push_back({1, (folder / name).string()});
        form.on_browse();
        EXPECT_FALSE(form.on_ok()) << name;
    }
    EXPECT_EQ(desktop.messages.size(), 3u);
    EXPECT_TRUE(desktop.questions.empty());
}

TEST_F(ReinhardFormTest, StoresEveryNumberAndTheDodgingSwitch) {
    form.on_number_changed(reinhard_ids::key, "0.5");
    form.on_number_changed(reinhard_ids::white, "100");
    form.on_number_changed(reinhard_ids::gamma, "2.2");
    form.on_number_changed(reinhard_ids::threshold, "0.1");
    form.dodging_checked = true;
    desktop.file_answers.push_back({1, (folder / "t.jpg").string()});
    form.on_browse();
    ASSERT_TRUE(form.on_ok());
    EXPECT_EQ(reinhard_command("I", form.output_name(), form.options()),
              "/C ReinhardTM -i I -o " + (folder / "t.jpg").string() +
                  " -scale  -key 0.5 -white 100 -gamma 2.2 -threshold 0.1");
    EXPECT_EQ(form.key_text, "0.5");
}

TEST_F(ReinhardFormTest, OpeningAgainForgetsTheLastRun) {
    form.on_number_changed(reinhard_ids::key, "0.9");
    form.dodging_checked = true;
    desktop.file_answers.push_back({1, (folder / "t.jpg").string()});
    form.on_browse();
    form.on_open();
    EXPECT_EQ(form.output_text, "");
    EXPECT_EQ(form.key_text, "0.18");
    EXPECT_FALSE(form.dodging_checked);
    EXPECT_FALSE(form.on_ok());
}

class WardFormTest : public ::testing::Test {
protected:
    void SetUp() override { form.on_open(); }
    ScriptedDesktop desktop;
    WardForm form{desktop};
    TempFolder folder;
};

TEST_F(WardFormTest, OpensWithEverySwitchOffAndTheExposureFieldDisabled) {
    EXPECT_EQ(form.output_text, "");
    for (bool checked : form.switch_checked) EXPECT_FALSE(checked);
    EXPECT_EQ(form.exposure_text, "1");
    EXPECT_FALSE(form.exposure_enabled);
    EXPECT_EQ(ward_option_text(form.options()), " ");
}

TEST_F(WardFormTest, TheLinearResponseAloneEnablesTheExposure) {
    form.on_switch(0, true);
    EXPECT_FALSE(form.exposure_enabled);
    form.on_switch(6, true);
    EXPECT_TRUE(form.exposure_enabled);
    form.on_exposure_changed("2.5");
    EXPECT_EQ(ward_option_text(form.options()), " -h  -l  -e 2.5 ");
    form.on_switch(6, false);
    EXPECT_FALSE(form.exposure_enabled);
    EXPECT_EQ(ward_option_text(form.options()), " -h  ");
}

TEST_F(WardFormTest, AnExposureOfZeroWithTheLinearResponseSendsNoExposure) {
    form.on_switch(6, true);
    form.on_exposure_changed("0");
    EXPECT_EQ(ward_option_text(form.options()), " -l  ");
    form.on_exposure_changed("0.5");
    EXPECT_EQ(ward_option_text(form.options()), " -l  -e 0.5 ");
}

TEST_F(WardFormTest, SendsEachCheckedSwitchInDialogOrder) {
    for (size_t i : {5u, 1u, 3u}) form.on_switch(i, true);
    desktop.file_answers.push_back({1, (folder / "w.jpg").string()});
    form.on_browse();
    ASSERT_TRUE(form.on_ok());
    EXPECT_EQ(ward_option_text(form.options()), " -a  -s  -w  ");
    EXPECT_EQ(form.output_name(), (folder / "w.jpg").string());
}

TEST_F(WardFormTest, RefusesAnEmptyPathWithAMessageOwnedByTheDialog) {
    EXPECT_FALSE(form.on_ok());
    ASSERT_EQ(desktop.messages.size(), 1u);
    EXPECT_EQ(desktop.messages[0].text, "File path/name cannot contain spaces or be empty");
    EXPECT_EQ(desktop.messages[0].caption, "Path Error");
    EXPECT_EQ(desktop.messages[0].owner, Owner::dialog);
}

TEST_F(WardFormTest, RefusesAPathTooLongForTheProgramsBuffers) {
    desktop.file_answers.push_back({1, "/" + std::string(256, 'a')});
    form.on_browse();
    EXPECT_FALSE(form.on_ok());
    ASSERT_EQ(desktop.messages.size(), 1u);
    EXPECT_NE(desktop.messages[0].text.find("too long"), std::string::npos);
}

}  // namespace
