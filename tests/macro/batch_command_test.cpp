// Tools > Batch Process... through the Application: the dialog's rules, the
// question about existing step files, the progress window, Stop and the
// summary; and a recording replayed end to end.

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "app/application.h"
#include "app/commands.h"
#include "batch_command_fixture.h"
#include "common/text_file.h"
#include "macro/batch_form.h"
#include "macro/macro_pictures.h"
#include "picture/rgbe_reader.h"
#include "support/scripted_desktop.h"
#include "tools/exposure_form.h"

namespace fs = std::filesystem;

TEST_F(BatchCommand, OkNeedsASequenceAndAFolder) {
    int shown = 0;
    desktop.batch_dialog = [&](BatchForm& form) {
        ++shown;
        EXPECT_TRUE(form.sequence_text.empty());
        EXPECT_TRUE(form.folder_text.empty());
        EXPECT_FALSE(form.on_ok());
        return 0;
    };
    app.on_command(command::batch_process);
    EXPECT_EQ(shown, 1);
    ASSERT_EQ(desktop.messages.size(), 1u);
    EXPECT_EQ(desktop.messages[0].text, "Invalid File/Path");
    EXPECT_EQ(desktop.messages[0].caption, "File Error");
    EXPECT_EQ(desktop.messages[0].icon, MessageIcon::warning);
    EXPECT_EQ(desktop.messages[0].owner, Owner::none);
}

TEST_F(BatchCommand, BrowseAsksForAMacroFileAndShowsIt) {
    desktop.file_answers.push_back({1, "/m/x.seq"});
    desktop.batch_dialog = [](BatchForm& form) {
        form.on_browse();
        EXPECT_EQ(form.sequence_text, "/m/x.seq");
        return 0;
    };
    app.on_command(command::batch_process);
    ASSERT_EQ(desktop.file_requests.size(), 1u);
    EXPECT_EQ(desktop.file_requests[0].kind, FileDialogRequest::Kind::open);
    EXPECT_EQ(desktop.file_requests[0].title, "Open Macro File");
    EXPECT_EQ(desktop.file_requests[0].filters[0].label, "Macro Sequence Files");
    EXPECT_EQ(desktop.file_requests[0].filters[0].pattern, "*.seq;");
    EXPECT_EQ(app.sequence_path(), "/m/x.seq");

    // A cancelled Browse empties the path and leaves the field's text.
    desktop.batch_dialog = [](BatchForm& form) {
        form.sequence_text = "/m/x.seq";
        form.on_browse();
        EXPECT_EQ(form.sequence_text, "/m/x.seq");
        return 0;
    };
    app.on_command(command::batch_process);
    EXPECT_EQ(app.sequence_path(), "");
}

TEST_F(BatchCommand, SetPathRefusesAFolderTheShellWouldMisread) {
    desktop.folder_answers = {pictures.str(), "/my pictures"};
    desktop.batch_dialog = [](BatchForm& form) {
        form.on_set_path();
        EXPECT_FALSE(form.folder_text.empty());
        form.on_set_path();
        return 0;
    };
    app.on_command(command::batch_process);
    EXPECT_EQ(app.collection_folder(), "");
    ASSERT_EQ(desktop.messages.size(), 1u);
    EXPECT_EQ(desktop.messages[0].text, "Cache path cannot contain spaces");
    EXPECT_EQ(desktop.messages[0].caption, "Path Error");
    EXPECT_EQ(desktop.messages[0].icon, MessageIcon::error);
}

TEST_F(BatchCommand, ReplaysWithProgressAndSumsUp) {
    write_macro_picture(pictures / "a.hdr", 8, 6);
    write_macro_picture(pictures / "b.hdr", 8, 6);
    choose(write_sequence(seq / "m.seq", {flip_line(), rotate_line()}), pictures.str());
    app.on_command(command::batch_process);
    for (const char* name : {"1-a.hdr", "2-a.hdr", "1-b.hdr", "2-b.hdr"}) EXPECT_TRUE(fs::exists(pictures / name)) << name;
    EXPECT_EQ(desktop.batch_progress_shows, 1);
    EXPECT_EQ(desktop.batch_progress_closes, 1);
    EXPECT_EQ(desktop.batch_progress_steps, 4);
    ASSERT_EQ(desktop.batch_progress.size(), 4u);
    EXPECT_EQ(desktop.batch_progress[3], (std::pair<int, std::string>{3, "b.hdr: step 2 of 2 (picture 2 of 2)"}));
    EXPECT_GT(desktop.batch_pumps, 0);
    EXPECT_EQ(desktop.progress_shows, 0) << "no Processing... window for batch steps";
    EXPECT_EQ(last_message().text, "2 of 2 pictures processed, 4 steps run (2 per picture).");
    EXPECT_EQ(last_message().caption, "Batch Process");
    EXPECT_EQ(last_message().icon, MessageIcon::information);
    EXPECT_FALSE(app.image_loaded()) << "the main window's picture is not touched";
}

TEST_F(BatchCommand, ASummaryWithRefusedLinesSaysTheWorkIsIncomplete) {
    write_macro_picture(pictures / "a.hdr", 8, 6);
    TempFolder home;
    write_file(home / ".bashrc", "kept");
    choose(write_sequence(seq / "m.seq", {"40015#/C pflip -c -h " + working_copy() + " " + (home / ".bashrc").string() +
                                              "#NULL",
                                          flip_line()}),
           pictures.str());
    app.on_command(command::batch_process);
    EXPECT_EQ(read_file(home / ".bashrc"), "kept");
    EXPECT_TRUE(fs::exists(pictures / "1-a.hdr"));
    EXPECT_EQ(last_message().text.rfind("Work incomplete: 1 lines of the sequence were not replayed.\n"
                                        "1 of 1 pictures processed, 1 steps run (1 per picture).\n\n"
                                        "About the sequence:\nLine 1 refused (the file it writes must be the step "
                                        "output, not \"" + (home / ".bashrc").string() + "\")",
                                        0),
              0u)
        << last_message().text;
    EXPECT_EQ(last_message().icon, MessageIcon::warning);
}

TEST_F(BatchCommand, TheKeptChoicesReplayAgainFromEmptyFields) {
    write_macro_picture(pictures / "a.hdr", 8, 6);
    choose(write_sequence(seq / "m.seq", {flip_line()}), pictures.str());
    app.on_command(command::batch_process);
    fs::remove(pictures / "1-a.hdr");
    desktop.batch_dialog = [](BatchForm& form) {
        EXPECT_TRUE(form.sequence_text.empty());
        return form.on_ok() ? 1 : 0;
    };
    app.on_command(command::batch_process);
    EXPECT_TRUE(fs::exists(pictures / "1-a.hdr"));
}

TEST_F(BatchCommand, AsksOnceBeforeReplacingStepFiles) {
    write_macro_picture(pictures / "a.hdr", 8, 6);
    write_macro_picture(pictures / "b.hdr", 8, 6);
    write_file(pictures / "1-a.hdr", "older");
    write_file(pictures / "1-b.hdr", "older");
    choose(write_sequence(seq / "m.seq", {flip_line()}), pictures.str());
    app.on_command(command::batch_process);  // No: nothing replaced
    ASSERT_EQ(desktop.questions.size(), 1u);
    EXPECT_EQ(desktop.questions[0].caption, "Batch Process");
    EXPECT_EQ(desktop.questions[0].text, "2 files this batch writes exist already, among them " +
                                             (pictures / "1-a.hdr").string() + ".\nDo you want to replace them?");
    EXPECT_EQ(read_file(pictures / "1-a.hdr"), "older");
    EXPECT_NE(last_message().text.find("a.hdr: 1-a.hdr exists already"), std::string::npos) << last_message().text;
    EXPECT_EQ(last_message().icon, MessageIcon::warning);

    desktop.yes_no_answers = {true};
    desktop.batch_dialog = [](BatchForm& form) { return form.on_ok() ? 1 : 0; };
    app.on_command(command::batch_process);
    EXPECT_EQ(desktop.questions.size(), 2u);
    EXPECT_NE(read_file(pictures / "1-a.hdr"), "older");
    EXPECT_NE(read_file(pictures / "1-b.hdr"), "older");
}

TEST_F(BatchCommand, StopEndsAfterTheCurrentStep) {
    write_macro_picture(pictures / "a.hdr", 8, 6);
    write_macro_picture(pictures / "b.hdr", 8, 6);
    choose(write_sequence(seq / "m.seq", {flip_line(), rotate_line()}), pictures.str());
    desktop.stop_after_updates = 1;
    app.on_command(command::batch_process);
    EXPECT_TRUE(fs::exists(pictures / "1-a.hdr"));
    EXPECT_FALSE(fs::exists(pictures / "2-a.hdr"));
    EXPECT_FALSE(fs::exists(pictures / "1-b.hdr"));
    EXPECT_NE(last_message().text.find("Stopped before the end."), std::string::npos);
}

TEST_F(BatchCommand, AnUnreadableSequenceFileIsReported) {
    choose((seq / "gone.seq").string(), pictures.str());
    app.on_command(command::batch_process);
    ASSERT_EQ(desktop.messages.size(), 1u);
    EXPECT_EQ(desktop.messages[0].caption, "File IO Error!");
    EXPECT_EQ(desktop.messages[0].text, "Could not read the sequence file " + (seq / "gone.seq").string());
    EXPECT_EQ(desktop.batch_progress_shows, 0);
}

TEST_F(BatchCommand, BatchStepsAreNotRecordedIntoAMacro) {
    write_macro_picture(pictures / "room.hdr", 8, 6);
    app.on_open_command((pictures / "room.hdr").string());
    app.on_command(command::record_macro);
    choose(write_sequence(seq / "m.seq", {flip_line()}), pictures.str());
    app.on_command(command::batch_process);
    EXPECT_TRUE(fs::exists(pictures / "1-room.hdr"));
    EXPECT_EQ(read_file(cache / "untitled.tmp"), "");
}

// Crop, rotate and an exposure change recorded on one picture with the Edit
// menu, replayed on a folder of three pictures of other sizes and exposures.
TEST_F(BatchCommand, ARecordedCropRotationAndExposureReplaysOnAFolder) {
    TempFolder recorded;
    write_macro_picture(recorded / "first.hdr", 40, 30);
    app.on_resize(800, 600);
    app.on_open_command((recorded / "first.hdr").string());
    ASSERT_TRUE(app.image_loaded());

    app.on_command(command::record_macro);
    // The crop of the rectangle (5, 12)-(25, 22): 20 x 10, 8 rows above the bottom.
    Region& selection = app.tools().selection();
    selection.x0 = 5;
    selection.y0 = 12;
    selection.x1 = 25;
    selection.y1 = 22;
    app.on_command(command::crop);
    app.on_command(command::rotate_90);
    desktop.exposure_dialog = [](ExposureForm& form) {
        form.text = "4.0";
        return form.on_ok().value_or(0);
    };
    app.on_command(command::exposure);
    ASSERT_TRUE(desktop.messages.empty()) << desktop.messages[0].text;
    EXPECT_EQ(app.luminance_map().width, 10);
    EXPECT_EQ(app.luminance_map().exposure, 4.0f);
    const std::string macro = (seq / "crop-turn-expose").string();
    desktop.file_answers.push_back({1, macro});
    app.on_command(command::stop_recording);
    ASSERT_TRUE(desktop.messages.empty()) << desktop.messages[0].text;
    const auto lines = read_text_lines(macro + ".seq");
    ASSERT_TRUE(lines.has_value());
    ASSERT_EQ(lines->size(), 3u);
    EXPECT_EQ((*lines)[0], "40004#/C pcompos -x 20 -y 10 " + working_copy() + " -5 -8 > " + step_output() + "#NULL");
    EXPECT_EQ((*lines)[1].substr(0, 6), "40013#");
    EXPECT_EQ((*lines)[2], "40018#/C pfilt -1 -e 4 " + working_copy() + " > " + step_output() + "#4");

    struct Source {
        const char* name;
        int width, height;
        std::vector<std::string> header;
    };
    const Source sources[] = {{"p1.hdr", 40, 30, {}}, {"p2.hdr", 50, 40, {"EXPOSURE=0.5"}}, {"p3.hdr", 60, 30, {"EXPOSURE=2"}}};
    for (const Source& source : sources) write_macro_picture(pictures / source.name, source.width, source.height, source.header);

    choose(macro + ".seq", pictures.str());
    app.on_command(command::batch_process);
    EXPECT_EQ(last_message().text, "3 of 3 pictures processed, 9 steps run (3 per picture).");

    for (const Source& source : sources) {
        SCOPED_TRACE(source.name);
        const auto original = load_luminance_map((pictures / source.name).string());
        const auto cropped = load_luminance_map((pictures / (std::string("1-") + source.name)).string());
        const auto turned = load_luminance_map((pictures / (std::string("2-") + source.name)).string());
        const auto exposed = load_luminance_map((pictures / (std::string("3-") + source.name)).string());
        ASSERT_TRUE(original.ok() && cropped.ok() && turned.ok() && exposed.ok());
        EXPECT_EQ(cropped.value().width, 20);
        EXPECT_EQ(cropped.value().height, 10);
        EXPECT_EQ(turned.value().width, 10);
        EXPECT_EQ(turned.value().height, 20);
        EXPECT_EQ(exposed.value().width, 10);
        EXPECT_EQ(exposed.value().height, 20);
        EXPECT_FLOAT_EQ(exposed.value().exposure, 4.0f) << "every picture ends at the exposure asked for";
        const int h = source.height;
        for (int row = 0; row < 20; ++row)
            for (int column = 0; column < 10; ++column) {
                // Rotated clockwise: row r, column c of the result is row 9 - c,
                // column r of the crop, which is row h - 18 + (9 - c), column r + 5 of the source.
                const float expected = original.value().at(row + 5, h - 18 + 9 - column);
                ASSERT_NEAR(exposed.value().at(column, row), expected, expected * 0.01f) << row << "," << column;
                ASSERT_FLOAT_EQ(turned.value().at(column, row), expected);
            }
    }
}
