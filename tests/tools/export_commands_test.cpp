// Save As and tone mapping: output names and command lines, blank for blank.

#include <gtest/gtest.h>

#include "tools/export_commands.h"

namespace {

TEST(OutputNameRule, AppendsTheTypesExtensionUnlessTheNameEndsInIt) {
    EXPECT_EQ(apply_output_name_rule("/p/pic", "hdr"), "/p/pic.hdr");
    EXPECT_EQ(apply_output_name_rule("/p/pic.hdr", "hdr"), "/p/pic.hdr");
    EXPECT_EQ(apply_output_name_rule("/p/pic.bmp", "bmp"), "/p/pic.bmp");
    EXPECT_EQ(apply_output_name_rule("/p/x.jpeg", "jpg"), "/p/x.jpeg.jpg");
    EXPECT_EQ(apply_output_name_rule("/p/x.JPG", "jpg"), "/p/x.JPG.jpg");
    EXPECT_EQ(apply_output_name_rule("/p/office", "hdr"), "/p/office.hdr");
    // Without a full stop the first three characters count.
    EXPECT_EQ(apply_output_name_rule("/p/jpgfile", "jpg"), "/p/jpgfile");
    // A full stop in a folder name is not the name's.
    EXPECT_EQ(apply_output_name_rule("/a.hdr/pic", "hdr"), "/a.hdr/pic.hdr");
}

TEST(SaveImageRequest, OffersOnlyTheBitmapInTheFalsecolorView) {
    const auto normal = save_image_request(false);
    EXPECT_EQ(normal.title, "Save Image as");
    ASSERT_EQ(normal.filters.size(), 4u);
    EXPECT_EQ(normal.filters[2].label, "Compressed JPEG Image (*.jpg)");
    EXPECT_EQ(normal.filters[2].pattern, "*.jpg;");
    const auto falsecolor = save_image_request(true);
    ASSERT_EQ(falsecolor.filters.size(), 1u);
    EXPECT_EQ(falsecolor.filters[0].label, "Bitmap Image (*.bmp)");
    EXPECT_EQ(jpeg_save_request().filters[0].label, "JPG Image");
}

TEST(ExportCommands, KeepTheirDoubledBlanks) {
    EXPECT_EQ(save_bmp_command("/c/dtemp.hdr", "/o/p.bmp"), "/C ra_bmp /c/dtemp.hdr  /o/p.bmp");
    EXPECT_EQ(save_gif_command("/c/dtemp.hdr", "/o/p.gif"), "/C ra_gif /c/dtemp.hdr  /o/p.gif");
    EXPECT_EQ(reinhard_save_command("/c/dtemp.hdr", "/o/p.jpg"), "/C ReinhardTM -i /c/dtemp.hdr -o /o/p.jpg");
    EXPECT_EQ(pcond_command(" ", "/c/dtemp.hdr", "/c/dtemps.hdr"), "/C pcond  /c/dtemp.hdr > /c/dtemps.hdr");
    EXPECT_EQ(tm_linear_command("/c/dtemps.hdr", "/o/p.jpg"), "/C tm_linear -i /c/dtemps.hdr -o /o/p.jpg");
}

TEST(ExportCommands, WriteExponentsWithThreeDigitsAsTheDialogsShowThem) {
    EXPECT_EQ(format_default_wide_exponent(1e20f), "1e+020");
    EXPECT_EQ(format_default_wide_exponent(2.5e-5f), "2.5e-005");
    EXPECT_EQ(format_default_wide_exponent(0.0f), "0");
    EXPECT_EQ(format_default_wide_exponent(0.18f), "0.18");
}

TEST(ReinhardCommand, CarriesDodgingAndTheFourNumbers) {
    ReinhardOptions options;
    options.dodging = true;
    EXPECT_EQ(reinhard_command("/c/dtemp.hdr", "/o/t.jpg", options),
              "/C ReinhardTM -i /c/dtemp.hdr -o /o/t.jpg -scale  -key 0.18 -white 1e+020 -gamma 1.6 -threshold 0.05");
    options.dodging = false;
    options.key = 0.5f;
    EXPECT_EQ(reinhard_command("i", "o", options),
              "/C ReinhardTM -i i -o o -key 0.5 -white 1e+020 -gamma 1.6 -threshold 0.05");
}

TEST(WardOptionText, SendsTheHumanResponseOnceAndTheExposureOnlyWithTheLinearResponse) {
    WardOptions options;
    EXPECT_EQ(ward_option_text(options), " ");
    options.switches[0] = true;  // -h
    options.switches[1] = true;  // -a, part of -h already
    EXPECT_EQ(ward_option_text(options), " -h  ");
    EXPECT_EQ(pcond_command(ward_option_text(options), "I", "C"), "/C pcond  -h  I > C");
    options.switches = {};
    options.switches[1] = true;
    options.switches[5] = true;
    EXPECT_EQ(ward_option_text(options), " -a  -w  ");
    options.switches[6] = true;  // -l
    options.exposure = 2.0f;
    EXPECT_EQ(ward_option_text(options), " -a  -w  -l  -e 2 ");
}

TEST(WardOptionText, AnExposureOfZeroLeavesTheLinearFactorToPcond) {
    WardOptions options;
    options.switches[6] = true;  // -l
    options.exposure = 0.0f;
    EXPECT_EQ(ward_option_text(options), " -l  ");
    options.switches[6] = false;
    EXPECT_EQ(ward_option_text(options), " ");
}

}  // namespace
