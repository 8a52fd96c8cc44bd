// File > Assemble HDR... with a camera profile chosen: the profiles folder
// offered, the run giving the very picture `candelux-cli assemble --profile`
// gives, and a profile for another camera asked about before it is applied.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>

#include "assembly/assembly_form.h"
#include "assembly/scripted_assembly_desktop.h"
#include "assembly/shot_exposure.h"
#include "assembly/simulated_series.h"
#include "common/text_format.h"
#include "picture/rgbe_reader.h"
#include "profiles/ev_check.h"
#include "profiles/profile_settings.h"
#include "support/cli_in_process.h"
#include "support/temp_folder.h"

namespace fs = std::filesystem;

namespace {

class AssemblyProfileChoice : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        folder_ = new TempFolder;
        write_hdr_scene(*folder_ / "scene.hdr");
        series_ = photograph_series(*folder_ / "scene.hdr", "srgb", *folder_ / "series", {0x48, 0x58, 0x68});
    }
    static void TearDownTestSuite() { delete folder_; }

    void SetUp() override {
        ASSERT_EQ(series_.size(), 3u);
        auto shot = read_shot_exposure(series_[0]);
        ASSERT_TRUE(shot);
        fs::create_directories(profiles);
        CameraProfile nd;
        nd.name = "Lab ND";
        nd.camera = shot.value().camera;
        nd.nd_factor = 10;
        nd.calibration_factor = 1.2;
        ASSERT_TRUE(write_camera_profile((profiles / "nd.cdxprofile").string(), nd));
        CameraProfile other = nd;
        other.name = "Borrowed";
        other.camera = "Another Camera";
        ASSERT_TRUE(write_camera_profile((profiles / "other.cdxprofile").string(), other));
        form = std::make_unique<AssemblyForm>(
            desktop, [this](const std::string& path) { opened.push_back(path); }, profiles.string());
    }

    // Chooses the profile named `name` in the form->
    void choose(const std::string& name) {
        for (size_t i = 0; i < form->profiles.size(); ++i)
            if (form->profiles[i].name == name) form->profile = static_cast<int>(i) + 1;
    }
    bool assemble(const std::string& output) {
        desktop.output_answers.push_back((work / output).string());
        return form->on_assemble();
    }

    static TempFolder* folder_;
    static std::vector<std::string> series_;
    TempFolder work;
    fs::path profiles = work / "profiles";
    ScriptedAssemblyDesktop desktop;
    std::vector<std::string> opened;
    std::unique_ptr<AssemblyForm> form;
};

TempFolder* AssemblyProfileChoice::folder_ = nullptr;
std::vector<std::string> AssemblyProfileChoice::series_;

}  // namespace

TEST_F(AssemblyProfileChoice, OffersTheFolderAndAppliesAsTheCommandLineDoes) {
    ASSERT_EQ(form->profiles.size(), 2u);
    EXPECT_EQ(form->profiles[0].name, "Borrowed");
    EXPECT_EQ(form->profiles[1].name, "Lab ND");
    EXPECT_EQ(form->profile, 0);
    desktop.picture_answers.push_back(series_);
    form->on_add_pictures();
    ASSERT_TRUE(assemble("plain.hdr"));
    choose("Lab ND");
    ASSERT_TRUE(assemble("window.hdr"));
    EXPECT_TRUE(desktop.questions.empty());
    EXPECT_NE(form->status.find(", profile Lab ND"), std::string::npos) << form->status;
    EXPECT_EQ(opened.back(), (work / "window.hdr").string());

    std::vector<std::string> words = {"assemble", (work / "cli.hdr").string(), "--profile",
                                      (profiles / "nd.cdxprofile").string()};
    words.insert(words.end(), series_.begin(), series_.end());
    const CliResult cli_run = cli(words);
    ASSERT_EQ(cli_run.status, 0) << cli_run.err;

    auto plain = load_luminance_map((work / "plain.hdr").string());
    auto window = load_luminance_map((work / "window.hdr").string());
    auto command_line = load_luminance_map((work / "cli.hdr").string());
    ASSERT_TRUE(plain && window && command_line);
    ASSERT_EQ(window.value().width, command_line.value().width);
    ASSERT_EQ(window.value().height, command_line.value().height);
    for (int y = 0; y < window.value().height; y += 7)
        for (int x = 0; x < window.value().width; x += 7)
            ASSERT_EQ(window.value().at(x, y), command_line.value().at(x, y)) << x << ", " << y;
    // ND 10 times calibration 1.2.
    EXPECT_NEAR(window.value().at(100, 100) / plain.value().at(100, 100), 12, 0.01);
    auto header = read_picture_header((work / "window.hdr").string());
    ASSERT_TRUE(header);
    EXPECT_TRUE(std::any_of(header.value().begin(), header.value().end(),
                            [](const std::string& line) { return line.rfind("PROFILE= Lab ND ", 0) == 0; }));
}

TEST_F(AssemblyProfileChoice, AProfileForAnotherCameraIsAskedAbout) {
    desktop.picture_answers.push_back(series_);
    form->on_add_pictures();
    choose("Borrowed");
    EXPECT_FALSE(assemble("refused.hdr"));
    ASSERT_EQ(desktop.questions.size(), 1u);
    EXPECT_NE(desktop.questions[0].find("the profile \"Borrowed\" is for \"Another Camera\""), std::string::npos)
        << desktop.questions[0];
    EXPECT_EQ(form->status, "Not assembled: the profile is for another camera or lens");
    EXPECT_TRUE(desktop.suggested_outputs.empty());
    EXPECT_FALSE(fs::exists(work / "refused.hdr"));

    desktop.output_answers.clear();
    desktop.question_answers.push_back(true);
    ASSERT_TRUE(assemble("forced.hdr"));
    EXPECT_EQ(desktop.questions.size(), 2u);
    EXPECT_TRUE(fs::exists(work / "forced.hdr"));
    EXPECT_FALSE(fs::exists(work / "forced.hdr.merged.part"));
}

// "Save Response into Profile": the curve a run recovered, stored into the
// profile chosen afterwards; a later run with that profile uses it.
TEST_F(AssemblyProfileChoice, TheRecoveredResponseIsSavedIntoTheChosenProfile) {
    desktop.picture_answers.push_back(series_);
    form->on_add_pictures();
    EXPECT_FALSE(form->on_save_response());  // nothing recovered yet
    ASSERT_EQ(desktop.messages.size(), 1u);
    ASSERT_TRUE(assemble("recovered.hdr"));
    ASSERT_TRUE(form->recovered_response);
    EXPECT_FALSE(form->on_save_response());  // no profile chosen
    EXPECT_EQ(desktop.messages.back().first, "Choose the profile to save the response curve into.");
    choose("Lab ND");
    ASSERT_TRUE(form->on_save_response());
    EXPECT_EQ(form->status, "Response curve saved into the profile Lab ND");
    auto stored = read_camera_profile((profiles / "nd.cdxprofile").string());
    ASSERT_TRUE(stored) << stored.failure().message;
    ASSERT_TRUE(stored.value().response);
    for (int c = 0; c < 3; ++c)
        EXPECT_EQ(stored.value().response->log_signal[c], form->recovered_response->log_signal[c]);
    EXPECT_EQ(stored.value().nd_factor, 10);  // the rest kept
    EXPECT_EQ(stored.value().date, profile_date_today());

    // Assembled with the profile now, the curve is the stored one: nothing
    // recovered to save again.
    ASSERT_TRUE(assemble("with_curve.hdr"));
    EXPECT_FALSE(form->recovered_response);
    EXPECT_EQ(form->status.find("response residual"), std::string::npos) << form->status;
}

TEST_F(AssemblyProfileChoice, AnIsoSpeedChangingWithinTheSeriesIsWarnedAbout) {
    desktop.picture_answers.push_back(series_);
    form->on_add_pictures();
    ASSERT_TRUE(assemble("steady.hdr"));
    EXPECT_TRUE(desktop.messages.empty());
    form->on_edit(2, assembly_column::iso, "400");
    ASSERT_TRUE(assemble("auto_iso.hdr"));
    ASSERT_EQ(desktop.messages.size(), 1u);
    EXPECT_EQ(desktop.messages[0].first.rfind("The ISO speed changes within the series (100, 400): is auto-ISO on?", 0),
              0u)
        << desktop.messages[0].first;
    EXPECT_EQ(desktop.messages[0].second, MessageIcon::warning);
    EXPECT_NE(form->status.find("the ISO speed or aperture changes within the series"), std::string::npos);
}

// The Ev check in the window: the picture's vertical illuminance from the
// profile's fisheye view against "Measured illuminance (lx)".
TEST_F(AssemblyProfileChoice, TheEvCheckFlagsAReadingFurtherOffThanTheTolerance) {
    auto shot = read_shot_exposure(series_[0]);
    CameraProfile fisheye;
    fisheye.name = "Fisheye";
    fisheye.camera = shot.value().camera;
    fisheye.projection = LensProjection{};
    ASSERT_TRUE(write_camera_profile((profiles / "fisheye.cdxprofile").string(), fisheye));
    form = std::make_unique<AssemblyForm>(desktop, nullptr, profiles.string());
    desktop.picture_answers.push_back(series_);
    form->on_add_pictures();
    choose("Fisheye");

    form->measured_illuminance = "lots";
    EXPECT_FALSE(assemble("refused.hdr"));
    EXPECT_EQ(desktop.messages.back().first, "The measured illuminance must be a number of lux above 0 (or empty).");
    desktop.output_answers.clear();

    form->measured_illuminance = "1000";
    ASSERT_TRUE(assemble("checked.hdr"));
    auto own = check_vertical_illuminance((work / "checked.hdr").string(), 1000, 10);
    ASSERT_TRUE(own) << own.failure().message;
    const double lux = own.value().picture_lux;
    ASSERT_GT(lux, 0);
    EXPECT_EQ(form->ev_result, ev_check_sentence(own.value()));

    const size_t messages = desktop.messages.size();
    form->measured_illuminance = strprintf("%.6g", lux * 1.05);
    ASSERT_TRUE(assemble("close.hdr"));
    EXPECT_NE(form->ev_result.find("(-4.8 %), within 10 %."), std::string::npos) << form->ev_result;
    EXPECT_EQ(desktop.messages.size(), messages);  // within: no message

    form->ev_tolerance = 3;
    ASSERT_TRUE(assemble("strict.hdr"));
    EXPECT_NE(form->ev_result.find("more than 3 % apart"), std::string::npos) << form->ev_result;
    ASSERT_EQ(desktop.messages.size(), messages + 1);
    EXPECT_EQ(desktop.messages.back().first, form->ev_result);

    // Without a profile the picture has no view to compute from.
    form->profile = 0;
    ASSERT_TRUE(assemble("no_view.hdr"));
    EXPECT_EQ(form->ev_result.rfind("No Ev check: ", 0), 0u) << form->ev_result;
}

// The aperture as the camera wrote it in EXIF: one picture at f/5.6 among
// f/8 ones is warned about before the run, which goes on.
TEST(AssemblySettingsWarning, AnApertureChangedWithinTheSeriesIsToldInAMessage) {
    TempFolder folder;
    write_hdr_scene(folder / "scene.hdr");
    auto pictures = photograph_series(folder / "scene.hdr", "srgb", folder / "a", {0x48, 0x58});
    const auto wider = photograph_series(folder / "scene.hdr", "srgb", folder / "b", {0x68}, 0x30);  // f/5.6
    ASSERT_EQ(pictures.size(), 2u);
    ASSERT_EQ(wider.size(), 1u);
    pictures.push_back(wider[0]);
    ScriptedAssemblyDesktop desktop;
    AssemblyForm form(desktop, nullptr);
    desktop.picture_answers.push_back(pictures);
    form.on_add_pictures();
    desktop.output_answers.push_back((folder / "mixed.hdr").string());
    ASSERT_TRUE(form.on_assemble());
    ASSERT_EQ(desktop.messages.size(), 1u);
    // The series is listed shortest exposure first, whichever aperture that was.
    const std::string& text = desktop.messages[0].first;
    EXPECT_TRUE(text.rfind("The aperture changes within the series (f/8, f/5.6)", 0) == 0 ||
                text.rfind("The aperture changes within the series (f/5.6, f/8)", 0) == 0)
        << text;
    EXPECT_TRUE(fs::exists(folder / "mixed.hdr"));
}

TEST(AssemblyEvTolerance, IsRememberedForTheNextDialog) {
    TempFolder config;
    const std::string settings = profile_settings_file(config.str());
    ScriptedAssemblyDesktop desktop;
    AssemblyForm first(desktop, nullptr, "", settings);
    EXPECT_EQ(first.ev_tolerance, 10);
    first.on_ev_tolerance(5);
    first.on_ev_tolerance(-1);  // not a share: ignored
    EXPECT_EQ(first.ev_tolerance, 5);
    AssemblyForm second(desktop, nullptr, "", settings);
    EXPECT_EQ(second.ev_tolerance, 5);
    AssemblyForm unremembered(desktop, nullptr);
    EXPECT_EQ(unremembered.ev_tolerance, 10);
}
