// getinfo: the header listing byte for byte, the data copy of "getinfo -",
// and what a missing file or a damaged header gives.

#include <gtest/gtest.h>

#include "program_run.h"
#include "test_picture.h"

namespace {

class Getinfo : public ::testing::Test {
protected:
    void SetUp() override { write_file(folder / "tiny.hdr", tiny_picture_bytes()); }
    TempFolder folder;
};

TEST_F(Getinfo, ListsTheNameAndEveryHeaderLineAfterATab) {
    const auto run = run_in(folder, "getinfo tiny.hdr");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "tiny.hdr:\n\t#?RADIANCE\n\tFORMAT=32-bit_rle_rgbe\n\tEXPOSURE=2\n\t\n");
    EXPECT_EQ(run.err, "");
}

TEST_F(Getinfo, ListsSeveralFilesInTurn) {
    write_file(folder / "b.hdr", "#?RADIANCE\nVIEW= -vta\n\n-Y 1 +X 1\n\x80\x80\x80\x80");
    const auto run = run_in(folder, "getinfo tiny.hdr b.hdr");
    EXPECT_EQ(run.out,
              "tiny.hdr:\n\t#?RADIANCE\n\tFORMAT=32-bit_rle_rgbe\n\tEXPOSURE=2\n\t\n"
              "b.hdr:\n\t#?RADIANCE\n\tVIEW= -vta\n\t\n");
}

TEST_F(Getinfo, SaysCannotOpenOnStandardOutputAndSucceedsForAMissingFile) {
    const auto run = run_in(folder, "getinfo nosuch.hdr");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "nosuch.hdr: cannot open\n");
    EXPECT_EQ(run.err, "");
}

TEST_F(Getinfo, ReportsABadHeaderAfterPrintingWhatItRead) {
    write_file(folder / "cut.hdr", "#?RADIANCE\nEXPOSURE=2\n");
    const auto cut = run_in(folder, "getinfo cut.hdr");
    EXPECT_EQ(cut.status, 1);
    EXPECT_EQ(cut.out, "cut.hdr:\n\t#?RADIANCE\n\tEXPOSURE=2\n");
    EXPECT_EQ(cut.err, "cut.hdr: bad header!\n");

    write_file(folder / "binary.hdr", std::string("\x01\x02\n\n", 4));
    const auto binary = run_in(folder, "getinfo binary.hdr");
    EXPECT_EQ(binary.status, 1);
    EXPECT_EQ(binary.out, "binary.hdr:\n");
    EXPECT_EQ(binary.err, "binary.hdr: bad header!\n");
}

TEST_F(Getinfo, CutsOverlongHeaderLinesInto2046BytePieces) {
    const std::string long_line(3000, 'x');
    write_file(folder / "long.hdr", "#?RADIANCE\n" + long_line + "\n\n-Y 1 +X 1\n\x80\x80\x80\x80");
    const auto run = run_in(folder, "getinfo long.hdr");
    EXPECT_EQ(run.out, "long.hdr:\n\t#?RADIANCE\n\t" + long_line.substr(0, 2046) + "\n\t" + long_line.substr(2046) +
                           "\n\t\n");
}

TEST_F(Getinfo, DashCopiesTheResolutionLineAndPixelsWithoutTheHeader) {
    const auto run = run_in(folder, "getinfo - < tiny.hdr");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out.size(), 34u);
    EXPECT_EQ(run.out, tiny_picture_bytes().substr(46));
    EXPECT_EQ(run.out.substr(0, 10), "-Y 2 +X 3\n");
}

TEST_F(Getinfo, DashAppendedToAnEditedHeaderMakesAValidPicture) {
    const std::string edited = "#?RADIANCE\nSOFTWARE= test\nEXPOSURE=2\n\n";
    write_file(folder / "T", edited);
    const auto run = run_in(folder, "getinfo - < tiny.hdr>> T");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(read_file(folder / "T"), edited + tiny_picture_bytes().substr(46));
    const auto picture = read_picture(folder / "T");
    ASSERT_TRUE(picture.ok);
    EXPECT_EQ(picture.pixels[4], tiny::E);
}

TEST_F(Getinfo, DashRefusesABadHeaderWithoutWritingAnything) {
    write_file(folder / "cut.hdr", "#?RADIANCE\n");
    const auto run = run_in(folder, "getinfo - < cut.hdr");
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "Bad header!\n");
}

}  // namespace
