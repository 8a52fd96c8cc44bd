// The pcomb command lines, blank for blank, and mask application with the
// real programs: onto the working copy or into a scratch file.

#include <gtest/gtest.h>

#include "picture/rgbe_reader.h"
#include "support/formula_pictures.h"
#include "support/scripted_desktop.h"
#include "support/temp_folder.h"
#include "tools/pixel_operations.h"
#include "tools/process_runner.h"
#include "macro/macro_recorder.h"

namespace {

TEST(PixelOperationCommands, KeepTheirBlanksCharacterForCharacter) {
    EXPECT_EQ(mask_application_command("/c/m.hdr", "/c/dtemp.hdr", "/c/dtempo.hdr"),
              "/C pcomb -e \"ro=if(ri(1)-0.5,ri(2),0);go=if(gi(1)-0.5,gi(2),0);bo=if(bi(1)-0.5,bi(2),0)\" "
              "/c/m.hdr /c/dtemp.hdr > /c/dtempo.hdr");
    EXPECT_EQ(vignetting_command("/c/dtemp.hdr", "/v.hdr", "/c/dtempo.hdr"),
              "/C pcomb  -e  \"ro=ri(1) / ri(2);go=gi(1) / gi(2);bo=bi(1) / bi(2)\" /c/dtemp.hdr /v.hdr > /c/dtempo.hdr");
    EXPECT_EQ(image_operation_command("a.hdr", "*", "b.hdr", "/c/dtempo.hdr"),
              "/C pcomb  -e  \"ro=ri(1)*ri(2);go=gi(1) *gi(2);bo=bi(1)*bi(2)\" a.hdr b.hdr > /c/dtempo.hdr");
    EXPECT_EQ(constant_division_command("/c/dtemp.hdr", 2.5f, "/c/dtempo.hdr"),
              "/C pcomb  -e  \"ro=ri(1)/2.5;go=gi(1)/2.5;bo=bi(1)/2.5\" /c/dtemp.hdr > /c/dtempo.hdr");
    EXPECT_EQ(constant_division_command("i", 1.0f / 3.0f, "o"),
              "/C pcomb  -e  \"ro=ri(1)/0.333333;go=gi(1)/0.333333;bo=bi(1)/0.333333\" i > o");
}

TEST(PixelOperationCommands, ConvertOnlyBitmapAndTiffMasks) {
    EXPECT_EQ(mask_conversion_command("/m.bmp", mask_bmp, "/c/dmask.hdr"), "/C ra_bmp -r /m.bmp /c/dmask.hdr");
    EXPECT_EQ(mask_conversion_command("/m.tif", mask_tiff, "/c/dmask.hdr"), "/C ra_tiff -r /m.tif /c/dmask.hdr");
    EXPECT_EQ(mask_conversion_command("/m.hdr", mask_hdr, "/c/dmask.hdr"), "");
    EXPECT_EQ(mask_conversion_command("/m.pic", mask_pic, "/c/dmask.hdr"), "");
    const FileDialogRequest request = mask_file_request();
    EXPECT_EQ(request.title, "Open Mask File");
    ASSERT_EQ(request.filters.size(), 4u);
    EXPECT_EQ(request.filters[3].label, "TIFF Images");
    EXPECT_EQ(request.filters[3].pattern, "*.tif;");
}

class MaskApplication : public ::testing::Test {
protected:
    void SetUp() override {
        runner.set_program_folder(CANDELUX_PROGRAMS_DIR);
        // A 4 x 2 grey picture and a mask that keeps its left half.
        ASSERT_TRUE(write_grey_picture(working, 4, 2, [](int, int) { return 10.0f; }));
        ASSERT_TRUE(write_grey_picture(mask, 4, 2, [](int x, int) { return x < 2 ? 1.0f : 0.0f; }));
    }
    TempFolder cache;
    std::string working = (cache / "dtemp.hdr").string();
    std::string mask = (cache / "mask.hdr").string();
    ScriptedDesktop desktop;
    MacroRecorder recorder;
    ProcessRunner runner{desktop, recorder};
};

TEST_F(MaskApplication, ZeroesThePixelsWhereTheMaskIsDarkIntoAScratchFileLeavingTheInput) {
    const std::string scratch = (cache / "scratch.hdr").string();
    const std::string before = read_file(working);
    ASSERT_EQ(apply_mask_file(runner, desktop, cache.str(), mask, mask_hdr, working, scratch), 0)
        << (desktop.messages.empty() ? "" : desktop.messages[0].text);
    EXPECT_EQ(read_file(working), before);
    auto map = load_luminance_map(scratch);
    ASSERT_TRUE(map.ok());
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 4; ++x) {
            const float l = map.value().data[static_cast<size_t>(y * 4 + x)];
            if (x < 2) EXPECT_NEAR(l, 1790.0f, 20.0f) << x;
            else EXPECT_LT(l, 1e-6f) << x;
        }
    }
}

TEST_F(MaskApplication, AMaskOfAnotherSizeFailsWithTheProgramsMessageAndChangesNothing) {
    write_grey_picture(mask, 3, 2, [](int, int) { return 1.0f; });
    const std::string before = read_file(working);
    EXPECT_EQ(apply_mask_file(runner, desktop, cache.str(), mask, mask_hdr, working, working), -1);
    EXPECT_EQ(read_file(working), before);
    ASSERT_EQ(desktop.messages.size(), 1u);
    EXPECT_EQ(desktop.messages[0].caption, "Radiance Process Error!");
    EXPECT_FALSE(desktop.messages[0].text.empty());
}

TEST_F(MaskApplication, ABrokenBitmapMaskStopsBeforePcombRuns) {
    const std::string bitmap = (cache / "m.bmp").string();
    write_file(bitmap, "not a bitmap");
    const std::string before = read_file(working);
    EXPECT_EQ(apply_mask_file(runner, desktop, cache.str(), bitmap, mask_bmp, working, working), -1);
    EXPECT_EQ(read_file(working), before);
    ASSERT_EQ(desktop.messages.size(), 1u);
    EXPECT_EQ(desktop.messages[0].caption, "Radiance Process Error!");
}

}  // namespace
