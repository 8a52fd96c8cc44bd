// A realistic macro recorded through the Application (crop, rotation, flip,
// exposure, BMP mask, vignetting correction, image operation, projection),
// replayed on a folder of pictures; every step file is what the recorded
// command gives when run by hand on the same input.

#include <gtest/gtest.h>

#include <filesystem>

#include "app/application.h"
#include "app/commands.h"
#include "common/text_file.h"
#include "common/text_format.h"
#include "macro/batch_form.h"
#include "macro/macro_pictures.h"
#include "picture/bmp_writer.h"
#include "picture/rgbe_reader.h"
#include "support/scripted_desktop.h"
#include "tools/exposure_form.h"
#include "tools/header_text.h"
#include "tools/image_operation_form.h"
#include "tools/process_runner.h"
#include "tools/projection_form.h"

namespace fs = std::filesystem;

namespace {

// The bytes after a picture's header: resolution line and pixels.
std::string pixels_of(const fs::path& path) {
    const std::string bytes = read_file(path);
    const size_t end = bytes.find("\n\n");
    return end == std::string::npos ? std::string() : bytes.substr(end + 2);
}

class RecordedMacro : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(app.on_create()); }

    // Runs a command line as a person would type it, with our programs.
    void by_hand(const std::string& command_line) {
        const ProcessOutput result = run_shell_command(command_line, CANDELUX_PROGRAMS_DIR, nullptr, nullptr);
        ASSERT_TRUE(result.clean()) << command_line << ": " << result.text;
    }
    // The recorded line with the cache's files replaced by the given ones.
    std::string with_files(const std::string& recorded, const std::string& input, const std::string& output) const {
        std::string line = replaced_all(recorded, cache.str() + "/dtempo.hdr", output);
        line = replaced_all(line, cache.str() + "/dtemp.hdr", input);
        line = replaced_all(line, cache.str() + "/dmask.hdr", (hand / "mask.hdr").string());
        return replaced_all(line, cache.str() + "/header", (hand / "header").string());
    }

    TempFolder config, cache, pictures, extras, seq, hand;
    ScriptedDesktop desktop;
    Application app{desktop, PlatformFolders{config.str(), cache.str()}, CANDELUX_PROGRAMS_DIR};
};

}  // namespace

TEST_F(RecordedMacro, ReplaysOnAFolderWithStepFilesEqualToTheProgramsRunByHand) {
    // What the operations need: a 10 x 20 mask, correction and operand, the
    // size of a 20 x 10 crop turned a quarter.
    std::vector<uint8_t> bgr(10 * 20 * 3, 0);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 10; ++x)
            if (x + y > 6) std::fill_n(bgr.begin() + 3 * (y * 10 + x), 3, uint8_t{255});
    const std::string mask = (extras / "mask.bmp").string();
    ASSERT_TRUE(write_bmp24(mask, 10, 20, bgr));
    const std::string correction = (extras / "vignetting.hdr").string();
    write_grey_picture(correction, 10, 20, [](int x, int y) { return 0.5f + 0.02f * static_cast<float>(x + y); });
    const std::string dark = (extras / "dark.hdr").string();
    write_grey_picture(dark, 10, 20, [](int x, int) { return 0.25f * static_cast<float>(x % 3); }, {"EXPOSURE=1"});

    TempFolder recorded;
    write_macro_picture(recorded / "first.hdr", 40, 30);
    app.on_resize(800, 600);
    app.on_open_command((recorded / "first.hdr").string());
    ASSERT_TRUE(app.image_loaded());
    app.on_command(command::record_macro);
    Region& selection = app.tools().selection();
    selection.x0 = 5, selection.y0 = 12, selection.x1 = 25, selection.y1 = 22;
    app.on_command(command::crop);
    app.on_command(command::rotate_90);
    app.on_command(command::flip_horizontal);
    desktop.exposure_dialog = [](ExposureForm& form) {
        form.text = "4.0";
        return form.on_ok().value_or(0);
    };
    app.on_command(command::exposure);
    desktop.file_answers.push_back({3, mask});
    app.on_command(command::apply_maskfile);
    desktop.file_answers.push_back({1, correction});
    app.on_command(command::vignetting_maskfile);
    // A + B with the working copy as A: the dark frame added to each picture.
    desktop.file_answers.push_back({1, cache.str() + "/dtemp.hdr"});
    desktop.file_answers.push_back({1, dark});
    desktop.image_operation_dialog = [](ImageOperationForm& form) {
        form.on_browse_a();
        form.on_browse_b();
        form.operator_index = 0;
        return form.on_ok().value_or(0);
    };
    app.on_command(command::operation);
    desktop.projection_dialog = [](ProjectionForm& form) { return form.on_ok().value_or(0); };
    app.on_command(command::projections);
    ASSERT_TRUE(desktop.messages.empty()) << desktop.messages[0].text;
    EXPECT_EQ(app.luminance_map().width, 10) << "the projection is as wide as the picture was";
    const std::string macro = (seq / "everything").string();
    desktop.file_answers.push_back({1, macro});
    app.on_command(command::stop_recording);
    const auto lines = read_text_lines(macro + ".seq");
    ASSERT_TRUE(lines.has_value());
    ASSERT_EQ(lines->size(), 10u);
    EXPECT_EQ((*lines)[4], "40029#/C ra_bmp -r " + mask + " " + cache.str() + "/dmask.hdr#NULL")
        << "the mask is recorded with its own file";

    // A mask left in the cache by other work must not be the one applied.
    write_grey_picture(cache.str() + "/dmask.hdr", 10, 20, [](int, int) { return 0.0f; });
    struct Source {
        const char* name;
        std::vector<std::string> header;
    };
    const Source sources[] = {{"p1.hdr", {}}, {"p2.hdr", {"EXPOSURE=0.5"}}, {"p3.hdr", {"EXPOSURE=2"}}};
    for (const Source& source : sources) write_macro_picture(pictures / source.name, 40, 30, source.header);
    desktop.file_answers.push_back({1, macro + ".seq"});
    desktop.folder_answers.push_back(pictures.str());
    desktop.batch_dialog = [](BatchForm& form) {
        form.on_browse();
        form.on_set_path();
        return form.on_ok() ? 1 : 0;
    };
    app.on_command(command::batch_process);
    EXPECT_EQ(desktop.messages.back().text, "3 of 3 pictures processed, 24 steps run (8 per picture).");
    EXPECT_EQ(desktop.messages.back().icon, MessageIcon::information);

    for (const Source& source : sources) {
        SCOPED_TRACE(source.name);
        const std::string name = source.name;
        auto step = [&](int k) { return pictures / (std::to_string(k) + "-" + name); };
        auto mine = [&](int k) { return hand / (std::to_string(k) + "-" + name); };
        const std::string input_1 = (pictures / name).string();
        by_hand(with_files((*lines)[0].substr(6, (*lines)[0].size() - 11), input_1, mine(1).string()));
        by_hand(with_files((*lines)[1].substr(6, (*lines)[1].size() - 11), step(1).string(), mine(2).string()));
        by_hand(with_files((*lines)[2].substr(6, (*lines)[2].size() - 11), step(2).string(), mine(3).string()));
        const auto exposure = read_picture_exposure(step(3).string());
        ASSERT_TRUE(exposure.ok());
        by_hand("/C pfilt -1 -e " + format_shortest(4.0f / exposure.value()) + " " + step(3).string() + " > " +
                mine(4).string());
        by_hand(with_files((*lines)[4].substr(6, (*lines)[4].size() - 11), "", ""));
        by_hand(with_files((*lines)[5].substr(6, (*lines)[5].size() - 11), step(4).string(), mine(5).string()));
        by_hand(with_files((*lines)[6].substr(6, (*lines)[6].size() - 11), step(5).string(), mine(6).string()));
        by_hand(with_files((*lines)[7].substr(6, (*lines)[7].size() - 11), step(6).string(), mine(7).string()));
        // The projection's input: the fisheye header, then the pixels.
        const auto exposure_7 = read_picture_exposure(step(7).string());
        ASSERT_TRUE(exposure_7.ok());
        write_file(hand / "header", "#?RADIANCE\n" + exposure_line(exposure_7.value()) + "\n" +
                                        fisheye_view_line + "\nFORMAT=32-bit_rle_rgbe\n\n");
        by_hand(with_files((*lines)[8].substr(6, (*lines)[8].size() - 11), step(7).string(), ""));
        by_hand(with_files((*lines)[9].substr(6, (*lines)[9].size() - 11), "", mine(8).string()));

        for (int k = 1; k <= 8; ++k) {
            SCOPED_TRACE(k);
            const std::string replayed = pixels_of(step(k));
            ASSERT_FALSE(replayed.empty());
            EXPECT_TRUE(replayed == pixels_of(mine(k))) << "the pixels differ from the program run by hand";
            const auto a = read_picture_exposure(step(k).string());
            const auto b = read_picture_exposure(mine(k).string());
            ASSERT_TRUE(a.ok() && b.ok());
            EXPECT_FLOAT_EQ(a.value(), b.value());
        }
        EXPECT_FLOAT_EQ(read_picture_exposure(step(4).string()).value(), 4.0f);
        EXPECT_FALSE(fs::exists(step(5).string() + ".mask")) << "scratch files are removed";
        EXPECT_FALSE(fs::exists(step(8).string() + ".header"));
    }
}
