// Tools > Tonemapping > Reinhard... and Ward... through the Application: what
// runs after OK, the messages of success and failure, and what is left in
// the cache directory.

#include <gtest/gtest.h>

#include "app/application.h"
#include "app/commands.h"
#include "support/fake_program.h"
#include "support/formula_pictures.h"
#include "support/scripted_desktop.h"
#include "support/temp_folder.h"
#include "tools/reinhard_form.h"
#include "tools/ward_form.h"

namespace {

namespace fs = std::filesystem;

std::string write_picture(const fs::path& path) {
    EXPECT_TRUE(write_formula_picture(
        path.string(), 40, 24, [](int x, int y) { return encode_rgbe(0.2f * x + 0.1f, 0.15f * x + 0.3f * y, 0.5f); },
        {"EXPOSURE=0.5"}));
    return path.string();
}

bool is_jpeg(const std::string& bytes) { return bytes.size() > 3 && bytes.compare(0, 3, "\xFF\xD8\xFF") == 0; }

class Tonemapping : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(app.on_create());
        desktop.file_answers.push_back({1, write_picture(pictures / "scene.hdr")});
        app.on_command(command::open);
        ASSERT_TRUE(app.image_loaded());
        working_copy = read_file(cache / "dtemp.hdr");
    }
    // OK in the Reinhard dialog after choosing `name` with Browse.
    void reinhard_ok(const std::string& name, bool dodging = false) {
        desktop.reinhard_dialog = [this, name, dodging](ReinhardForm& form) {
            desktop.file_answers.push_back({1, out(name)});
            form.on_browse();
            form.dodging_checked = dodging;
            return form.on_ok() ? 1 : 0;
        };
        app.on_command(command::reinhard);
    }
    void ward_ok(const std::string& name, std::initializer_list<size_t> switches = {}) {
        desktop.ward_dialog = [this, name, switches](WardForm& form) {
            desktop.file_answers.push_back({1, out(name)});
            form.on_browse();
            for (size_t i : switches) form.on_switch(i, true);
            return form.on_ok() ? 1 : 0;
        };
        app.on_command(command::ward);
    }
    void use_fakes() { app.runner().set_program_folder(fakes.str() + ":" + CANDELUX_PROGRAMS_DIR); }
    std::string out(const std::string& name) const { return (output / name).string(); }

    TempFolder config;
    TempFolder cache;
    TempFolder pictures;
    TempFolder output;
    TempFolder fakes;
    ScriptedDesktop desktop;
    Application app{desktop, PlatformFolders{config.str(), cache.str()}, CANDELUX_PROGRAMS_DIR};
    std::string working_copy;
};

TEST_F(Tonemapping, CancellingEitherDialogRunsNothing) {
    const int shows = desktop.progress_shows;
    app.on_command(command::reinhard);
    app.on_command(command::ward);
    EXPECT_EQ(desktop.progress_shows, shows);
    EXPECT_TRUE(desktop.messages.empty());
}

TEST_F(Tonemapping, ReinhardRunsWithTheDialogsOptionsAndReportsSuccess) {
    use_fakes();
    write_fake_program(fakes.path(), "ReinhardTM", "echo \"$*\" > \"$4\"");
    reinhard_ok("photo", true);
    EXPECT_EQ(read_file(out("photo.jpg")), "-i " + (cache / "dtemp.hdr").string() + " -o " + out("photo.jpg") +
                                               " -scale -key 0.18 -white 1e+020 -gamma 1.6 -threshold 0.05\n");
    ASSERT_EQ(desktop.messages.size(), 1u);
    EXPECT_EQ(desktop.messages[0].text, "Tonemapped Image was successfully saved in the specified location");
    EXPECT_EQ(desktop.messages[0].caption, "Reinhard Photographic Tonemapping");
    EXPECT_EQ(desktop.messages[0].icon, MessageIcon::information);
    EXPECT_FALSE(desktop.progress_shown());
    EXPECT_EQ(read_file(cache / "dtemp.hdr"), working_copy);
}

TEST_F(Tonemapping, ReinhardShowsWhatTheProgramPrintedUnderTonemappingError) {
    use_fakes();
    write_fake_program(fakes.path(), "ReinhardTM", "echo 'ReinhardTM: Unknown value for -key: 0' >&2; exit 1");
    reinhard_ok("photo.jpg");
    ASSERT_EQ(desktop.messages.size(), 1u);
    EXPECT_EQ(desktop.messages[0].text, "ReinhardTM: Unknown value for -key: 0\n");
    EXPECT_EQ(desktop.messages[0].caption, "Tonemapping Error!");
    EXPECT_EQ(desktop.messages[0].icon, MessageIcon::warning);
    EXPECT_EQ(desktop.messages[0].owner, Owner::none);
    EXPECT_FALSE(desktop.progress_shown());
}

TEST_F(Tonemapping, ReinhardTakesAMissingPictureForAFailure) {
    use_fakes();
    write_fake_program(fakes.path(), "ReinhardTM", "exit 0");
    reinhard_ok("photo.jpg");
    ASSERT_EQ(desktop.messages.size(), 1u);
    EXPECT_EQ(desktop.messages[0].caption, "Tonemapping Error!");
    EXPECT_EQ(desktop.messages[0].text, "ReinhardTM wrote nothing to " + out("photo.jpg"));
}

TEST_F(Tonemapping, WardRunsPcondThenTmLinearAndRemovesItsScratchPicture) {
    use_fakes();
    write_fake_program(fakes.path(), "pcond", "echo \"pcond $*\"");
    write_fake_program(fakes.path(), "tm_linear", "cat \"$2\" > \"$4\"");
    ward_ok("ward", {0, 1, 6});
    const std::string scratch = (cache / "pcondtemp.hdr").string();
    // -a is part of -h and is not sent again; -e only with -l.
    EXPECT_EQ(read_file(out("ward.jpg")), "pcond -h -l -e 1 " + (cache / "dtemp.hdr").string() + "\n");
    ASSERT_EQ(desktop.messages.size(), 1u);
    EXPECT_EQ(desktop.messages[0].text, "Tonemapped Image was successfully saved in the specified location");
    EXPECT_EQ(desktop.messages[0].caption, "Ward Tonemapping");
    EXPECT_EQ(desktop.messages[0].icon, MessageIcon::information);
    EXPECT_EQ(desktop.messages[0].owner, Owner::dialog);
    EXPECT_FALSE(fs::exists(scratch));
}

TEST_F(Tonemapping, WardNamesTheStepThatFailed) {
    use_fakes();
    write_fake_program(fakes.path(), "pcond", "echo 'pcond: bad picture' >&2; exit 1");
    ward_ok("a.jpg");
    ASSERT_EQ(desktop.messages.size(), 1u);
    EXPECT_EQ(desktop.messages[0].caption, "Tonemapping Error at pcond!");
    EXPECT_EQ(desktop.messages[0].text, "pcond: bad picture\n");

    write_fake_program(fakes.path(), "pcond", "echo picture");
    write_fake_program(fakes.path(), "tm_linear", "echo 'tm_linear: Unknown output: cannot write X' >&2; exit 1");
    ward_ok("b.jpg");
    ASSERT_EQ(desktop.messages.size(), 2u);
    EXPECT_EQ(desktop.messages[1].caption, "Tonemapping Error at WardTM!");
    EXPECT_EQ(desktop.messages[1].icon, MessageIcon::warning);
    EXPECT_FALSE(desktop.progress_shown());
    EXPECT_FALSE(fs::exists(cache / "pcondtemp.hdr"));
}

TEST_F(Tonemapping, WardTakesAnEmptyPcondPictureForAFailure) {
    use_fakes();
    write_fake_program(fakes.path(), "pcond", "exit 0");
    write_fake_program(fakes.path(), "tm_linear", "echo ran > \"$4\"");
    ward_ok("a.jpg");
    ASSERT_EQ(desktop.messages.size(), 1u);
    EXPECT_EQ(desktop.messages[0].caption, "Tonemapping Error at pcond!");
    EXPECT_FALSE(fs::exists(out("a.jpg")));
}

TEST_F(Tonemapping, BothOperatorsWriteAJpegOfThePicture) {
    reinhard_ok("reinhard.jpg", true);
    ward_ok("ward.jpg", {0, 5});
    ASSERT_EQ(desktop.messages.size(), 2u);
    EXPECT_EQ(desktop.messages[0].caption, "Reinhard Photographic Tonemapping") << desktop.messages[0].text;
    EXPECT_EQ(desktop.messages[1].caption, "Ward Tonemapping") << desktop.messages[1].text;
    EXPECT_TRUE(is_jpeg(read_file(out("reinhard.jpg"))));
    EXPECT_TRUE(is_jpeg(read_file(out("ward.jpg"))));
    EXPECT_EQ(read_file(cache / "dtemp.hdr"), working_copy);
}

}  // namespace
