// What counts as a failed export, and the copy that never leaves half a file.

#include <gtest/gtest.h>

#include "support/scripted_desktop.h"
#include "support/temp_folder.h"
#include "tools/export_steps.h"
#include "tools/process_runner.h"

namespace {

namespace fs = std::filesystem;

TEST(ExportStepFailure, TakesTextAnExitStatusOrAnEmptyPictureForAFailure) {
    TempFolder folder;
    const std::string output = (folder / "p.bmp").string();
    const std::string line = "/C ra_bmp /c/dtemp.hdr  " + output;
    ProcessOutput result;
    result.started = false;
    result.error = "cannot start /bin/sh";
    EXPECT_EQ(export_step_failure(line, result, output), "cannot start /bin/sh");
    result.started = true;
    result.text = "ra_bmp: warning\n";
    EXPECT_EQ(export_step_failure(line, result, output), "ra_bmp: warning\n");
    result.text.clear();
    result.exit_status = 139;
    EXPECT_EQ(export_step_failure(line, result, output),
              "ra_bmp was stopped by signal 11 without a message; " + output + " was not written");
    result.exit_status = 2;
    EXPECT_EQ(export_step_failure(line, result, output),
              "ra_bmp failed with exit status 2 without a message; " + output + " was not written");
    result.exit_status = 0;
    EXPECT_EQ(export_step_failure(line, result, output), "ra_bmp wrote nothing to " + output);
    write_file(output, "");
    EXPECT_EQ(export_step_failure(line, result, output), "ra_bmp wrote nothing to " + output);
    write_file(output, "BM");
    EXPECT_EQ(export_step_failure(line, result, output), "");
}

TEST(CopyExportedFile, ReplacesTheTargetAndLeavesNothingElse) {
    TempFolder folder;
    ScriptedDesktop desktop;
    write_file(folder / "from", "new picture");
    write_file(folder / "to.hdr", "old picture");
    EXPECT_EQ(copy_exported_file(desktop, (folder / "from").string(), (folder / "to.hdr").string()), 0);
    EXPECT_EQ(read_file(folder / "to.hdr"), "new picture");
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.path()), fs::directory_iterator()), 2);
    EXPECT_TRUE(desktop.messages.empty());
}

TEST(CopyExportedFile, KeepsTheEarlierFileWhenTheSourceIsMissing) {
    TempFolder folder;
    ScriptedDesktop desktop;
    write_file(folder / "to.bmp", "earlier");
    EXPECT_EQ(copy_exported_file(desktop, (folder / "dfalse.bmp").string(), (folder / "to.bmp").string()), -1);
    EXPECT_EQ(read_file(folder / "to.bmp"), "earlier");
    ASSERT_EQ(desktop.messages.size(), 1u);
    EXPECT_EQ(desktop.messages[0].text, "Could not read " + (folder / "dfalse.bmp").string());
    EXPECT_EQ(desktop.messages[0].caption, "File IO Error!");
    EXPECT_EQ(desktop.messages[0].icon, MessageIcon::warning);
}

TEST(CopyExportedFile, NamesTheTargetItCouldNotWrite) {
    TempFolder folder;
    ScriptedDesktop desktop;
    write_file(folder / "from", "picture");
    const std::string target = (folder / "no/such/folder/p.hdr").string();
    EXPECT_EQ(copy_exported_file(desktop, (folder / "from").string(), target), -1);
    ASSERT_EQ(desktop.messages.size(), 1u);
    EXPECT_EQ(desktop.messages[0].text.rfind("Could not write " + target + ": ", 0), 0u);
}

}  // namespace
