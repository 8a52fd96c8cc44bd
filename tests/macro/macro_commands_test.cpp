// Record Macro and Stop Recording through the Application: the menu, the
// temporary file, the lines each command leaves, the save dialog and where a
// recording goes when it is not saved.

#include <gtest/gtest.h>

#include <filesystem>

#include "app/application.h"
#include "app/commands.h"
#include "common/text_format.h"
#include "macro/macro_pictures.h"
#include "support/scripted_desktop.h"
#include "tools/exposure_form.h"

namespace fs = std::filesystem;

namespace {

class MacroCommands : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(app.on_create());
        app.on_resize(800, 600);
        write_macro_picture(pictures / "room.hdr", 40, 30, {"EXPOSURE=0.5"});
        app.on_open_command((pictures / "room.hdr").string());
        ASSERT_TRUE(app.image_loaded());
        ASSERT_TRUE(desktop.messages.empty()) << desktop.messages[0].text;
    }
    std::string working_copy() const { return cache.str() + "/dtemp.hdr"; }
    std::string step_output() const { return cache.str() + "/dtempo.hdr"; }
    std::string rotate_line() const { return "/C protate  " + working_copy() + " " + step_output(); }
    std::string flip_line() const { return "/C pflip -c -h " + working_copy() + " " + step_output(); }
    // The menu command's number as the main window notes it, then its program.
    int edit(int id, const std::string& line) {
        app.recorder().note_command(id);
        return app.run_editing_step(line);
    }
    std::string temporary() const { return cache.str() + "/untitled.tmp"; }
    // Stops, saving under `path`.
    void stop_as(const std::string& path) {
        desktop.file_answers.push_back({1, path});
        app.on_command(command::stop_recording);
    }

    TempFolder config;
    TempFolder cache;
    TempFolder pictures;
    TempFolder saved;
    ScriptedDesktop desktop;
    Application app{desktop, PlatformFolders{config.str(), cache.str()}, CANDELUX_PROGRAMS_DIR};
};

}  // namespace

TEST_F(MacroCommands, RecordMacroSwapsTheMenuItemsAndOpensTheTemporaryFileInTheCache) {
    EXPECT_TRUE(desktop.menu_enabled[command::record_macro]);
    EXPECT_FALSE(desktop.menu_enabled[command::stop_recording]);
    app.on_command(command::record_macro);
    EXPECT_TRUE(app.recorder().recording());
    EXPECT_FALSE(desktop.menu_enabled[command::record_macro]);
    EXPECT_TRUE(desktop.menu_enabled[command::stop_recording]);
    EXPECT_TRUE(fs::exists(temporary()));
    stop_as((saved / "m.seq").string());
    EXPECT_FALSE(app.recorder().recording());
    EXPECT_TRUE(desktop.menu_enabled[command::record_macro]);
    EXPECT_FALSE(desktop.menu_enabled[command::stop_recording]);
}

TEST_F(MacroCommands, ARotationAndAFlipAreTwoLinesWithNull) {
    app.on_command(command::record_macro);
    app.on_command(command::rotate_90);
    app.on_command(command::flip_horizontal);  // each reloads the view with ra_bmp, which is not recorded
    ASSERT_TRUE(desktop.messages.empty()) << desktop.messages[0].text;
    stop_as((saved / "turn.seq").string());
    EXPECT_EQ(read_file(saved / "turn.seq"),
              "40013#" + rotate_line() + "#NULL\r\n40015#" + flip_line() + "#NULL\r\n");
    EXPECT_FALSE(fs::exists(temporary())) << "removed once copied";
    EXPECT_TRUE(desktop.messages.empty());
}

TEST_F(MacroCommands, AnExposureChangeCarriesTheTypedValue) {
    app.on_command(command::record_macro);
    desktop.exposure_dialog = [](ExposureForm& form) {
        form.text = "2.5";
        return form.on_ok().value_or(0);
    };
    app.on_command(command::exposure);  // from 0.5: the factor is 5
    ASSERT_TRUE(desktop.messages.empty()) << desktop.messages[0].text;
    stop_as((saved / "exposure.seq").string());
    EXPECT_EQ(read_file(saved / "exposure.seq"),
              "40018#/C pfilt -1 -e 5 " + working_copy() + " > " + step_output() + "#2.5\r\n");
}

TEST_F(MacroCommands, TheEnteredExposureIsWhatTheLineCarries) {
    app.on_command(command::record_macro);
    app.set_entered_exposure(3.0f);
    const std::string line = "/C pfilt -1 -e 6 " + working_copy() + " > " + step_output();
    ASSERT_EQ(edit(command::exposure, line), 0);
    stop_as((saved / "exposure.seq").string());
    EXPECT_EQ(read_file(saved / "exposure.seq"), "40018#" + line + "#3\r\n");
}

TEST_F(MacroCommands, TheMainWindowNotesEveryCommandButOpen) {
    app.on_command(command::record_macro);
    app.on_command(command::fit_to_display);
    ASSERT_EQ(app.run_editing_step(flip_line()), 0);
    desktop.file_answers.push_back({1, (pictures / "room.hdr").string()});
    app.on_command(command::open);  // File > Open leaves the number as it was
    ASSERT_EQ(app.run_editing_step(flip_line()), 0);
    stop_as((saved / "fit.seq").string());
    EXPECT_EQ(read_file(saved / "fit.seq"), "40045#" + flip_line() + "#NULL\r\n40045#" + flip_line() + "#NULL\r\n");
}

TEST_F(MacroCommands, AFailingCommandAddsNoLine) {
    app.on_command(command::record_macro);
    EXPECT_EQ(edit(command::rotate_90, "/C protate  " + cache.str() + "/missing.hdr " + step_output()), -1);
    ASSERT_EQ(desktop.messages.size(), 1u);
    EXPECT_EQ(desktop.messages[0].caption, "Radiance Process Error!");
    stop_as((saved / "none.seq").string());
    EXPECT_EQ(read_file(saved / "none.seq"), "");
}

TEST_F(MacroCommands, TheSaveDialogAsksForAMacroSequenceFile) {
    app.on_command(command::record_macro);
    stop_as((saved / "m").string());
    ASSERT_EQ(desktop.file_requests.size(), 1u);
    const FileDialogRequest& request = desktop.file_requests[0];
    EXPECT_EQ(request.kind, FileDialogRequest::Kind::save);
    EXPECT_EQ(request.title, "");
    ASSERT_EQ(request.filters.size(), 1u);
    EXPECT_EQ(request.filters[0].label, "Macro Sequence File");
    EXPECT_EQ(request.filters[0].pattern, "*.seq;");
}

TEST_F(MacroCommands, NamesWithoutSeqGetIt) {
    for (const char* name : {"plain", "notes.txt", "kept.seq"}) {
        app.on_command(command::record_macro);
        ASSERT_EQ(edit(command::rotate_90, rotate_line()), 0);
        stop_as((saved / name).string());
    }
    EXPECT_TRUE(fs::exists(saved / "plain.seq"));
    EXPECT_TRUE(fs::exists(saved / "notes.txt.seq"));
    EXPECT_TRUE(fs::exists(saved / "kept.seq"));
    EXPECT_FALSE(fs::exists(saved / "kept.seq.seq"));
    EXPECT_FALSE(fs::exists(saved / "plain"));
}

TEST_F(MacroCommands, AsksOnceAboutTheNameActuallyWritten) {
    write_file(saved / "old.seq", "older macro");
    app.on_command(command::record_macro);
    ASSERT_EQ(edit(command::rotate_90, rotate_line()), 0);
    desktop.file_answers.push_back({1, (saved / "old").string()});
    desktop.file_answers.push_back({1, (saved / "old").string()});
    desktop.yes_no_answers = {false, true};
    app.on_command(command::stop_recording);
    ASSERT_EQ(desktop.questions.size(), 2u) << "No shows the save dialog again";
    EXPECT_EQ(desktop.questions[0].text, (saved / "old.seq").string() + " already exists.\nDo you want to replace it?");
    EXPECT_EQ(desktop.file_requests.size(), 2u);
    EXPECT_EQ(read_file(saved / "old.seq"), "40013#" + rotate_line() + "#NULL\r\n");
}

TEST_F(MacroCommands, ACancelledSaveKeepsTheRecordingInTheCacheAndSaysWhere) {
    app.on_command(command::record_macro);
    ASSERT_EQ(edit(command::rotate_90, rotate_line()), 0);
    app.on_command(command::stop_recording);  // no answer: cancelled
    const fs::path kept = cache / "unsaved-macro-1.seq";
    EXPECT_EQ(read_file(kept), "40013#" + rotate_line() + "#NULL\r\n");
    EXPECT_FALSE(fs::exists(temporary()));
    ASSERT_EQ(desktop.messages.size(), 1u);
    EXPECT_EQ(desktop.messages[0].text, "The macro was not saved. Its lines are kept in " + kept.string() + ".");

    // A second one goes beside it, and the close clean-up leaves both.
    app.on_command(command::record_macro);
    ASSERT_EQ(edit(command::flip_horizontal, flip_line()), 0);
    app.on_command(command::stop_recording);
    EXPECT_EQ(read_file(cache / "unsaved-macro-2.seq"), "40015#" + flip_line() + "#NULL\r\n");
    app.on_close();
    EXPECT_TRUE(fs::exists(kept));
    EXPECT_TRUE(fs::exists(cache / "unsaved-macro-2.seq"));
}

TEST_F(MacroCommands, ACancelledEmptyRecordingLeavesNothing) {
    app.on_command(command::record_macro);
    app.on_command(command::stop_recording);
    EXPECT_TRUE(desktop.messages.empty());
    EXPECT_FALSE(fs::exists(temporary()));
    EXPECT_FALSE(fs::exists(cache / "unsaved-macro-1.seq"));
}

TEST_F(MacroCommands, AFailedCopyIsShownAndTheRecordingKept) {
    // A folder where the file should go: nothing can be written over it.
    fs::create_directories(saved / "taken.seq");
    write_file(saved / "taken.seq/inside", "someone else's");
    app.on_command(command::record_macro);
    ASSERT_EQ(edit(command::rotate_90, rotate_line()), 0);
    desktop.yes_no_answers = {true};
    stop_as((saved / "taken.seq").string());
    ASSERT_EQ(desktop.messages.size(), 1u);
    EXPECT_EQ(desktop.messages[0].caption, "File IO Error!");
    EXPECT_EQ(desktop.messages[0].text.rfind("Could not write " + (saved / "taken.seq").string(), 0), 0u)
        << desktop.messages[0].text;
    EXPECT_NE(desktop.messages[0].text.find("unsaved-macro-1.seq"), std::string::npos);
    EXPECT_EQ(read_file(saved / "taken.seq/inside"), "someone else's");
    EXPECT_FALSE(fs::exists(saved / "taken.seq.part"));
    EXPECT_EQ(read_file(cache / "unsaved-macro-1.seq"), "40013#" + rotate_line() + "#NULL\r\n");
}

TEST_F(MacroCommands, ACopyIntoAMissingFolderIsShownToo) {
    app.on_command(command::record_macro);
    ASSERT_EQ(edit(command::rotate_90, rotate_line()), 0);
    stop_as((saved / "gone/m.seq").string());
    ASSERT_EQ(desktop.messages.size(), 1u);
    EXPECT_EQ(desktop.messages[0].caption, "File IO Error!");
    EXPECT_TRUE(fs::exists(cache / "unsaved-macro-1.seq"));
}

TEST_F(MacroCommands, ATemporaryFileThatCannotBeCreatedIsReportedAndRecordingDoesNotStart) {
    app.settings().cache_directory = (cache / "gone").string();
    app.on_command(command::record_macro);
    EXPECT_FALSE(app.recorder().recording());
    ASSERT_EQ(desktop.messages.size(), 1u);
    EXPECT_EQ(desktop.messages[0].caption, "File IO Error!");
    EXPECT_NE(desktop.messages[0].text.find((cache / "gone/untitled.tmp").string()), std::string::npos);
    EXPECT_NE(desktop.messages[0].text.find("Recording did not start."), std::string::npos);
    EXPECT_TRUE(desktop.menu_enabled[command::record_macro]);
    EXPECT_FALSE(desktop.menu_enabled[command::stop_recording]);
}

TEST_F(MacroCommands, RecordMacroStaysOffWhileRecordingWhateverEnablesThePictureItems) {
    app.on_command(command::record_macro);
    app.on_open_command((pictures / "room.hdr").string());
    app.set_image_menu_items(true);
    EXPECT_FALSE(desktop.menu_enabled[command::record_macro]);
    EXPECT_TRUE(desktop.menu_enabled[command::stop_recording]);
    // Record Macro while recording would empty the file; it does nothing.
    ASSERT_EQ(edit(command::rotate_90, rotate_line()), 0);
    app.on_command(command::record_macro);
    stop_as((saved / "m.seq").string());
    EXPECT_EQ(read_file(saved / "m.seq"), "40013#" + rotate_line() + "#NULL\r\n");
}

TEST_F(MacroCommands, ClosingTheWindowWhileRecordingKeepsTheLinesWithoutTheCleanUp) {
    app.on_command(command::record_macro);
    app.on_command(command::rotate_90);
    app.on_close();
    EXPECT_FALSE(app.recorder().recording());
    EXPECT_EQ(read_file(cache / "unsaved-macro-1.seq"), "40013#" + rotate_line() + "#NULL\r\n");
    ASSERT_EQ(desktop.messages.size(), 1u);
    EXPECT_EQ(desktop.messages[0].text, "The macro being recorded was not saved. Its lines are kept in " +
                                            (cache / "unsaved-macro-1.seq").string() + ".");
    EXPECT_FALSE(fs::exists(cache / "dtemp.hdr")) << "the clean-up still ran";
}

TEST_F(MacroCommands, ExitWhileRecordingKeepsTheLinesToo) {
    app.on_command(command::record_macro);
    app.on_command(command::flip_vertical);
    app.on_command(command::exit);
    EXPECT_EQ(read_file(cache / "unsaved-macro-1.seq"), "40016#/C pflip -c -v " + working_copy() + " " + step_output() + "#NULL\r\n");
    EXPECT_TRUE(desktop.main_window_destroyed);
}
