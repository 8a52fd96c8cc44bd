// File > Save As... through the Application: the dialog by display mode,
// the name rule, the overwrite question about the name written, the copy and
// the conversions, and every way a conversion can fail.

#include <gtest/gtest.h>

#include "app/application.h"
#include "app/commands.h"
#include "support/fake_program.h"
#include "support/formula_pictures.h"
#include "support/scripted_desktop.h"
#include "support/temp_folder.h"
#include "tools/export_commands.h"

namespace {

namespace fs = std::filesystem;

// 48 x 32 pixels whose brightness grows along the row and down the picture.
std::string write_gradient(const fs::path& path) {
    EXPECT_TRUE(write_formula_picture(path.string(), 48, 32, [](int x, int y) {
        return encode_rgbe(0.05f * x + 1, 0.04f * x + 0.5f * y, 0.1f * y + 1);
    }));
    return path.string();
}

bool is_jpeg(const std::string& bytes) { return bytes.size() > 3 && bytes.compare(0, 3, "\xFF\xD8\xFF") == 0; }

class SaveAs : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(app.on_create());
        app.on_resize(800, 600);
        desktop.file_answers.push_back({1, write_gradient(pictures / "room.hdr")});
        app.on_command(command::open);
        ASSERT_TRUE(app.image_loaded());
        working_copy = read_file(cache / "dtemp.hdr");
        desktop.file_requests.clear();
        desktop.progress_shows = 0;
    }
    void save(int type, const std::string& path) {
        desktop.file_answers.push_back({type, path});
        app.on_command(command::save_as);
    }
    // Stand-ins first on the search path, our own programs after them.
    void use_fakes() { app.runner().set_program_folder(fakes.str() + ":" + CANDELUX_PROGRAMS_DIR); }
    std::string out(const std::string& name) const { return (output / name).string(); }
    void expect_working_copy_untouched() { EXPECT_EQ(read_file(cache / "dtemp.hdr"), working_copy); }

    TempFolder config;
    TempFolder cache;
    TempFolder pictures;
    TempFolder output;
    TempFolder fakes;
    ScriptedDesktop desktop;
    Application app{desktop, PlatformFolders{config.str(), cache.str()}, CANDELUX_PROGRAMS_DIR};
    std::string working_copy;
};

TEST_F(SaveAs, OffersFourTypesInTheNormalView) {
    app.on_command(command::save_as);  // cancelled
    ASSERT_EQ(desktop.file_requests.size(), 1u);
    const FileDialogRequest& request = desktop.file_requests[0];
    EXPECT_EQ(request.title, "Save Image as");
    EXPECT_EQ(request.kind, FileDialogRequest::Kind::save);
    EXPECT_EQ(request.owner, Owner::main_window);
    ASSERT_EQ(request.filters.size(), 4u);
    EXPECT_EQ(request.filters[0].label, "Radiance RGBE Image (*.hdr)");
    EXPECT_EQ(request.filters[3].pattern, "*.gif;");
    // The question comes from the application, about the final name.
    EXPECT_FALSE(request.overwrite_prompt);
    EXPECT_TRUE(desktop.messages.empty());
    EXPECT_EQ(desktop.progress_shows, 0);
}

TEST_F(SaveAs, CopiesTheWorkingCopyAsRgbeUnderTheHdrName) {
    save(save_rgbe, out("pic"));
    EXPECT_TRUE(desktop.messages.empty());
    EXPECT_EQ(read_file(out("pic.hdr")), working_copy);
    EXPECT_FALSE(fs::exists(out("pic")));
    save(save_rgbe, out("kept.hdr"));
    EXPECT_EQ(read_file(out("kept.hdr")), working_copy);
    EXPECT_FALSE(fs::exists(out("kept.hdr.hdr")));
    // No program runs for a copy, and no temporary file is left beside it.
    EXPECT_EQ(desktop.progress_shows, 0);
    EXPECT_EQ(std::distance(fs::directory_iterator(output.path()), fs::directory_iterator()), 2);
    expect_working_copy_untouched();
}

TEST_F(SaveAs, AsksAboutTheNameActuallyWrittenAndKeepsTheFileOnNo) {
    write_file(out("office.hdr"), "the earlier office");
    write_file(out("office"), "a file without extension");
    desktop.yes_no_answers.push_back(false);
    save(save_rgbe, out("office"));
    ASSERT_EQ(desktop.questions.size(), 1u);
    EXPECT_NE(desktop.questions[0].text.find(out("office.hdr") + " already exists"), std::string::npos);
    EXPECT_EQ(desktop.questions[0].owner, Owner::main_window);
    EXPECT_EQ(read_file(out("office.hdr")), "the earlier office");

    desktop.yes_no_answers.push_back(true);
    save(save_rgbe, out("office"));
    EXPECT_EQ(desktop.questions.size(), 2u);
    EXPECT_EQ(read_file(out("office.hdr")), working_copy);
    EXPECT_EQ(read_file(out("office")), "a file without extension");
}

TEST_F(SaveAs, AsksNothingForANewName) {
    save(save_bmp, out("new"));
    EXPECT_TRUE(desktop.questions.empty());
    EXPECT_TRUE(fs::exists(out("new.bmp")));
}

TEST_F(SaveAs, WritesBmpAndGifThroughTheirPrograms) {
    save(save_bmp, out("pic"));
    save(save_gif, out("pic.gif"));
    ASSERT_TRUE(desktop.messages.empty()) << desktop.messages[0].text;
    const std::string bmp = read_file(out("pic.bmp"));
    ASSERT_GT(bmp.size(), 26u);
    EXPECT_EQ(bmp.compare(0, 2, "BM"), 0);
    EXPECT_EQ(static_cast<uint8_t>(bmp[18]), 48);  // width
    EXPECT_EQ(read_file(out("pic.gif")).compare(0, 3, "GIF"), 0);
    EXPECT_FALSE(desktop.progress_shown());
    EXPECT_EQ(desktop.progress_shows, 2);
    expect_working_copy_untouched();
}

TEST_F(SaveAs, RefusesAPathTheShellWouldInterpret) {
    for (const std::string name : {"my pic", "a;rm", "x$HOME", "q'uote"}) {
        desktop.messages.clear();
        save(save_bmp, out(name));
        ASSERT_EQ(desktop.messages.size(), 1u) << name;
        EXPECT_EQ(desktop.messages[0].text, "File path cannot contain spaces");
        EXPECT_EQ(desktop.messages[0].caption, "Path Error");
        EXPECT_EQ(desktop.messages[0].icon, MessageIcon::error);
        EXPECT_EQ(desktop.messages[0].owner, Owner::main_window);
    }
    EXPECT_EQ(desktop.progress_shows, 0);
    EXPECT_TRUE(fs::is_empty(output.path()));
}

TEST_F(SaveAs, ShowsWhatAFailingProgramPrintedUnderRadianceProcessError) {
    use_fakes();
    write_fake_program(fakes.path(), "ra_bmp", "echo 'ra_bmp: cannot write output' >&2; exit 1");
    save(save_bmp, out("pic"));
    ASSERT_EQ(desktop.messages.size(), 1u);
    EXPECT_EQ(desktop.messages[0].text, "ra_bmp: cannot write output\n");
    EXPECT_EQ(desktop.messages[0].caption, "Radiance Process Error!");
    EXPECT_EQ(desktop.messages[0].icon, MessageIcon::warning);
    EXPECT_EQ(desktop.messages[0].owner, Owner::none);
    EXPECT_FALSE(desktop.progress_shown());
    expect_working_copy_untouched();
}

TEST_F(SaveAs, TakesTextWithoutTheWordUnknownForAFailureToo) {
    // A program that wrote its picture but complained still failed.
    use_fakes();
    write_fake_program(fakes.path(), "ra_gif", "echo picture > \"$2\"; echo 'ra_gif: warning'");
    save(save_gif, out("pic"));
    ASSERT_EQ(desktop.messages.size(), 1u);
    EXPECT_EQ(desktop.messages[0].text, "ra_gif: warning\n");
}

TEST_F(SaveAs, TakesASilentFailureOrAMissingPictureForAFailure) {
    use_fakes();
    write_fake_program(fakes.path(), "ra_bmp", "exit 3");
    save(save_bmp, out("silent"));
    ASSERT_EQ(desktop.messages.size(), 1u);
    EXPECT_NE(desktop.messages[0].text.find("ra_bmp failed with exit status 3"), std::string::npos);

    write_fake_program(fakes.path(), "ra_bmp", "exit 0");
    save(save_bmp, out("nothing"));
    ASSERT_EQ(desktop.messages.size(), 2u);
    EXPECT_EQ(desktop.messages[1].text, "ra_bmp wrote nothing to " + out("nothing.bmp"));
    EXPECT_EQ(desktop.messages[1].caption, "Radiance Process Error!");
}

TEST_F(SaveAs, TakesAMissingProgramForAFailure) {
    app.runner().set_program_folder(fakes.str());  // nothing in it
    app.settings().default_tone_mapper = tone_mapper_reinhard;
    save(save_jpeg, out("pic"));
    ASSERT_EQ(desktop.messages.size(), 1u);
    EXPECT_NE(desktop.messages[0].text.find("not found"), std::string::npos);
    EXPECT_EQ(desktop.messages[0].caption, "Radiance Process Error!");
}

TEST_F(SaveAs, RunsTheWardPairForJpegAndStopsAtAFailingPcond) {
    use_fakes();
    app.settings().default_tone_mapper = tone_mapper_ward;
    write_fake_program(fakes.path(), "pcond", "echo 'pcond: cannot read picture' >&2; exit 1");
    write_fake_program(fakes.path(), "tm_linear", "echo ran > " + (fakes / "tm_linear_ran").string());
    save(save_jpeg, out("pic"));
    ASSERT_EQ(desktop.messages.size(), 1u);
    EXPECT_EQ(desktop.messages[0].text, "pcond: cannot read picture\n");
    EXPECT_FALSE(fs::exists(fakes / "tm_linear_ran"));
    EXPECT_FALSE(desktop.progress_shown());
}

TEST_F(SaveAs, RunsTheWardPairInOrderThroughTheScratchPicture) {
    use_fakes();
    app.settings().default_tone_mapper = tone_mapper_ward;
    // pcond's picture goes to standard output; tm_linear gets it with -i.
    write_fake_program(fakes.path(), "pcond", "echo \"pcond $*\"");
    write_fake_program(fakes.path(), "tm_linear", "cat \"$2\" > \"$4\"; echo \"tm_linear $*\" >> \"$4\"");
    save(save_jpeg, out("pic"));
    ASSERT_TRUE(desktop.messages.empty()) << desktop.messages[0].text;
    const std::string scratch = (cache / "dtemps.hdr").string();
    EXPECT_EQ(read_file(out("pic.jpg")), "pcond " + (cache / "dtemp.hdr").string() + "\ntm_linear -i " + scratch +
                                             " -o " + out("pic.jpg") + "\n");
    // Left for the close-time clean-up.
    EXPECT_TRUE(fs::exists(scratch));
    EXPECT_EQ(desktop.progress_shows, 2);
}

TEST_F(SaveAs, WritesJpegWithEitherToneMapper) {
    app.settings().default_tone_mapper = tone_mapper_reinhard;
    save(save_jpeg, out("reinhard"));
    app.settings().default_tone_mapper = tone_mapper_ward;
    save(save_jpeg, out("ward.jpeg"));
    ASSERT_TRUE(desktop.messages.empty()) << desktop.messages[0].text;
    EXPECT_TRUE(is_jpeg(read_file(out("reinhard.jpg"))));
    EXPECT_TRUE(is_jpeg(read_file(out("ward.jpeg.jpg"))));
    expect_working_copy_untouched();
}

TEST_F(SaveAs, ShowsAFailingCopyAsFileIoErrorWithTheName) {
    const std::string name = out("missing/folder/pic");
    save(save_rgbe, name);
    ASSERT_EQ(desktop.messages.size(), 1u);
    EXPECT_EQ(desktop.messages[0].caption, "File IO Error!");
    EXPECT_NE(desktop.messages[0].text.find(name + ".hdr"), std::string::npos);
}

TEST_F(SaveAs, SavesTheFalsecolorBitmapInTheFalsecolorView) {
    app.on_command(command::falsecolor);
    ASSERT_TRUE(app.falsecolor_open());
    ASSERT_TRUE(desktop.menu_enabled[command::save_as]);
    save(1, out("fc"));
    ASSERT_EQ(desktop.file_requests.size(), 1u);
    ASSERT_EQ(desktop.file_requests[0].filters.size(), 1u);
    EXPECT_EQ(desktop.file_requests[0].filters[0].label, "Bitmap Image (*.bmp)");
    EXPECT_TRUE(desktop.messages.empty());
    EXPECT_EQ(read_file(out("fc.bmp")), read_file(cache / "dfalse.bmp"));
    EXPECT_NE(read_file(out("fc.bmp")), read_file(cache / "dtemp.gif"));
}

TEST_F(SaveAs, ShowsAMissingFalsecolorBitmapAsFileIoError) {
    app.on_command(command::falsecolor);
    fs::remove(cache / "dfalse.bmp");
    save(1, out("fc"));
    ASSERT_EQ(desktop.messages.size(), 1u);
    EXPECT_EQ(desktop.messages[0].caption, "File IO Error!");
    EXPECT_NE(desktop.messages[0].text.find("dfalse.bmp"), std::string::npos);
    EXPECT_FALSE(fs::exists(out("fc.bmp")));
}

}  // namespace
