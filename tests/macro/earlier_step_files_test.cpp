// What --overwrite may remove beside its own step files, and the step files
// it may never write.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "macro/earlier_step_files.h"
#include "macro/macro_pictures.h"

namespace fs = std::filesystem;
using ::testing::UnorderedElementsAre;

namespace {

BatchPlan two_steps(const TempFolder& folder) {
    const std::string cache = "/nowhere";
    const std::string line = "40015#/C pflip -c -h /nowhere/dtemp.hdr /nowhere/dtempo.hdr#NULL";
    TempFolder seq;
    write_sequence(seq / "s.seq", {line, line});
    auto plan = plan_batch((seq / "s.seq").string(), folder.str(), cache);
    EXPECT_TRUE(plan.ok());
    return plan.value();
}

}  // namespace

TEST(EarlierStepFiles, OnlyHigherNumberedStepFilesOfThePlannedPicturesAreLeftovers) {
    TempFolder folder;
    write_macro_picture(folder / "p.hdr", 4, 3);
    write_macro_picture(folder / "q.hdr", 4, 3);
    for (const char* name : {"1-p.hdr", "2-p.hdr", "3-p.hdr", "10-p.hdr", "03-p.hdr", "3-pp.hdr", "3-q.hdr.bak"})
        write_file(folder / name, "x");
    fs::create_symlink("/nowhere", folder / "4-q.hdr");
    fs::create_directory(folder / "5-q.hdr");
    const BatchPlan plan = two_steps(folder);
    const std::string f = folder.str() + "/";
    EXPECT_THAT(leftover_step_files(plan), UnorderedElementsAre(f + "3-p.hdr", f + "10-p.hdr", f + "4-q.hdr"));
}

TEST(EarlierStepFiles, APictureWhoseStepFileWouldBeAnInputIsRefused) {
    TempFolder folder;
    write_macro_picture(folder / "x.hdr", 4, 3);
    write_macro_picture(folder / "y.hdr", 4, 3);
    BatchPlan plan = two_steps(folder);
    refuse_steps_onto_inputs(plan, {"x.hdr", "y.hdr", "2-Y.HDR"});
    ASSERT_EQ(plan.pictures.size(), 2u);
    EXPECT_EQ(plan.pictures[0].refusal, "");
    EXPECT_EQ(plan.pictures[1].refusal, "its step file 2-y.hdr would replace the input picture 2-Y.HDR");
    EXPECT_TRUE(leftover_step_files(plan).empty());
}
