// The Edit Header dialog's file: read into the field, written back, and
// what happens when either cannot be done.

#include <gtest/gtest.h>

#include "support/scripted_desktop.h"
#include "support/temp_folder.h"
#include "tools/header_editing.h"

namespace {

TEST(HeaderForm, ShowsTheHeaderAndWritesTheEditBack) {
    TempFolder folder;
    const std::string text_file = (folder / "dtemp.txt").string();
    write_file(text_file, "/c/dtemp.hdr:\n\t#?RADIANCE\n\tEXPOSURE=2\n\tFORMAT=32-bit_rle_rgbe\n\t\n");
    ScriptedDesktop desktop;
    HeaderForm form(desktop, text_file);
    form.on_open();
    EXPECT_EQ(form.text, "#?RADIANCE\nEXPOSURE=2\nFORMAT=32-bit_rle_rgbe\n\n");
    form.text += "SOFTWARE= me\n \n";
    EXPECT_EQ(form.on_ok(), 1);
    EXPECT_EQ(read_file(text_file), "#?RADIANCE\nEXPOSURE=2\nFORMAT=32-bit_rle_rgbe\nSOFTWARE= me\n\n");
    EXPECT_TRUE(desktop.messages.empty());
}

TEST(HeaderForm, AnUnreadableFileLeavesTheFieldEmptyAfterAMessage) {
    TempFolder folder;
    ScriptedDesktop desktop;
    HeaderForm form(desktop, (folder / "none.txt").string());
    form.on_open();
    EXPECT_EQ(form.text, "");
    ASSERT_EQ(desktop.messages.size(), 1u);
    EXPECT_EQ(desktop.messages[0].text.rfind("Unable to read file!", 0), 0u);
    EXPECT_EQ(desktop.messages[0].caption, "File IO Error");
}

TEST(HeaderForm, AnUnwritableFileKeepsTheDialogOpen) {
    TempFolder folder;
    ScriptedDesktop desktop;
    HeaderForm form(desktop, (folder / "no" / "such" / "dtemp.txt").string());
    form.text = "#?RADIANCE\n";
    EXPECT_EQ(form.on_ok(), std::nullopt);
    ASSERT_EQ(desktop.messages.size(), 1u);
    EXPECT_EQ(desktop.messages[0].text.rfind("Unable to write file!", 0), 0u);
    EXPECT_NE(desktop.messages[0].text.find("dtemp.txt"), std::string::npos);
}

}  // namespace
