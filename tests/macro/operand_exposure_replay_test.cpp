// Apply Maskfile, vignetting correction and an image operation with operands
// that carry an exposure: recorded through the Application, then replayed
// over a folder with our picture programs. The replayed picture comes out as
// the operation means it, read the way the application reads pictures.

#include <gtest/gtest.h>

#include <filesystem>

#include "app/application.h"
#include "app/commands.h"
#include "macro/batch_replay.h"
#include "macro/macro_pictures.h"
#include "picture/rgbe_reader.h"
#include "support/scripted_desktop.h"
#include "tools/image_operation_form.h"
#include "tools/pixel_operations.h"

namespace fs = std::filesystem;

namespace {

constexpr int width = 12;
constexpr int height = 6;

class OperandExposureReplay : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(app.on_create());
        app.on_resize(800, 600);
        write_macro_picture(pictures / "room.hdr", width, height, {"EXPOSURE=0.5"});
        app.on_open_command((pictures / "room.hdr").string());
        ASSERT_TRUE(app.image_loaded());
        // The folder replayed: one picture at another exposure than the one recorded on.
        write_macro_picture(folder / "scene.hdr", width, height, {"EXPOSURE=2"});
        app.on_command(command::record_macro);
    }

    std::string working_copy() const { return cache.str() + "/dtemp.hdr"; }
    std::string step_output() const { return cache.str() + "/dtempo.hdr"; }
    std::string grey_picture(const std::string& name, const GreyFormula& grey, std::vector<std::string> lines) {
        const std::string path = (pictures / name).string();
        EXPECT_TRUE(write_grey_picture(path, width, height, grey, std::move(lines)));
        return path;
    }
    static LuminanceMap map_of(const fs::path& path) {
        auto map = load_luminance_map(path.string());
        EXPECT_TRUE(map.ok()) << path;
        return map.ok() ? std::move(map).value() : LuminanceMap{};
    }

    // Stops recording, checks the one recorded line and replays it over the
    // folder; the replayed picture as the application reads it.
    LuminanceMap stop_and_replay(const std::string& expected_line) {
        EXPECT_TRUE(desktop.messages.empty()) << desktop.messages[0].text;
        const std::string sequence = (saved / "m.seq").string();
        desktop.file_answers.push_back({1, sequence});
        app.on_command(command::stop_recording);
        const std::string text = read_file(sequence);
        EXPECT_NE(text.find("#" + expected_line + "#NULL\r\n"), std::string::npos) << text;
        ShellReplayHost host(CANDELUX_PROGRAMS_DIR);
        const auto report = replay_sequence(sequence, folder.str(), cache.str(), host, false);
        EXPECT_TRUE(report.ok());
        if (report.ok()) {
            EXPECT_EQ(report.value().steps_run, 1);
            EXPECT_TRUE(report.value().failures.empty());
        }
        return map_of(folder / "1-scene.hdr");
    }

    TempFolder config;
    TempFolder cache;
    TempFolder pictures;
    TempFolder saved;
    TempFolder folder;
    ScriptedDesktop desktop;
    Application app{desktop, PlatformFolders{config.str(), cache.str()}, CANDELUX_PROGRAMS_DIR};
};

TEST_F(OperandExposureReplay, AReplayedMaskKeepsTheLuminanceOfTheKeptPixels) {
    const std::string mask = grey_picture("mask.hdr", [](int x, int) { return x < 5 ? 1.0f : 0.0f; }, {"EXPOSURE=4"});
    const LuminanceMap room = map_of(pictures / "room.hdr");
    desktop.file_answers.push_back({1, mask});
    app.on_command(command::apply_maskfile);
    ASSERT_FLOAT_EQ(app.luminance_map().at(3, 2), room.at(3, 2));  // 179 x 24.0625 / 0.5 = 8614 (24 as stored)

    const LuminanceMap scene = map_of(folder / "scene.hdr");
    const LuminanceMap replayed = stop_and_replay(mask_application_command(mask, working_copy(), step_output()));
    ASSERT_EQ(replayed.width, width);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            if (x < 5) ASSERT_FLOAT_EQ(replayed.at(x, y), scene.at(x, y)) << x << ", " << y;
            else ASSERT_LT(replayed.at(x, y), 1e-30f) << x << ", " << y;
    EXPECT_NEAR(scene.at(3, 2), 179.0f * 24.0625f / 2.0f, 0.01f);
}

TEST_F(OperandExposureReplay, AReplayedVignettingCorrectionDividesByTheCorrectionAsRead) {
    // Stored 2 (2.0078) at exposure 4: read as 0.502, so every pixel about doubles.
    const std::string correction = grey_picture("v.hdr", [](int, int) { return 2.0f; }, {"EXPOSURE=4"});
    const float read = map_of(correction).at(0, 0) / 179.0f;
    EXPECT_FLOAT_EQ(read, 2.0078125f / 4.0f);
    desktop.file_answers.push_back({1, correction});
    app.on_command(command::vignetting_maskfile);
    const LuminanceMap scene = map_of(folder / "scene.hdr");
    const LuminanceMap replayed = stop_and_replay(vignetting_command(working_copy(), correction, step_output()));
    ASSERT_EQ(replayed.width, width);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            ASSERT_NEAR(replayed.at(x, y), scene.at(x, y) / read, 0.008f * scene.at(x, y)) << x << ", " << y;
}

TEST_F(OperandExposureReplay, AReplayedSumAddsTheLuminanceOfTheOtherPicture) {
    // The working copy plus a picture of stored 4 at exposure 2: 358 cd/m2 more everywhere.
    const std::string b = grey_picture("b.hdr", [](int, int) { return 4.0f; }, {"EXPOSURE=2"});
    desktop.file_answers = {{1, working_copy()}, {1, b}};
    desktop.image_operation_dialog = [](ImageOperationForm& form) {
        form.on_browse_a();
        form.on_browse_b();
        form.operator_index = 0;
        return form.on_ok().value_or(0);
    };
    app.on_command(command::operation);
    const LuminanceMap added = map_of(pictures / "b.hdr");
    EXPECT_NEAR(added.at(0, 0), 179.0f * 4.015625f / 2.0f, 0.01f);
    const LuminanceMap scene = map_of(folder / "scene.hdr");
    const LuminanceMap replayed = stop_and_replay(image_operation_command(working_copy(), "+", b, step_output()));
    ASSERT_EQ(replayed.width, width);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const float expected = scene.at(x, y) + added.at(x, y);
            ASSERT_NEAR(replayed.at(x, y), expected, 0.008f * expected) << x << ", " << y;
        }
}

}  // namespace
