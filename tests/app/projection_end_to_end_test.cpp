// Edit > Projections... through the Application: the re-headed picture, our
// pinterp, and a working copy that only pinterp's output replaces.

#include "app/editing_fixture.h"
#include "tools/projection_form.h"

namespace {

class Projection : public EditingTest {
protected:
    static bool have_pinterp() { return std::filesystem::exists(std::string(CANDELUX_PROGRAMS_DIR) + "/pinterp"); }

    // Sixteen greys numbered 1 to 16 row by row from the top left.
    std::string numbered_picture(std::vector<std::string> lines = {}) {
        return picture("a4.hdr", 4, 4, std::move(lines), [](int x, int y) {
            const float n = static_cast<float>(1 + x + 4 * y);
            return encode_rgbe(n, n, n);
        });
    }
    // The number each pixel of the working copy shows (0 for black).
    std::vector<int> numbers_shown(const LuminanceMap& numbered) {
        const LuminanceMap& map = app.luminance_map();
        const float black = rgbe_luminance(0, 0, 0, 0, map.exposure);
        std::vector<int> numbers;
        for (int y = 0; y < map.height; ++y) {
            for (int x = 0; x < map.width; ++x) {
                int found = map.at(x, y) == black ? 0 : -1;
                for (int n = 0; n < 16 && found < 0; ++n)
                    if (numbered.data[static_cast<size_t>(n)] == map.at(x, y)) found = n + 1;
                numbers.push_back(found);
            }
        }
        return numbers;
    }
};

TEST_F(Projection, AFailingPinterpLeavesTheWorkingCopyAsItWas) {
    open(numbered_picture({"EXPOSURE=2"}));
    const std::string before = read_file(working_copy());
    app.runner().set_program_folder(programs_with_failing("pinterp", "pinterp: bad view file"));
    desktop.projection_dialog = [](ProjectionForm& form) { return form.on_ok().value_or(0); };
    app.tools().selection().radius = 1;
    app.on_command(command::projections);
    const RecordedMessage& message = only_message();
    EXPECT_EQ(message.text, "pinterp: bad view file\n");
    EXPECT_EQ(message.caption, "Radiance Process Error!");
    EXPECT_EQ(read_file(working_copy()), before);
    EXPECT_FALSE(std::filesystem::exists(cache / "header"));
    EXPECT_FALSE(app.tools().selection().any());  // reloaded all the same
    EXPECT_FALSE(desktop.progress_shown());
}

TEST_F(Projection, AFailingHeaderReadStopsBeforePinterp) {
    open(numbered_picture());
    const std::string before = read_file(working_copy());
    app.runner().set_program_folder(programs_with_failing("getinfo", "getinfo: out of memory"));
    desktop.projection_dialog = [](ProjectionForm& form) { return form.on_ok().value_or(0); };
    app.on_command(command::projections);
    EXPECT_EQ(only_message().text, "getinfo: out of memory\n");
    EXPECT_EQ(read_file(working_copy()), before);
    EXPECT_FALSE(std::filesystem::exists(cache / "dtempo.hdr"));
}

TEST_F(Projection, CancellingTheDialogRunsNothing) {
    open(numbered_picture());
    const int shows = desktop.progress_shows;
    app.on_command(command::projections);
    EXPECT_EQ(desktop.editing_dialog_runs, 1);
    EXPECT_EQ(desktop.progress_shows, shows);
}

TEST_F(Projection, AnAngularFisheyeWithoutExposureOrViewBecomesHemispherical) {
    if (!have_pinterp()) GTEST_SKIP() << "pinterp is not built yet";
    const std::string path = numbered_picture();
    open(path);
    const LuminanceMap numbered = map_of(path);
    desktop.projection_dialog = [](ProjectionForm& form) {
        EXPECT_EQ(form.width_text, "4");
        return form.on_ok().value_or(0);
    };
    app.on_command(command::projections);
    ASSERT_TRUE(desktop.messages.empty()) << desktop.messages[0].text;
    EXPECT_EQ(numbers_shown(numbered), (std::vector<int>{0, 2, 3, 0, 5, 6, 7, 8, 9, 10, 11, 12, 0, 14, 15, 0}));
    EXPECT_EQ(app.luminance_map().exposure, 1.0f);
    const std::string header = read_file(working_copy());
    EXPECT_NE(header.find("\nVIEW= -vth "), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(cache / "header"));
}

TEST_F(Projection, AntiAliasProjectsToTheSizeAskedFor) {
    if (!have_pinterp()) GTEST_SKIP() << "pinterp is not built yet";
    const std::string path = numbered_picture({"EXPOSURE=2"});
    open(path);
    const LuminanceMap numbered = map_of(path);
    desktop.projection_dialog = [](ProjectionForm& form) {
        form.on_anti_alias_clicked(true);
        form.width_text = form.height_text = std::to_string(8);
        return form.on_ok().value_or(0);
    };
    app.on_command(command::projections);
    ASSERT_TRUE(desktop.messages.empty()) << desktop.messages[0].text;
    EXPECT_EQ(app.luminance_map().exposure, 2.0f);
    EXPECT_EQ(numbers_shown(numbered), (std::vector<int>{0, 0,  2,  2,  2,  3,  0,  0,   //
                                                         0, 0,  6,  6,  6,  7,  7,  0,   //
                                                         5, 5,  6,  6,  6,  7,  7,  8,   //
                                                         9, 9,  10, 10, 10, 11, 11, 12,  //
                                                         9, 9,  10, 10, 10, 11, 11, 12,  //
                                                         9, 9,  10, 10, 10, 11, 11, 12,  //
                                                         0, 0,  14, 14, 14, 15, 0,  0,   //
                                                         0, 0,  14, 14, 14, 15, 0,  0}));
}

TEST_F(Projection, ARealFisheyePhotographKeepsItsSizeExposureAndCentre) {
    if (!have_pinterp()) GTEST_SKIP() << "pinterp is not built yet";
    const std::string photo = shared_picture("fisheye_photo_544.hdr");
    if (photo.empty()) GTEST_SKIP() << "no shared test pictures on this machine";
    open(photo);
    const LuminanceMap before = app.luminance_map();
    desktop.projection_dialog = [](ProjectionForm& form) { return form.on_ok().value_or(0); };
    app.on_command(command::projections);
    ASSERT_TRUE(desktop.messages.empty()) << desktop.messages[0].text;
    const LuminanceMap& after = app.luminance_map();
    ASSERT_EQ(after.width, 544);
    ASSERT_EQ(after.height, 544);
    // pinterp writes the exposure with seven digits.
    EXPECT_FLOAT_EQ(after.exposure, before.exposure);
    // The view's centre stays at the centre.
    float low = before.at(272, 272), high = low;
    for (int y = 270; y <= 274; ++y)
        for (int x = 270; x <= 274; ++x) {
            low = std::min(low, before.at(x, y));
            high = std::max(high, before.at(x, y));
        }
    EXPECT_GE(after.at(272, 272), low);
    EXPECT_LE(after.at(272, 272), high);
    // The rim of the hemisphere is squeezed inwards: the corners are black.
    EXPECT_LT(after.at(5, 5), 1e-30f);
}

}  // namespace
