// evalglare's refusals: each prints one line on standard error, nothing on
// standard output, writes no check picture and exits 1.

#include <gtest/gtest.h>

#include <filesystem>

#include "glare_run.h"
#include "glare_scenes.h"

namespace {

class EvalglareGuard : public ::testing::Test {
protected:
    void SetUp() override {
        write_file(folder / "a.hdr", scene_file({"VIEW= -vta -vh 180 -vv 180"}, 60, 60, 1000, {{30, 15, 3, 30000}}));
        write_file(folder / "none.hdr", scene_file({}, 60, 60, 1000));
    }

    // The one error line, after checking that nothing else happened.
    std::string refusal(const std::string& arguments) {
        const auto run = run_in(folder, "evalglare -c chk.hdr " + arguments);
        EXPECT_EQ(run.status, 1) << arguments;
        EXPECT_EQ(run.out, "") << arguments;
        EXPECT_FALSE(std::filesystem::exists(folder / "chk.hdr")) << arguments;
        EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
        return run.err;
    }

    TempFolder folder;
};

bool says(const std::string& text, const std::string& words) { return text.find(words) != std::string::npos; }

TEST_F(EvalglareGuard, PictureWithoutAViewIsRefused) {
    EXPECT_TRUE(says(refusal("none.hdr"), "evalglare: no valid view specified"));
}

TEST_F(EvalglareGuard, MissingOrDamagedPictureIsRefused) {
    EXPECT_TRUE(says(refusal("missing.hdr"), "Can't open missing.hdr"));
    // A file that ends early says so; one whose pixels are garbage cannot.
    const std::string whole = read_file(folder / "a.hdr");
    write_file(folder / "short.hdr", whole.substr(0, 500));
    EXPECT_TRUE(says(refusal("short.hdr"), "short.hdr: the file ends after "));
    EXPECT_TRUE(says(refusal("short.hdr"), " scanlines its resolution line claims"));
    std::string damaged = whole;
    const size_t data = damaged.find("+X");
    for (size_t k = damaged.find('\n', data) + 1; k < damaged.size(); k += 4) damaged[k] = 2;
    write_file(folder / "damaged.hdr", damaged);
    EXPECT_TRUE(says(refusal("damaged.hdr"), "damaged.hdr: read error"));
}

TEST_F(EvalglareGuard, ParallelViewHasNoGlareGeometry) {
    EXPECT_TRUE(says(refusal("-vtl -vh 10 -vv 10 a.hdr"), "wrong view type"));
}

TEST_F(EvalglareGuard, GuthCutNeedsOneOfTheTwoFields) {
    EXPECT_TRUE(says(refusal("-G 0 a.hdr"), "no valid option for view cutting"));
    EXPECT_TRUE(says(refusal("-G 3 a.hdr"), "no valid option for view cutting"));
    const auto run = run_in(folder, "evalglare -G 2 a.hdr");
    EXPECT_EQ(run.status, 0);
}

TEST_F(EvalglareGuard, TaskOutsideThePictureIsRefused) {
    EXPECT_TRUE(says(refusal("-T 60 10 0.5 a.hdr"), "task position 60 10 lies outside the picture (60 x 60)"));
    EXPECT_TRUE(says(refusal("-T 10 -1 0.5 a.hdr"), "outside the picture"));
    write_file(folder / "h.hdr", scene_file({"VIEW= -vth -vh 180 -vv 180"}, 60, 60, 1000));
    EXPECT_TRUE(says(refusal("-T 0 0 0.5 h.hdr"), "outside the view"));
}

TEST_F(EvalglareGuard, ViewWithoutAnyValidPixelIsRefused) {
    // One pixel whose corners all lie outside the image circle.
    write_file(folder / "one.hdr", scene_file({"VIEW= -vth -vh 180 -vv 180"}, 1, 1, 1000));
    EXPECT_TRUE(says(refusal("one.hdr"), "no valid pixel"));
}

TEST_F(EvalglareGuard, PerspectiveViewOfAFisheyePictureIsRefusedUnlessForced) {
    write_file(folder / "fish.hdr", scene_file({"VIEW= -vtv -vh 60 -vv 60"}, 60, 60, 0, {{30, 30, 29, 1000}}));
    EXPECT_TRUE(says(refusal("fish.hdr"), "looks like a fisheye"));
    const auto forced = run_glare(folder, "-f fish.hdr");
    EXPECT_TRUE(forced.printed);
    write_file(folder / "room.hdr", scene_file({"VIEW= -vtv -vh 60 -vv 60"}, 60, 60, 500));
    EXPECT_TRUE(run_glare(folder, "room.hdr").printed);
}

TEST_F(EvalglareGuard, CommandLineMistakesAreNamed) {
    EXPECT_TRUE(says(refusal("-q a.hdr"), "unknown option: -q"));
    EXPECT_TRUE(says(refusal("-vtq -vh 10 -vv 10 a.hdr"), "unknown view type -vtq"));
    EXPECT_TRUE(says(refusal("-vth a.hdr"), "needs its type, -vh and -vv"));
    EXPECT_TRUE(says(refusal("-r"), "missing value for -r"));
    EXPECT_TRUE(says(refusal("-r 0 a.hdr"), "bad value for -r"));
    EXPECT_TRUE(says(refusal("-T 1 2 a.hdr"), "bad value for -T"));
    EXPECT_TRUE(says(refusal("-b nan a.hdr"), "bad value for -b: nan"));
    EXPECT_TRUE(says(refusal("-i inf a.hdr"), "bad value for -i: inf"));
    EXPECT_TRUE(says(refusal("a.hdr none.hdr"), "too many arguments"));
    EXPECT_TRUE(says(refusal("-vf missing.vf a.hdr"), "cannot open view file missing.vf"));
    write_file(folder / "empty.vf", "nothing here\n");
    EXPECT_TRUE(says(refusal("-vf empty.vf a.hdr"), "empty.vf: bad view file"));
}

TEST_F(EvalglareGuard, UnwritableCheckPictureIsAFailure) {
    const auto run = run_in(folder, "evalglare -c no/such/folder.hdr a.hdr");
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(says(run.err, "cannot write check picture no/such/folder.hdr"));
}

}  // namespace
