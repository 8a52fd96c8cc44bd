// The recorder on its own: which command lines become lines of the temporary
// file, in what form, and what it says when it cannot write.

#include <gtest/gtest.h>

#include <filesystem>

#include "macro/macro_recorder.h"
#include "support/temp_folder.h"

namespace {

class Recorder : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_FALSE(recorder.start(path)); }
    std::string recorded() {
        recorder.stop();
        return read_file(path);
    }

    TempFolder folder;
    std::string path = (folder / "untitled.tmp").string();
    float exposure = 2.0f;
    MacroRecorder recorder{exposure};
};

}  // namespace

TEST(RecorderPath, LiesInsideTheCacheFolder) {
    EXPECT_EQ(temporary_macro_path("/tmp"), "/tmp/untitled.tmp");
    EXPECT_EQ(temporary_macro_path("/home/u/.cache/candelux"), "/home/u/.cache/candelux/untitled.tmp");
}

TEST_F(Recorder, WritesNumberCommandAndNullWithCrLf) {
    recorder.note_command(40013);
    recorder.record_macro_line("/C protate  /c/dtemp.hdr /c/dtempo.hdr", "");
    recorder.note_command(40015);
    recorder.record_macro_line("/C pflip -c -h /c/dtemp.hdr /c/dtempo.hdr", "");
    EXPECT_EQ(recorded(),
              "40013#/C protate  /c/dtemp.hdr /c/dtempo.hdr#NULL\r\n"
              "40015#/C pflip -c -h /c/dtemp.hdr /c/dtempo.hdr#NULL\r\n");
}

TEST_F(Recorder, TheExposureCommandCarriesTheEnteredExposureInDefaultFormat) {
    recorder.note_command(40018);
    exposure = 2.5f;
    recorder.record_macro_line("/C pfilt -1 -e 1.25 /c/dtemp.hdr > /c/dtempo.hdr", "");
    exposure = 1.0f / 3.0f;
    recorder.record_macro_line("/C pfilt -1 -e 0.666667 /c/dtemp.hdr > /c/dtempo.hdr", "");
    exposure = 1e-7f;
    recorder.record_macro_line("/C pfilt -1 -e 1e-07 /c/dtemp.hdr > /c/dtempo.hdr", "");
    EXPECT_EQ(recorded(),
              "40018#/C pfilt -1 -e 1.25 /c/dtemp.hdr > /c/dtempo.hdr#2.5\r\n"
              "40018#/C pfilt -1 -e 0.666667 /c/dtemp.hdr > /c/dtempo.hdr#0.333333\r\n"
              "40018#/C pfilt -1 -e 1e-07 /c/dtemp.hdr > /c/dtempo.hdr#1e-07\r\n");
}

TEST_F(Recorder, LeavesOutDisplayConversionsAndCommandsThatPrinted) {
    recorder.note_command(40013);
    recorder.record_macro_line("/C ra_bmp /c/dtemp.hdr > /c/dtemp.bmp", "");
    recorder.record_macro_line("/C ra_gif /c/dtemp.hdr > /c/dtemp.gif", "");
    recorder.record_macro_line("/C protate  /c/dtemp.hdr /c/dtempo.hdr", "protate: read error\n");
    recorder.record_macro_line("/C getinfo /c/dtemp.hdr", "/c/dtemp.hdr:\n\tEXPOSURE=2\n\n");
    recorder.record_macro_line("/C protate  /c/dtemp.hdr /c/dtempo.hdr", "");
    EXPECT_EQ(recorded(), "40013#/C protate  /c/dtemp.hdr /c/dtempo.hdr#NULL\r\n");
}

// Replay needs the mask file a BMP mask line applied, so its conversion is
// kept; an export to BMP or GIF is not an edit of the picture.
TEST_F(Recorder, KeepsTheConversionOfABitmapMask) {
    recorder.note_command(40029);
    recorder.record_macro_line("/C ra_bmp -r /m/mask.bmp /c/dmask.hdr", "");
    recorder.record_macro_line("/C ra_bmp /c/dtemp.hdr  /out/a.bmp", "");
    recorder.record_macro_line("/C ra_gif /c/dtemp.hdr  /out/ra_bmp -r.gif", "");
    EXPECT_EQ(recorded(), "40029#/C ra_bmp -r /m/mask.bmp /c/dmask.hdr#NULL\r\n");
}

TEST_F(Recorder, NotesOnlyMenuCommandsAfterOpenWhileRecording) {
    recorder.note_command(40001);
    EXPECT_EQ(recorder.last_command(), 0);
    recorder.note_command(40045);
    EXPECT_EQ(recorder.last_command(), 40045);
    recorder.note_command(0x10000 + 40013);
    EXPECT_EQ(recorder.last_command(), 40013) << "the low 16 bits are the identifier";
    recorder.stop();
    recorder.note_command(40014);
    EXPECT_EQ(recorder.last_command(), 40013);
}

TEST_F(Recorder, WritesNothingOnceStopped) {
    recorder.note_command(40013);
    const auto stopped = recorder.stop();
    EXPECT_FALSE(recorder.recording());
    EXPECT_EQ(stopped.temporary_path, path);
    EXPECT_TRUE(stopped.write_error.empty());
    recorder.record_macro_line("/C protate  a b", "");
    EXPECT_EQ(read_file(path), "");
}

TEST_F(Recorder, EachLineIsOnDiskAsSoonAsItIsRecorded) {
    recorder.note_command(40013);
    recorder.record_macro_line("/C protate  /c/dtemp.hdr /c/dtempo.hdr", "");
    EXPECT_EQ(read_file(path), "40013#/C protate  /c/dtemp.hdr /c/dtempo.hdr#NULL\r\n");
}

TEST_F(Recorder, CountsCommandLinesASequenceFileCannotHold) {
    recorder.note_command(40035);
    recorder.record_macro_line("/C pcomb -e \"ro=ri(1)#\" a > b", "");
    recorder.record_macro_line("/C pflip -c -h a\nb", "");
    const auto stopped = recorder.stop();
    EXPECT_EQ(stopped.unrecordable, 2);
    EXPECT_EQ(read_file(path), "");
}

TEST_F(Recorder, StartingAgainEmptiesTheFile) {
    recorder.note_command(40013);
    recorder.record_macro_line("/C protate  a b", "");
    recorder.stop();
    ASSERT_FALSE(recorder.start(path));
    EXPECT_EQ(recorded(), "");
}

TEST(RecorderStart, SaysWhyTheFileCannotBeCreatedAndDoesNotRecord) {
    float exposure = 1.0f;
    MacroRecorder recorder{exposure};
    const auto error = recorder.start("/nonexistent-folder/untitled.tmp");
    ASSERT_TRUE(error.has_value());
    EXPECT_NE(error->find("/nonexistent-folder/untitled.tmp"), std::string::npos) << *error;
    EXPECT_FALSE(recorder.recording());
}

TEST(RecorderStart, ReportsLinesThatCouldNotBeWritten) {
    if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full here";
    float exposure = 1.0f;
    MacroRecorder recorder{exposure};
    ASSERT_FALSE(recorder.start("/dev/full"));
    recorder.note_command(40013);
    recorder.record_macro_line("/C protate  a b", "");
    const auto stopped = recorder.stop();
    EXPECT_NE(stopped.write_error.find("Could not write /dev/full"), std::string::npos) << stopped.write_error;
}
