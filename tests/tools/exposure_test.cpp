// The exposure dialog, the exposure change's factor and command line, and
// the exposure batch replay reads from a picture's header.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "picture/rgbe_writer.h"
#include "support/scripted_desktop.h"
#include "support/temp_folder.h"
#include "tools/exposure_change.h"
#include "tools/exposure_form.h"

namespace {

TEST(ExposureForm, ShowsTheExposureInTheDefaultFloatForm) {
    ScriptedDesktop desktop;
    ExposureForm two(desktop, 2.0f);
    two.on_open();
    EXPECT_EQ(two.text, "2");
    ExposureForm fine(desktop, 0.123456789f);
    fine.on_open();
    EXPECT_EQ(fine.text, "0.123457");
}

TEST(ExposureForm, OkWithTheTextUnchangedChangesNothing) {
    ScriptedDesktop desktop;
    ExposureForm form(desktop, 0.123456789f);
    form.on_open();
    EXPECT_EQ(form.on_ok(), 0);
    EXPECT_EQ(form.entered, 0.123456789f);
    EXPECT_TRUE(desktop.messages.empty());
}

TEST(ExposureForm, ANewExposureClosesWithOkAndTheSameValueCancels) {
    ScriptedDesktop desktop;
    ExposureForm form(desktop, 2.0f);
    form.on_open();
    form.text = "1";
    EXPECT_EQ(form.on_ok(), 1);
    EXPECT_EQ(form.entered, 1.0f);
    form.text = "2.0";
    EXPECT_EQ(form.on_ok(), 0);
}

TEST(ExposureForm, RefusesWhatIsNotAPositiveNumberAndStaysOpen) {
    for (const char* text : {"0", "-1", "", "-", ".", "1e39", "abc"}) {
        ScriptedDesktop desktop;
        ExposureForm form(desktop, 2.0f);
        form.on_open();
        form.text = text;
        EXPECT_EQ(form.on_ok(), std::nullopt) << text;
        ASSERT_EQ(desktop.messages.size(), 1u) << text;
        EXPECT_EQ(desktop.messages[0].caption, "Input Error");
        EXPECT_EQ(desktop.messages[0].owner, Owner::dialog);
    }
}

TEST(ExposureChange, FromTwoToOneRunsPfiltWithHalf) {
    const auto factor = exposure_factor(1.0f, 2.0f);
    ASSERT_TRUE(factor);
    EXPECT_EQ(*factor, 0.5f);
    EXPECT_EQ(exposure_command("0.5", "/c/dtemp.hdr", "/c/dtempo.hdr"),
              "/C pfilt -1 -e 0.5 /c/dtemp.hdr > /c/dtempo.hdr");
}

TEST(ExposureChange, NoFactorThatIsNotAPositiveFiniteNumber) {
    EXPECT_FALSE(exposure_factor(1e30f, 1e-30f));
    EXPECT_FALSE(exposure_factor(1e-30f, 1e30f));
    EXPECT_FALSE(exposure_factor(0.0f, 1.0f));
    EXPECT_FALSE(exposure_factor(std::numeric_limits<float>::quiet_NaN(), 1.0f));
    EXPECT_TRUE(exposure_factor(3.0f, 1.5f));
}

class HeaderExposure : public ::testing::Test {
protected:
    std::string picture(std::vector<std::string> lines) {
        RgbePictureHeader header;
        header.lines = std::move(lines);
        header.resolution = standard_resolution(2, 1);
        const std::string path = (folder / "p.hdr").string();
        EXPECT_TRUE(write_rgbe_picture(path, header, std::vector<RgbePixel>(2, {128, 128, 128, 128})));
        return path;
    }
    TempFolder folder;
};

TEST_F(HeaderExposure, MultipliesEveryExposureLineTheReaderCounts) {
    // Tab-indented (nested) and commented lines count, as they do for the
    // luminance map, and so does the last line of the header.
    const auto exposure = header_exposure(picture({"EXPOSURE=2", "pcomb:", "\tEXPOSURE=4", "# EXPOSURE=0.5"}));
    ASSERT_TRUE(exposure.ok()) << exposure.failure().message;
    EXPECT_EQ(exposure.value(), 4.0f);
    EXPECT_EQ(header_exposure(picture({"EXPOSURE=2", "EXPOSURE=4"})).value(), 8.0f);
    EXPECT_EQ(header_exposure(picture({"SOFTWARE= x"})).value(), 1.0f);
}

TEST_F(HeaderExposure, GivesTheBatchFactorThatReachesTheRecordedExposure) {
    const auto factor = batch_exposure_factor(2.0, picture({"EXPOSURE=0.5"}));
    ASSERT_TRUE(factor.ok()) << factor.failure().message;
    EXPECT_EQ(factor.value(), 4.0);
}

TEST_F(HeaderExposure, RefusesAFactorThatIsNotFiniteAndPositiveWithAMessage) {
    const std::string path = picture({"EXPOSURE=0.5"});
    for (double wanted : {0.0, -2.0, std::nan(""), HUGE_VAL}) {
        const auto factor = batch_exposure_factor(wanted, path);
        ASSERT_FALSE(factor.ok()) << wanted;
        EXPECT_NE(factor.failure().message.find(path), std::string::npos);
    }
    const auto tiny = batch_exposure_factor(1e300, picture({"EXPOSURE=1e-30"}));
    EXPECT_FALSE(tiny.ok());
}

TEST_F(HeaderExposure, AMissingPictureIsAFailureWithItsName) {
    const auto exposure = header_exposure((folder / "none.hdr").string());
    ASSERT_FALSE(exposure.ok());
    EXPECT_NE(exposure.failure().message.find("none.hdr"), std::string::npos);
    EXPECT_FALSE(batch_exposure_factor(2.0, (folder / "none.hdr").string()).ok());
}

}  // namespace
