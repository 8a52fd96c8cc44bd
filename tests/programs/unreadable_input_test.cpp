// The picture programs given an input that is not a picture file: refused
// with what it is, before a byte is read; a header that never ends is
// "header too long", from a file and from standard input.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <vector>

#include "lib/picture_input.h"
#include "program_run.h"
#include "test_picture.h"

using ::testing::HasSubstr;

TEST(UnreadableInput, FifosDevicesAndFoldersAreRefusedByName) {
    TempFolder folder;
    ASSERT_EQ(::mkfifo((folder / "fifo.hdr").c_str(), 0600), 0);
    std::filesystem::create_directory(folder / "dir.hdr");
    const std::pair<std::string, std::string> cases[] = {
        {"pfilt -1 -e 2 fifo.hdr", "pfilt: fifo.hdr is a FIFO, not a regular file"},
        {"pfilt -1 -e 2 /dev/zero", "pfilt: /dev/zero is a device, not a regular file"},
        {"pflip -h dir.hdr out.hdr", "pflip: dir.hdr is a folder, not a file"},
        {"ra_tiff -r fifo.hdr out.hdr", "fifo.hdr: a FIFO, not a regular file"},
        {"ra_bmp -r fifo.hdr out.hdr", "cannot open or recognize BMP"},
    };
    for (const auto& [command, says] : cases) {
        SCOPED_TRACE(command);
        const auto run = run_in(folder, command);
        EXPECT_EQ(run.status, 1);
        EXPECT_THAT(run.err, HasSubstr(says));
    }
    EXPECT_EQ(run_in(folder, "getinfo fifo.hdr /dev/zero").out, "fifo.hdr: cannot open\n/dev/zero: cannot open\n");
}

TEST(UnreadableInput, AHeaderThatNeverEndsIsTooLong) {
    TempFolder folder;
    std::string endless = "#?RADIANCE\n";
    while (endless.size() < (3u << 20)) endless += "COMMENT padding a header that has no end\n";
    write_file(folder / "endless.hdr", endless);
    const auto from_file = run_in(folder, "pfilt -1 -e 2 endless.hdr");
    EXPECT_EQ(from_file.status, 1);
    EXPECT_EQ(from_file.err, "pfilt: endless.hdr: header too long\n");
    const auto from_input = run_in(folder, "pfilt -1 -e 2 < endless.hdr");
    EXPECT_EQ(from_input.err, "pfilt: <stdin>: header too long\n");
    const auto listed = run_in(folder, "getinfo endless.hdr");
    EXPECT_EQ(listed.status, 1);
    EXPECT_THAT(listed.err, HasSubstr("endless.hdr: header too long"));
    const auto copied = run_in(folder, "getinfo - < endless.hdr");
    EXPECT_EQ(copied.status, 1);
    EXPECT_THAT(copied.err, HasSubstr("header too long"));
}

// A mapped input cut short by another program while it is read: the
// program says so and fails as on a read error instead of dying of SIGBUS.
TEST(UnreadableInputDeathTest, AnInputCutShortWhileItIsReadIsAReadFailure) {
    TempFolder folder;
    const int width = 64, height = 4096;
    write_file(folder / "long.hdr", picture_file({"FORMAT=32-bit_rle_rgbe"}, "-Y 4096 +X 64",
                                                 position_pixels(width, height), width));
    const std::string path = (folder / "long.hdr").string();
    EXPECT_EXIT(
        {
            PictureInput in;
            if (!in.open(path) || in.read_preamble() != PictureProblem::none) std::_Exit(3);
            std::vector<uint8_t> planes(4 * width);
            if (!in.read_planes(planes.data())) std::_Exit(4);
            if (::truncate(path.c_str(), 0) != 0) std::_Exit(5);
            for (int row = 1; row < height; ++row) (void)in.read_planes(planes.data());
            std::_Exit(6);
        },
        ::testing::ExitedWithCode(1), "input file was cut short while it was read");
}
