// The calibration wizard over a fake main window: where each page leads, the
// region page's rules, the meter readings, and Finish with the real picture
// programs: the factor, the division of the whole working copy, and the
// refusals that leave the picture untouched.

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <numbers>

#include "analysis/calibration_ids.h"
#include "analysis/calibration_wizard.h"
#include "fake_calibration_host.h"
#include "profiles/camera_profile.h"
#include "profiles/profile_updates.h"
#include "support/formula_pictures.h"
#include "support/regions.h"

namespace {

using namespace calibration_pages;
namespace fs = std::filesystem;

// A grey card of 120 cd/m² over columns 20..59 and rows 15..44 of a wall of 30.
LuminanceMap card_picture() {
    return make_map(80, 60, [](int x, int y) { return x >= 20 && x < 60 && y >= 15 && y < 45 ? 120 : 30; });
}

const Region card = rectangle_region(20.2f, 15.2f, 60.2f, 45.2f);

// The angle from the view direction of pixel (x, y) of a 180° fisheye of
// size x size, in degrees; above 90 outside the circle.
double fisheye_angle(int x, int y, int size) {
    const double u = (x + 0.5) / size * 2 - 1, v = (y + 0.5) / size * 2 - 1;
    return std::sqrt(u * u + v * v) * 90;
}

class CalibrationWizardTest : public ::testing::Test {
protected:
    void use_picture(LuminanceMap map, std::vector<std::string> header = {}) {
        host.map = std::move(map);
        host.write_working_copy(std::move(header));
    }
    WizardSheet& sheet() { return wizard.sheet(); }
    CalibrationRegionPage& page() { return wizard.region_page(); }
    // Draws `region` on the main window and hands it back with ENTER.
    void hand_back(const Region& region) {
        page().on_click_to_select();
        ASSERT_FALSE(wizard.show_page());
        wizard.region_selected(region);
    }
    void to_measured_luminance(const Region& region) {
        sheet().press_next();
        sheet().press_next();
        hand_back(region);
        sheet().press_next();
        ASSERT_EQ(sheet().current_page(), measured_luminance);
    }
    void to_measured_illuminance() {
        wizard.on_kind_chosen(CalibrationKind::illuminance);
        sheet().press_next();
        sheet().press_next();
        ASSERT_EQ(sheet().current_page(), measured_illuminance);
    }
    float mean_of(const Region& region) {
        StatisticsContext context = host.statistics_context();
        return compute_region_statistics(context, region, RegionKind::rectangle, {}).statistics.mean;
    }

    FakeCalibrationHost host;
    CalibrationWizard wizard{host};
};

TEST_F(CalibrationWizardTest, LeadsThroughTheLuminanceOrTheIlluminancePages) {
    use_picture(card_picture());
    wizard.start();
    EXPECT_EQ(sheet().caption(), "Calibration Wizard");
    EXPECT_EQ(sheet().header_title(), "Illuminance & Luminance Calibration");
    EXPECT_EQ(wizard.record.kind, CalibrationKind::luminance);
    EXPECT_FALSE(sheet().back_enabled());
    sheet().press_next();
    EXPECT_EQ(sheet().current_page(), luminance_intro);
    EXPECT_TRUE(sheet().back_enabled() && sheet().next_enabled());
    sheet().press_next();
    EXPECT_EQ(sheet().current_page(), region);
    EXPECT_EQ(sheet().header_title(), "Luminance Calibration - Select a Region");
    EXPECT_FALSE(sheet().next_enabled());  // no region yet
    hand_back(card);
    sheet().press_next();
    EXPECT_EQ(sheet().header_title(), "Luminance Calibration - Measured Illuminance");
    for (int expected : {region, luminance_intro, options}) {
        sheet().press_back();
        EXPECT_EQ(sheet().current_page(), expected);
    }
    wizard.on_kind_chosen(CalibrationKind::illuminance);
    sheet().press_next();
    EXPECT_EQ(sheet().current_page(), illuminance_intro);
    sheet().press_next();
    EXPECT_EQ(sheet().current_page(), measured_illuminance);
    EXPECT_EQ(sheet().header_title(), "Illuminance Calibration - Measured Illuminance");
    EXPECT_TRUE(sheet().finish_offered());
    sheet().press_back();
    EXPECT_EQ(sheet().current_page(), illuminance_intro);
    sheet().press_back();
    EXPECT_EQ(sheet().current_page(), options);
}

TEST_F(CalibrationWizardTest, RegionPageTakesADrawnRegionOnlyWhenItWouldBeSampledAsDrawn) {
    use_picture(card_picture());
    wizard.start();
    sheet().press_next();
    sheet().press_next();
    EXPECT_EQ(host.tools_selected, std::vector{RegionKind::rectangle});
    EXPECT_EQ(page().tool_choice(), ToolChoice::rectangle);
    EXPECT_EQ(page().source(), CalibrationSource::from_image);
    EXPECT_FALSE(page().mask_controls_enabled());
    EXPECT_EQ(page().status_text(), "No Region Selected");

    page().on_tool_chosen(ToolChoice::circle);  // applied only when the user goes to draw
    EXPECT_EQ(host.current_tool, RegionKind::rectangle);
    page().on_click_to_select();
    EXPECT_EQ(host.current_tool, RegionKind::circle);
    EXPECT_TRUE(wizard.waiting());
    EXPECT_FALSE(sheet().shown() || sheet().enabled() || sheet().cancel_enabled());
    EXPECT_TRUE(host.main_window);
    EXPECT_FALSE(host.image_menu_items || host.picture_commands);

    // ENTER while the sheet is already up changes nothing.
    EXPECT_FALSE(wizard.show_page());
    EXPECT_TRUE(wizard.show_page());

    Region circle;
    circle.radius = 0.4f, circle.centre_x = 30, circle.centre_y = 30;  // valid, but sampled as the whole picture
    wizard.region_selected(circle);
    EXPECT_FALSE(wizard.waiting());
    EXPECT_EQ(page().status_text(), "No Region Selected");
    EXPECT_TRUE(sheet().back_enabled() && sheet().cancel_enabled());
    EXPECT_FALSE(sheet().next_enabled());
    EXPECT_FALSE(host.main_window);
    EXPECT_TRUE(host.calibration_enabled && host.picture_commands);

    circle.radius = 5;
    hand_back(circle);
    EXPECT_EQ(page().status_text(), "Found a Valid Region");
    EXPECT_TRUE(sheet().next_enabled() && sheet().cancel_enabled());
    EXPECT_EQ(page().region().tool, RegionKind::circle);

    // Going back and forth keeps it; choosing another tool clears it.
    sheet().press_back();
    sheet().press_next();
    EXPECT_EQ(page().status_text(), "Found a Valid Region");
    page().on_tool_chosen(ToolChoice::polygon);
    EXPECT_EQ(page().status_text(), "No Region Selected");
    EXPECT_FALSE(sheet().next_enabled());
}

TEST_F(CalibrationWizardTest, RegionPageTakesAMaskFileWithASafePath) {
    use_picture(card_picture());
    wizard.start();
    sheet().press_next();
    sheet().press_next();
    hand_back(card);
    page().on_source(CalibrationSource::from_mask_file);
    EXPECT_TRUE(page().mask_controls_enabled());
    EXPECT_FALSE(sheet().next_enabled());  // no file yet

    host.scripted.file_answers.push_back({1, "/tmp/gray card.hdr"});
    page().on_browse();
    EXPECT_EQ(host.scripted.file_requests.back().title, "Open Mask File");
    ASSERT_EQ(host.scripted.messages.size(), 1u);
    EXPECT_EQ(host.scripted.messages[0].text, "File path cannot contain spaces");
    EXPECT_EQ(host.scripted.messages[0].caption, "Path Error");
    EXPECT_TRUE(wizard.record.mask_file.empty());

    host.scripted.file_answers.push_back({3, "/tmp/card.bmp"});
    page().on_browse();
    EXPECT_EQ(page().file_label(), "card.bmp");
    EXPECT_EQ(wizard.record.mask_type, 3);
    EXPECT_EQ(page().status_text(), "Found a Valid Region");
    EXPECT_TRUE(sheet().next_enabled());
    // The drawn region went with the file.
    page().on_source(CalibrationSource::from_image);
    EXPECT_FALSE(sheet().next_enabled());
}

TEST_F(CalibrationWizardTest, MeasuredLuminanceOffersFinishOnlyWhileTheFieldHoldsText) {
    use_picture(card_picture());
    wizard.start();
    to_measured_luminance(card);
    EXPECT_FALSE(sheet().finish_offered());
    EXPECT_FALSE(sheet().next_enabled());
    wizard.on_measured_luminance(true, 100);
    EXPECT_TRUE(sheet().finish_offered() && sheet().next_enabled() && sheet().back_enabled());
    EXPECT_EQ(wizard.record.measured_luminance, 100);
    wizard.on_measured_luminance(false, 0);
    EXPECT_FALSE(sheet().next_enabled());
    // The reading stays when the user goes back to the region and returns.
    wizard.on_measured_luminance(true, 80);
    sheet().press_back();
    sheet().press_next();
    EXPECT_TRUE(sheet().finish_offered() && sheet().next_enabled());
}

TEST_F(CalibrationWizardTest, LuminanceCalibrationDividesTheWholePictureByRegionMeanOverReading) {
    use_picture(card_picture());
    wizard.start();
    to_measured_luminance(card);
    wizard.on_measured_luminance(true, 0);
    sheet().press_finish();
    EXPECT_FALSE(sheet().closed());  // refused; the user corrects the reading
    wizard.on_measured_luminance(true, 100);
    sheet().press_finish();
    EXPECT_EQ(host.scripted.messages.size(), 1u);
    EXPECT_TRUE(sheet().closed());
    EXPECT_EQ(sheet().result(), 1);
    EXPECT_FLOAT_EQ(wizard.record.computed_mean, 120);
    EXPECT_FLOAT_EQ(wizard.record.factor, 1.2f);
    ASSERT_EQ(host.editing_steps.size(), 1u);
    EXPECT_NE(host.editing_steps[0].find("\"ro=ri(1)/1.2;go=gi(1)/1.2;bo=bi(1)/1.2\""), std::string::npos);
    EXPECT_EQ(host.reloads, 1);
    EXPECT_TRUE(host.main_window);
    EXPECT_NEAR(mean_of(card), 100, 0.5);
    EXPECT_NEAR(host.map.at(5, 5), 25, 0.2);  // the wall outside the card too
}

// The mask's own exposure, if any, leaves the mean under it alone.
class CalibrationMaskTest : public CalibrationWizardTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(CalibrationMaskTest, MaskRegionIsSampledOnAScratchCopyAndTheWholePictureDivided) {
    use_picture(make_map(80, 60, [](int x, int) { return x < 40 ? 120 : 60; }));
    const std::string mask = host.cache.str() + "/card_mask.hdr";
    std::vector<std::string> lines;
    if (*GetParam()) lines.emplace_back(GetParam());
    ASSERT_TRUE(write_formula_picture(
        mask, 80, 60, [](int x, int) { return x < 40 ? encode_rgbe(1, 1, 1) : RgbePixel{}; }, lines));
    wizard.start();
    sheet().press_next();
    sheet().press_next();
    page().on_source(CalibrationSource::from_mask_file);
    host.scripted.file_answers.push_back({1, mask});
    page().on_browse();
    sheet().press_next();
    wizard.on_measured_luminance(true, 100);
    sheet().press_finish();
    EXPECT_TRUE(sheet().closed());
    EXPECT_NEAR(wizard.record.computed_mean, 120.0f, 0.5f);  // not 30 under EXPOSURE=4
    EXPECT_NEAR(wizard.record.factor, 1.2f, 0.005f);
    EXPECT_EQ(host.editing_steps.size(), 1u);  // the division only: the mask went to a scratch copy
    EXPECT_NEAR(host.map.at(10, 10), 100, 0.6);
    EXPECT_NEAR(host.map.at(70, 10), 50, 0.3);  // outside the mask: divided, not blackened
    EXPECT_FALSE(fs::exists(host.cache.str() + calibration_mask_scratch));
}

INSTANTIATE_TEST_SUITE_P(MaskExposure, CalibrationMaskTest, ::testing::Values("", "EXPOSURE=4", "EXPOSURE=0.3"));

TEST_F(CalibrationWizardTest, IlluminanceOfAPictureWithoutViewIsPiTimesTheMeanOfItsLitCircle) {
    use_picture(make_map(100, 100, [](int x, int y) { return fisheye_angle(x, y, 100) < 90 ? 1000 : 0; }));
    wizard.start();
    to_measured_illuminance();
    EXPECT_EQ(wizard.picture_illuminance().value.method, 'h');
    EXPECT_NE(wizard.illuminance_text().find("3141.59 lux (\u03c0 \u00d7 mean luminance"), std::string::npos)
        << wizard.illuminance_text();
    wizard.on_measured_illuminance(true, 2500);
    sheet().press_finish();
    EXPECT_TRUE(sheet().closed());
    EXPECT_FLOAT_EQ(wizard.record.computed_illuminance, 3141.5927f);  // the black corners left out
    EXPECT_NEAR(wizard.record.factor, 1.2566f, 1e-4f);
    ASSERT_EQ(host.editing_steps.size(), 1u);
    EXPECT_NE(host.editing_steps[0].find("ro=ri(1)/1.25664;"), std::string::npos);
    EXPECT_NEAR(host.map.at(50, 50), 1000 / 1.25664f, 4);
}

TEST_F(CalibrationWizardTest, IlluminanceOfAnAngularFisheyeIsSummedOverItsView) {
    // Bright within 45° of the view direction: π × mean would give 2749 lux
    // where the sky gives 3927 on a cosine-corrected meter.
    use_picture(make_map(200, 200,
                         [](int x, int y) {
                             const double angle = fisheye_angle(x, y, 200);
                             return angle < 45 ? 2000 : angle < 90 ? 500 : 0;
                         }),
                {"VIEW= -vta -vh 180 -vv 180"});
    wizard.start();
    to_measured_illuminance();
    EXPECT_EQ(wizard.picture_illuminance().value.method, 'a');
    EXPECT_NE(wizard.illuminance_text().find("over the angular fisheye view"), std::string::npos);
    wizard.on_measured_illuminance(true, 3000);
    sheet().press_finish();
    EXPECT_NEAR(wizard.record.computed_illuminance, 2 * std::numbers::pi * 625, 2 * std::numbers::pi * 625 * 0.01);
    EXPECT_FLOAT_EQ(wizard.record.factor, wizard.record.computed_illuminance / 3000);
}

TEST_F(CalibrationWizardTest, AHemisphericalViewNarrowerThan180DegreesIsSummedToo) {
    // A uniform sky on a 150° hemispherical picture: π·L·sin² 75°, not π·L.
    use_picture(make_map(200, 200,
                         [](int x, int y) {
                             const double dx = (x + 0.5) / 200 - 0.5, dy = (y + 0.5) / 200 - 0.5;
                             return dx * dx + dy * dy < 0.25 ? 1000 : 0;
                         }),
                {"VIEW= -vth -vh 150 -vv 150"});
    wizard.start();
    to_measured_illuminance();
    EXPECT_FALSE(wizard.picture_illuminance().value.pi_times_mean);
    EXPECT_NE(wizard.illuminance_text().find("over the hemispherical fisheye view narrower than 180\u00b0"),
              std::string::npos)
        << wizard.illuminance_text();
    wizard.on_measured_illuminance(true, 2500);
    sheet().press_finish();
    const double expected = 1000 * std::numbers::pi * std::pow(std::sin(75 * std::numbers::pi / 180), 2);
    EXPECT_NEAR(wizard.record.computed_illuminance, expected, expected * 0.005);
}

TEST_F(CalibrationWizardTest, FinishIsRefusedWithTheWorkingCopyUntouchedWhileNoFactorCanBeComputed) {
    use_picture(make_map(80, 60, [](int x, int) { return x < 40 ? 120 : 0; }));
    const std::string before = read_file(host.working_copy());
    struct Case {
        CalibrationKind kind;
        Region region;
        float measured;
        const char* message;
    };
    const Region black = rectangle_region(50.2f, 10.2f, 70.2f, 30.2f);
    for (const Case& c : {
             Case{CalibrationKind::luminance, card, 0, "The measured luminance must be a number above 0."},
             Case{CalibrationKind::luminance, card, -5, "The measured luminance must be a number above 0."},
             Case{CalibrationKind::luminance, black, 100, "The selected region has no lit pixels"},
             Case{CalibrationKind::luminance, card, 1e-38f, "The measured value gives no usable calibration factor"},
             Case{CalibrationKind::illuminance, {}, 0, "The measured illuminance must be a number above 0."},
         }) {
        CalibrationWizard attempt(host);
        attempt.start();
        attempt.on_kind_chosen(c.kind);
        attempt.sheet().press_next();
        attempt.sheet().press_next();
        if (c.kind == CalibrationKind::luminance) {
            attempt.region_page().on_click_to_select();
            attempt.show_page();
            attempt.region_selected(c.region);
            attempt.sheet().press_next();
            attempt.on_measured_luminance(true, c.measured);
        } else {
            attempt.on_measured_illuminance(true, c.measured);
        }
        host.scripted.messages.clear();
        attempt.sheet().press_finish();
        ASSERT_EQ(host.scripted.messages.size(), 1u) << c.message;
        EXPECT_EQ(host.scripted.messages[0].text.rfind(c.message, 0), 0u) << host.scripted.messages[0].text;
        EXPECT_EQ(host.scripted.messages[0].caption, "Calibration Error");
        EXPECT_FALSE(attempt.sheet().closed()) << c.message;
        attempt.sheet().press_cancel();
    }
    EXPECT_TRUE(host.editing_steps.empty());
    EXPECT_EQ(read_file(host.working_copy()), before);

    // A picture without a lit pixel gives no illuminance.
    use_picture(make_map(20, 20, [](int, int) { return 0; }));
    wizard.start();
    to_measured_illuminance();
    EXPECT_EQ(wizard.illuminance_text(), "This picture has no lit pixels.");
    wizard.on_measured_illuminance(true, 2500);
    sheet().press_finish();
    EXPECT_FALSE(sheet().closed());
    EXPECT_EQ(host.scripted.messages.back().text, "The picture has no lit pixels to compute an illuminance from.");
}

TEST_F(CalibrationWizardTest, CancelWhileTheUserDrawsGivesTheCommandsBack) {
    use_picture(card_picture());
    wizard.start();
    sheet().press_next();
    sheet().press_next();
    page().on_click_to_select();
    sheet().abandon();
    EXPECT_TRUE(sheet().closed());
    EXPECT_EQ(sheet().result(), 0);
    EXPECT_FALSE(wizard.waiting());
    EXPECT_TRUE(host.calibration_enabled && host.picture_commands && host.main_window);
    EXPECT_TRUE(host.editing_steps.empty());
}

}  // namespace

TEST_F(CalibrationWizardTest, AClippedPatchIsToldAndItsLinkLeadsToTheIlluminanceCalibration) {
    use_picture(make_map(40, 40, [](int x, int y) { return x >= 10 && x < 14 && y >= 10 && y < 13 ? 90000 : 30; }),
                {"VIEW= -vth -vh 180 -vv 180"});
    wizard.start();
    EXPECT_EQ(wizard.overflow().rfind("The brightest 12 pixels (", 0), 0u) << wizard.overflow();
    EXPECT_EQ(sheet().current_page(), options);
    wizard.on_calibration_link();
    EXPECT_EQ(wizard.record.kind, CalibrationKind::illuminance);
    EXPECT_EQ(sheet().current_page(), illuminance_intro);
}

TEST_F(CalibrationWizardTest, APictureWithoutAClippedPatchSaysNothing) {
    // Its brightest pixels (46) never touch each other. (The flat grey card
    // of the other tests is a patch at the ceiling: it would count.)
    use_picture(make_map(40, 40, [](int x, int y) { return 30 + (x * 7 + y * 13) % 17; }));
    wizard.start();
    EXPECT_EQ(wizard.overflow(), "");
}

// "Save the factor into profile …": the factor Finish finds goes into the
// chosen camera profile too, as the multiplier assembly applies.
class CalibrationProfileTest : public CalibrationWizardTest {
protected:
    void SetUp() override {
        fs::create_directories(profiles.path());
        write_profile("Lab fisheye", 2.0);
        write_profile("Desk", 1.0);
        wizard.set_profile_folder(profiles.str());
    }
    void write_profile(const std::string& name, double factor) {
        std::ofstream(profiles.str() + "/" + name + ".cdxprofile")
            << "{\"format\": \"candelux camera profile 1\", \"name\": \"" << name
            << "\", \"calibration_factor\": " << factor << ", \"date\": \"2026-01-02\", \"lamp\": {\"kelvin\": 3000}}";
    }
    CameraProfile profile(const std::string& name) {
        return read_camera_profile(profiles.str() + "/" + name + ".cdxprofile").value();
    }
    void calibrate_card_to(float reading) {
        wizard.start();
        to_measured_luminance(card);
        wizard.on_measured_luminance(true, reading);
        sheet().press_finish();
        ASSERT_TRUE(sheet().closed());
    }
    TempFolder profiles;
};

TEST_F(CalibrationProfileTest, OffersTheProfilesOfTheFolderByName) {
    use_picture(card_picture());
    wizard.start();
    ASSERT_EQ(wizard.profiles().size(), 2u);
    EXPECT_EQ(wizard.profiles()[0].name, "Desk");
    EXPECT_EQ(wizard.profiles()[1].name, "Lab fisheye");
    EXPECT_FALSE(wizard.save_to_profile);
}

TEST_F(CalibrationProfileTest, StoresTheMultiplierAndTodayKeepingUnknownKeys) {
    use_picture(card_picture());
    wizard.on_save_to_profile(true);
    wizard.on_profile_chosen(0);
    calibrate_card_to(60);  // the card reads 120: the picture is twice too bright
    EXPECT_FLOAT_EQ(wizard.record.factor, 2.0f);
    const CameraProfile desk = profile("Desk");
    EXPECT_DOUBLE_EQ(desk.calibration_factor, 0.5);
    EXPECT_EQ(desk.date, profile_date_today());
    ASSERT_NE(desk.document.find("lamp"), nullptr);
    EXPECT_EQ(desk.document.find("lamp")->find("kelvin")->as_number(), 3000);
    EXPECT_DOUBLE_EQ(profile("Lab fisheye").calibration_factor, 2.0);  // the other one untouched
    EXPECT_TRUE(host.scripted.messages.empty());
}

TEST_F(CalibrationProfileTest, APictureAssembledWithTheProfileMultipliesItsFactor) {
    // The picture already carries the profile's factor 2; it is still 20 % too bright.
    use_picture(card_picture(), {"PROFILE= Lab fisheye 2025-12-01"});
    wizard.on_save_to_profile(true);
    wizard.on_profile_chosen(1);
    calibrate_card_to(100);
    EXPECT_NEAR(profile("Lab fisheye").calibration_factor, 2.0 / 1.2, 1e-6);
}

TEST_F(CalibrationProfileTest, NothingIsStoredUnlessAskedOrWhenTheFinishIsRefused) {
    use_picture(card_picture());
    wizard.on_profile_chosen(0);
    calibrate_card_to(60);
    EXPECT_DOUBLE_EQ(profile("Desk").calibration_factor, 1.0);
    EXPECT_EQ(profile("Desk").date, "2026-01-02");

    CalibrationWizard again{host};
    again.set_profile_folder(profiles.str());
    again.on_save_to_profile(true);
    again.start();
    again.on_kind_chosen(CalibrationKind::illuminance);
    again.sheet().press_next();
    again.sheet().press_next();
    again.on_measured_illuminance(true, 0);
    again.sheet().press_finish();
    EXPECT_FALSE(again.sheet().closed());
    EXPECT_DOUBLE_EQ(profile("Desk").calibration_factor, 1.0);
}

TEST_F(CalibrationProfileTest, AProfileThatCannotBeRewrittenIsToldAndTheCalibrationStands) {
    use_picture(card_picture());
    wizard.on_save_to_profile(true);
    wizard.start();
    std::ofstream(profiles.str() + "/Desk.cdxprofile") << "{\"format\": \"something else\"}";
    to_measured_luminance(card);
    wizard.on_measured_luminance(true, 60);
    sheet().press_finish();
    EXPECT_TRUE(sheet().closed());
    EXPECT_EQ(host.editing_steps.size(), 1u);
    ASSERT_EQ(host.scripted.messages.size(), 1u);
    EXPECT_EQ(host.scripted.messages[0].caption, "Calibration Error");
    EXPECT_EQ(host.scripted.messages[0].text.rfind("The factor could not be saved into the profile \"Desk\": ", 0), 0u)
        << host.scripted.messages[0].text;
}

TEST_F(CalibrationProfileTest, WithoutProfilesThereIsNothingToSaveInto) {
    use_picture(card_picture());
    CalibrationWizard bare{host};
    bare.set_profile_folder(profiles.str() + "/none");
    bare.start();
    bare.on_save_to_profile(true);
    EXPECT_FALSE(bare.save_to_profile);
}

TEST(CalibrationProfileHeader, NamesTheProfileWhateverItsDate) {
    EXPECT_TRUE(header_names_profile({"EXPOSURE=2", "PROFILE= Lab fisheye 2025-12-01"}, "Lab fisheye"));
    EXPECT_FALSE(header_names_profile({"PROFILE= Lab fisheye 2 2025-12-01"}, "Lab fisheye"));
    EXPECT_FALSE(header_names_profile({"PROFILE= Lab 2025-12-01"}, "Lab fisheye"));
    EXPECT_FALSE(header_names_profile({}, "Lab"));
}
