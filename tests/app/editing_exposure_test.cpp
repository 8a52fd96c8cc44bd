// Edit > Exposure... and File > Edit header... through the Application
// with our picture programs.

#include "app/editing_fixture.h"
#include "tools/exposure_form.h"
#include "tools/header_editing.h"

namespace {

class ExposureAndHeader : public EditingTest {
protected:
    // Edit > Exposure... with 1 typed: the picture's exposure becomes 1 to
    // within a float's last digit.
    void ask_for_exposure_one() {
        desktop.exposure_dialog = [](ExposureForm& form) {
            form.text = "1";
            return form.on_ok().value_or(0);
        };
        app.on_command(command::exposure);
        ASSERT_TRUE(desktop.messages.empty()) << desktop.messages[0].text;
        EXPECT_NEAR(app.luminance_map().exposure, 1.0f, 2e-7f);
    }
};

RgbePixel grey_half(int, int) { return {128, 128, 128, 128}; }  // 0.50195

double mean_byte(const std::string& bytes) {
    double sum = 0;
    for (size_t i = 54; i < bytes.size(); ++i) sum += static_cast<uint8_t>(bytes[i]);
    return sum / static_cast<double>(bytes.size() - 54);
}

TEST_F(ExposureAndHeader, ChangingTheExposureKeepsLuminanceAndDarkensTheDisplay) {
    const std::string path = picture("p.hdr", 16, 8, {"EXPOSURE=2"}, grey_half);
    open(path);
    const float luminance = app.luminance_map().at(3, 3);
    const double brightness = mean_byte(read_file(cache / "dtemp.bmp"));
    desktop.exposure_dialog = [](ExposureForm& form) {
        EXPECT_EQ(form.text, "2");
        form.text = "1";
        return form.on_ok().value_or(0);
    };
    app.on_command(command::exposure);
    ASSERT_TRUE(desktop.messages.empty()) << desktop.messages[0].text;
    EXPECT_EQ(app.entered_exposure(), 1.0f);
    EXPECT_EQ(app.luminance_map().exposure, 1.0f);
    EXPECT_FLOAT_EQ(app.luminance_map().at(3, 3), luminance);
    // The stored values are halved, and the display copy shows stored values.
    EXPECT_LT(mean_byte(read_file(cache / "dtemp.bmp")), brightness - 20);
    EXPECT_EQ(desktop.status[4], "\tExposure = 1.000000");
}

TEST_F(ExposureAndHeader, ThreeToOneReachesOneAndOneStaysWithin) {
    // The factor 1/3 written with six digits left the picture at 0.999999,
    // and asking for 1 again wrote the factor "1", which changed nothing.
    open(picture("p.hdr", 16, 8, {"EXPOSURE=3"}, grey_half));
    const float luminance = app.luminance_map().at(3, 3);
    ask_for_exposure_one();
    EXPECT_EQ(desktop.status[4], "\tExposure = 1.000000");
    // The stored values are divided by 3 and kept to 8 bits of mantissa.
    EXPECT_NEAR(app.luminance_map().at(3, 3), luminance, luminance * 0.004f);
}

TEST_F(ExposureAndHeader, AnExposureSixDigitsAwayIsBroughtToTheValueAskedFor) {
    open(picture("p.hdr", 16, 8, {"EXPOSURE=0.999999"}, grey_half));
    ask_for_exposure_one();
}

TEST_F(ExposureAndHeader, OkWithTheExposureUnchangedRunsNothing) {
    open(picture("p.hdr", 16, 8, {"EXPOSURE=0.123456789"}, grey_half));
    const std::string before = read_file(working_copy());
    const int shows = desktop.progress_shows;
    desktop.exposure_dialog = [](ExposureForm& form) { return form.on_ok().value_or(0); };
    app.on_command(command::exposure);
    EXPECT_EQ(desktop.progress_shows, shows);
    EXPECT_EQ(read_file(working_copy()), before);
}

TEST_F(ExposureAndHeader, EditingTheHeaderKeepsThePixelsAndDropsOneCharacterLines) {
    const std::string path = picture("p.hdr", 16, 8, {"EXPOSURE=2", "SOFTWARE= camera"});
    open(path);
    const LuminanceMap before = app.luminance_map();
    desktop.header_dialog = [](HeaderForm& form) {
        EXPECT_EQ(form.text, "#?RADIANCE\nEXPOSURE=2\nSOFTWARE= camera\nFORMAT=32-bit_rle_rgbe\n\n");
        form.text = "#?RADIANCE\nEXPOSURE=4\nOWNER= lighting lab\n \nFORMAT=32-bit_rle_rgbe\n";
        return form.on_ok().value_or(0);
    };
    app.on_command(command::edit_header);
    ASSERT_TRUE(desktop.messages.empty()) << desktop.messages[0].text;
    const std::string copy = read_file(working_copy());
    EXPECT_EQ(copy.rfind("#?RADIANCE\nEXPOSURE=4\nOWNER= lighting lab\nFORMAT=32-bit_rle_rgbe\n\n-Y 8 +X 16\n", 0), 0u);
    EXPECT_EQ(app.luminance_map().exposure, 4.0f);
    // The same pixels under twice the exposure.
    LuminanceMap halved = before;
    for (float& value : halved.data) value /= 2.0f;
    expect_pixels(app.luminance_map(), halved, [](int x, int y) { return std::pair{x, y}; });
    EXPECT_FALSE(std::filesystem::exists(cache / "dtemp.txt"));
    EXPECT_FALSE(desktop.progress_shown());
}

TEST_F(ExposureAndHeader, CancellingTheHeaderDialogChangesNothing) {
    open(picture("p.hdr", 16, 8, {"EXPOSURE=2"}));
    const std::string before = read_file(working_copy());
    app.on_command(command::edit_header);
    EXPECT_EQ(desktop.editing_dialog_runs, 1);
    EXPECT_EQ(read_file(working_copy()), before);
    EXPECT_FALSE(desktop.progress_shown());
}

TEST_F(ExposureAndHeader, AHeaderThatNoLongerReadsIsRefusedAndTheWorkingCopyKept) {
    open(picture("p.hdr", 16, 8, {"EXPOSURE=2"}));
    const std::string before = read_file(working_copy());
    desktop.header_dialog = [](HeaderForm& form) {
        form.text = "#?RADIANCE\nFORMAT=32-bit_rle_xyze\n";
        return form.on_ok().value_or(0);
    };
    app.on_command(command::edit_header);
    EXPECT_EQ(only_message().caption, "Radiance Process Error!");
    EXPECT_EQ(read_file(working_copy()), before);
    EXPECT_TRUE(app.image_loaded());
    EXPECT_FALSE(std::filesystem::exists(cache / "dtemp.txt"));
}

TEST_F(ExposureAndHeader, AFailingGetinfoShowsItsTextAndOpensNoDialog) {
    open(picture("p.hdr", 16, 8));
    app.runner().set_program_folder(programs_with_failing("getinfo", "getinfo: cannot read"));
    app.on_command(command::edit_header);
    EXPECT_EQ(only_message().text, "getinfo: cannot read\n");
    EXPECT_EQ(desktop.editing_dialog_runs, 0);
    EXPECT_FALSE(desktop.progress_shown());
}

}  // namespace
