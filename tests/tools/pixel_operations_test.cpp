// The pcomb command lines, blank for blank, and mask application with the
// real programs: onto the working copy or into a scratch file.

#include <gtest/gtest.h>

#include <algorithm>

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
              "/C pcomb -e \"ro=if(ri(1)-0.5,ri(2)*le(1),0);go=if(gi(1)-0.5,gi(2)*le(1),0);"
              "bo=if(bi(1)-0.5,bi(2)*le(1),0)\" /c/m.hdr /c/dtemp.hdr > /c/dtempo.hdr");
    EXPECT_EQ(vignetting_command("/c/dtemp.hdr", "/v.hdr", "/c/dtempo.hdr"),
              "/C pcomb  -e  \"ro=ri(1)*le(2)*le(2)/ri(2);go=gi(1)*le(2)*le(2)/gi(2);bo=bi(1)*le(2)*le(2)/bi(2)\" "
              "/c/dtemp.hdr /v.hdr > /c/dtempo.hdr");
    EXPECT_EQ(image_operation_command("a.hdr", "+", "b.hdr", "/c/dtempo.hdr"),
              "/C pcomb  -e  \"ro=ri(1)*le(2)+ri(2)*le(1);go=gi(1)*le(2)+gi(2)*le(1);bo=bi(1)*le(2)+bi(2)*le(1)\" "
              "a.hdr b.hdr > /c/dtempo.hdr");
    EXPECT_EQ(image_operation_command("a.hdr", "-", "b.hdr", "o"),
              "/C pcomb  -e  \"ro=ri(1)*le(2)-ri(2)*le(1);go=gi(1)*le(2)-gi(2)*le(1);bo=bi(1)*le(2)-bi(2)*le(1)\" "
              "a.hdr b.hdr > o");
    EXPECT_EQ(image_operation_command("a.hdr", "*", "b.hdr", "/c/dtempo.hdr"),
              "/C pcomb  -e  \"ro=ri(1)*ri(2);go=gi(1)*gi(2);bo=bi(1)*bi(2)\" a.hdr b.hdr > /c/dtempo.hdr");
    EXPECT_EQ(image_operation_command("a.hdr", "/", "b.hdr", "o"),
              "/C pcomb  -e  \"ro=ri(1)*le(2)*le(2)/ri(2);go=gi(1)*le(2)*le(2)/gi(2);bo=bi(1)*le(2)*le(2)/bi(2)\" "
              "a.hdr b.hdr > o");
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

// Every operation on pictures that carry exposures, top-level or only in
// nested copies (a picture a pcomb made before), run by our programs and read
// back as the application reads pictures: the result is the operation on the
// luminances as read, whatever the exposures.
class OperandExposure : public ::testing::Test {
protected:
    void SetUp() override { runner.set_program_folder(CANDELUX_PROGRAMS_DIR); }

    // A 4 x 1 grey picture with the stored values and header lines.
    std::string picture(const std::string& name, std::vector<float> values, std::vector<std::string> lines) {
        const std::string path = (folder / name).string();
        EXPECT_TRUE(write_grey_picture(path, 4, 1, [values](int x, int) { return values[static_cast<size_t>(x)]; },
                                       std::move(lines)));
        return path;
    }
    // The same picture with its exposure only nested, as a pcomb copy leaves it.
    std::string nested_copy(const std::string& path, const std::string& name) {
        const std::string copy = (folder / name).string();
        EXPECT_EQ(run("/C pcomb -e \"ro=ri(1);go=gi(1);bo=bi(1)\" " + path + " > " + copy), "");
        EXPECT_EQ(read_file(copy).find("\nEXPOSURE="), std::string::npos);
        return copy;
    }
    std::string run(const std::string& line) { return runner.run(line, false).text; }
    static std::vector<float> luminance(const std::string& path) {
        auto map = load_luminance_map(path);
        EXPECT_TRUE(map.ok()) << path;
        if (!map.ok()) return std::vector<float>(4, -1.0f);
        return {map.value().data.begin(), map.value().data.end()};
    }
    // Runs `line` (writing output()) and compares every pixel with `expected`
    // within the RGBE step of the result.
    void expect_result(const std::string& line, const std::vector<float>& expected) {
        ASSERT_EQ(run(line), "") << line;
        const std::vector<float> got = luminance(output());
        ASSERT_EQ(got.size(), expected.size());
        for (size_t x = 0; x < got.size(); ++x) EXPECT_NEAR(got[x], expected[x], expected[x] * 0.008f + 1e-6f) << line << " x=" << x;
    }
    std::string output() const { return (folder / "o.hdr").string(); }

    TempFolder folder;
    ScriptedDesktop desktop;
    MacroRecorder recorder;
    ProcessRunner runner{desktop, recorder};
};

TEST_F(OperandExposure, AKeptMaskPixelKeepsItsLuminanceWhateverTheMasksExposure) {
    const std::string input = picture("i.hdr", {10, 20, 30, 40}, {"EXPOSURE=2"});
    const std::vector<float> in = luminance(input);
    EXPECT_FLOAT_EQ(in[0], 179.0f * 10.03125f / 2.0f);  // 897.8: 10 is stored as 160.5 / 16
    const std::string top = picture("m.hdr", {1, 0, 1, 0}, {"EXPOSURE=4"});
    for (const std::string& mask : {top, nested_copy(top, "mn.hdr")}) {
        ASSERT_EQ(run(mask_application_command(mask, input, output())), "");
        const std::vector<float> got = luminance(output());
        // Stored values times 4 and an exposure of 8: exactly the same luminance.
        EXPECT_FLOAT_EQ(got[0], in[0]) << mask;
        EXPECT_FLOAT_EQ(got[2], in[2]) << mask;
        EXPECT_LT(got[1], 1e-30f);
        EXPECT_LT(got[3], 1e-30f);
    }
}

TEST_F(OperandExposure, VignettingCorrectionDividesByTheCorrectionAsRead) {
    const std::string input = picture("i.hdr", {10, 20, 30, 40}, {"EXPOSURE=2"});
    // Read at exposure 4 the correction is 0.5, 1, 0.25 and 2.
    const std::string top = picture("v.hdr", {2, 4, 1, 8}, {"EXPOSURE=4"});
    const std::vector<float> in = luminance(input);
    const std::vector<float> expected = {in[0] / 0.5f, in[1], in[2] / 0.25f, in[3] / 2.0f};
    expect_result(vignetting_command(input, top, output()), expected);
    expect_result(vignetting_command(input, nested_copy(top, "vn.hdr"), output()), expected);
    // The working copy's own exposure may be nested too.
    expect_result(vignetting_command(nested_copy(input, "in.hdr"), top, output()), expected);
}

TEST_F(OperandExposure, AnImageOperationCombinesTheLuminancesAsRead) {
    struct Case {
        std::vector<std::string> a_lines, b_lines;
    };
    for (const Case& c : {Case{{"EXPOSURE=2"}, {"EXPOSURE=2"}}, Case{{"EXPOSURE=0.5"}, {"EXPOSURE=4"}},
                          Case{{"EXPOSURE=2", "EXPOSURE=1.5"}, {}}}) {
        const std::string a = picture("a.hdr", {10, 20, 30, 40}, c.a_lines);
        const std::string b = picture("b.hdr", {4, 1, 2, 8}, c.b_lines);
        const std::vector<float> la = luminance(a), lb = luminance(b);
        for (const std::string& b_used : {b, nested_copy(b, "bn.hdr")}) {
            std::vector<float> sum, difference, product, quotient;
            for (size_t x = 0; x < 4; ++x) {
                sum.push_back(la[x] + lb[x]);
                difference.push_back(std::max(la[x] - lb[x], 0.0f));
                product.push_back(la[x] * lb[x] / 179.0f);  // 179 once: values as read multiply
                quotient.push_back(la[x] / lb[x] * 179.0f);
            }
            expect_result(image_operation_command(a, "+", b_used, output()), sum);
            expect_result(image_operation_command(a, "-", b_used, output()), difference);
            expect_result(image_operation_command(a, "*", b_used, output()), product);
            expect_result(image_operation_command(a, "/", b_used, output()), quotient);
        }
    }
}

TEST_F(OperandExposure, AConstantDivisionDividesTheLuminance) {
    const std::string input = picture("i.hdr", {10, 20, 30, 40}, {"EXPOSURE=2"});
    const std::vector<float> in = luminance(input);
    expect_result(constant_division_command(input, 2.5f, output()),
                  {in[0] / 2.5f, in[1] / 2.5f, in[2] / 2.5f, in[3] / 2.5f});
    expect_result(constant_division_command(nested_copy(input, "in.hdr"), 2.5f, output()),
                  {in[0] / 2.5f, in[1] / 2.5f, in[2] / 2.5f, in[3] / 2.5f});
}

}  // namespace
