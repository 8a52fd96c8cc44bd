// File > Assemble HDR...: the form behind the dialog, and the command that
// opens it and opens its result.

#include <gtest/gtest.h>

#include <filesystem>

#include "app/application.h"
#include "app/commands.h"
#include "assembly/assembly_form.h"
#include "assembly/scripted_assembly_desktop.h"
#include "assembly/simulated_series.h"
#include "support/test_pictures.h"
#include "support/scripted_desktop.h"
#include "support/temp_folder.h"

namespace {

class AssemblyFormTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        folder_ = new TempFolder;
        write_hdr_scene(*folder_ / "scene.hdr");
        // Taken longest first, so that the table must sort them.
        series_ = photograph_series(*folder_ / "scene.hdr", "srgb", *folder_ / "series", {0x48, 0x58, 0x68, 0x78});
    }
    static void TearDownTestSuite() { delete folder_; }

    static TempFolder* folder_;
    static std::vector<std::string> series_;
    TempFolder work;
    ScriptedAssemblyDesktop desktop;
    std::vector<std::string> opened;
    AssemblyForm form{desktop, [this](const std::string& path) { opened.push_back(path); }};
};

TempFolder* AssemblyFormTest::folder_ = nullptr;
std::vector<std::string> AssemblyFormTest::series_;

TEST_F(AssemblyFormTest, ChosenPicturesShowTheirExposuresShortestFirst) {
    ASSERT_EQ(series_.size(), 4u);
    desktop.picture_answers.push_back(series_);
    form.on_add_pictures();
    ASSERT_EQ(form.rows.size(), 4u);
    EXPECT_EQ(form.rows[0].path, series_[3]);
    EXPECT_EQ(form.rows[0].time, "1/256");
    EXPECT_EQ(form.rows[0].f_number, "8");
    EXPECT_EQ(form.rows[0].iso, "100");
    EXPECT_EQ(form.rows[3].time, "1/4");
    EXPECT_EQ(form.status, "4 pictures");
    EXPECT_TRUE(desktop.messages.empty());
}

TEST_F(AssemblyFormTest, AssemblesWithProgressReportsAndOpensTheResult) {
    desktop.picture_answers.push_back(series_);
    form.on_add_pictures();
    const std::string output = (work / "room.hdr").string();
    desktop.output_answers.push_back(output);
    ASSERT_TRUE(form.on_assemble());
    const std::filesystem::path first(series_[3]);
    ASSERT_EQ(desktop.suggested_outputs.size(), 1u);
    EXPECT_EQ(desktop.suggested_outputs[0], (first.parent_path() / first.stem()).string() + ".hdr");
    EXPECT_GE(desktop.progress.size(), 3u);
    EXPECT_EQ(desktop.progress.back(), 1.0);
    EXPECT_EQ(opened, std::vector<std::string>{output});
    EXPECT_EQ(form.status.rfind("room.hdr: 360 x 240, response residual ", 0), 0u) << form.status;
    EXPECT_NE(form.status.find(", saturated "), std::string::npos);
    EXPECT_TRUE(std::filesystem::exists(output));
}

TEST_F(AssemblyFormTest, CorrectedExposuresAreUsedAndBadOnesRefused) {
    write_test_jpeg(work / "plain.jpg", 360, 240, [](int x, int, int) { return x % 200 + 20; });
    desktop.picture_answers.push_back({series_[0], (work / "plain.jpg").string()});
    form.on_add_pictures();
    ASSERT_EQ(form.rows.size(), 2u);
    EXPECT_EQ(form.rows[0].time, "");  // no EXIF: sorted first, to be typed in
    EXPECT_EQ(form.status, "2 pictures; 1 without an exposure time: type it in");
    desktop.output_answers.push_back((work / "x.hdr").string());
    EXPECT_FALSE(form.on_assemble());
    ASSERT_EQ(desktop.messages.size(), 1u);
    EXPECT_EQ(desktop.messages[0].first,
              "plain.jpg: the exposure time must be such as 1/250, 0.5 or 2, and the f-number and ISO positive "
              "numbers (or empty)");
    EXPECT_TRUE(desktop.suggested_outputs.empty());
    form.on_edit(0, assembly_column::time, "1/1000");
    form.on_edit(0, assembly_column::f_number, "abc");
    EXPECT_FALSE(form.on_assemble());
    EXPECT_EQ(desktop.messages.size(), 2u);
    form.on_edit(0, assembly_column::f_number, "8");
    form.on_edit(0, assembly_column::iso, "100");
    form.on_remove(1);
    EXPECT_FALSE(form.on_assemble());
    EXPECT_EQ(desktop.messages.back().first,
              "Choose two pictures or more of one scene, taken at different exposures.");
}

TEST_F(AssemblyFormTest, CancelLeavesNothingAndSaysSo) {
    desktop.picture_answers.push_back(series_);
    form.on_add_pictures();
    const std::string output = (work / "room.hdr").string();
    desktop.output_answers.push_back(output);
    desktop.cancel_after = 2;
    EXPECT_FALSE(form.on_assemble());
    EXPECT_EQ(form.status, "Cancelled: nothing written");
    EXPECT_FALSE(std::filesystem::exists(output));
    EXPECT_TRUE(opened.empty());
    EXPECT_TRUE(desktop.messages.empty());
}

TEST_F(AssemblyFormTest, AFailedRunIsShownAndNothingOpens) {
    write_test_jpeg(work / "small.jpg", 36, 24, [](int, int, int) { return 100; });
    desktop.picture_answers.push_back({series_[0], (work / "small.jpg").string()});
    form.on_add_pictures();
    form.on_edit(0, assembly_column::time, "1/100");
    desktop.output_answers.push_back((work / "x.hdr").string());
    EXPECT_FALSE(form.on_assemble());
    ASSERT_EQ(desktop.messages.size(), 1u);
    EXPECT_NE(desktop.messages[0].first.find("the pictures of a series must have one size"), std::string::npos);
    EXPECT_EQ(desktop.messages[0].second, MessageIcon::error);
    EXPECT_TRUE(opened.empty());
}

TEST(AssembleHdrCommand, OpensTheDialogAndItsResultOpensInTheWindow) {
    TempFolder appdata, folder;
    write_hdr_scene(folder / "scene.hdr");
    const auto series = photograph_series(folder / "scene.hdr", "srgb", folder / "series", {0x78, 0x68, 0x58});
    ScriptedDesktop desktop;
    ScriptedAssemblyDesktop assembly;
    Application application(desktop, PlatformFolders{appdata.str(), appdata.str()}, CANDELUX_PROGRAMS_DIR);
    ASSERT_TRUE(application.on_create());
    application.on_command(command::assemble_hdr);
    EXPECT_EQ(assembly.shown, nullptr);  // no assembly windows: nothing happens
    application.set_assembly_desktop(&assembly);
    application.on_command(command::assemble_hdr);
    ASSERT_NE(assembly.shown, nullptr);
    assembly.picture_answers.push_back(series);
    assembly.shown->on_add_pictures();
    assembly.output_answers.push_back((folder / "room.hdr").string());
    ASSERT_TRUE(assembly.shown->on_assemble());
    EXPECT_TRUE(application.image_loaded());
}

}  // namespace
