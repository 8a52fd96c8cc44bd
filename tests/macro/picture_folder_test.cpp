// The pictures a batch takes from a folder.

#include <gtest/gtest.h>

#include <filesystem>

#include "macro/picture_folder.h"
#include "support/temp_folder.h"

TEST(PictureFolder, TakesHdrFilesWhateverTheCaseSortedByName) {
    TempFolder folder;
    for (const char* name : {"b.hdr", "A.HDR", "c.Hdr", "d.pic", "e.hdr.txt", "hdr", ".hdr"}) write_file(folder / name, "x");
    std::filesystem::create_directory(folder / "f.hdr");
    const auto pictures = list_pictures(folder.str());
    ASSERT_TRUE(pictures.ok());
    EXPECT_EQ(pictures.value(), (std::vector<std::string>{".hdr", "A.HDR", "b.hdr", "c.Hdr"}));
}

TEST(PictureFolder, LeavesOutTheStepFilesOfAnEarlierReplay) {
    TempFolder folder;
    for (const char* name : {"a.hdr", "1-a.hdr", "2-a.hdr", "12-a.hdr", "1-1-a.hdr", "1-b.hdr", "0-a.hdr", "x-a.hdr"})
        write_file(folder / name, "x");
    const auto pictures = list_pictures(folder.str());
    ASSERT_TRUE(pictures.ok());
    // 1-b.hdr has no b.hdr beside it: it is somebody's picture.
    EXPECT_EQ(pictures.value(), (std::vector<std::string>{"0-a.hdr", "1-b.hdr", "a.hdr", "x-a.hdr"}));
}

TEST(PictureFolder, SaysWhenTheFolderCannotBeRead) {
    const auto pictures = list_pictures("/nonexistent-folder");
    ASSERT_FALSE(pictures.ok());
    EXPECT_NE(pictures.failure().message.find("/nonexistent-folder"), std::string::npos);
}

TEST(PictureFolder, RecognisesStepFileNames) {
    std::string_view rest;
    EXPECT_TRUE(looks_like_step_file("3-a.hdr", &rest));
    EXPECT_EQ(rest, "a.hdr");
    EXPECT_TRUE(looks_like_step_file("120-IMG_1.HDR", &rest));
    EXPECT_EQ(rest, "IMG_1.HDR");
    for (const char* name : {"a.hdr", "-a.hdr", "3-", "3a.hdr", "03-a.hdr", "x3-a.hdr"})
        EXPECT_FALSE(looks_like_step_file(name)) << name;
}
