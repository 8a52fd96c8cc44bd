// The JPEG writer shared by the exporters.

#include <gtest/gtest.h>

#include "jpeg_test_files.h"
#include "lib/jpeg_file.h"
#include "support/temp_folder.h"

namespace {

TEST(JpegFile, EncodesAJfifBaselineImageThatDecodesToItsPixels) {
    DisplayImage image(24, 10);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 24; ++x) {
            uint8_t* p = image.row(y) + 3 * x;
            p[0] = static_cast<uint8_t>(x < 8 ? 200 : 30);
            p[1] = static_cast<uint8_t>(x < 16 ? 120 : 240);
            p[2] = 60;
        }
    const auto bytes = encode_jpeg(image);
    ASSERT_GT(bytes.size(), 4u);
    EXPECT_EQ(bytes[0], 0xFF);
    EXPECT_EQ(bytes[1], 0xD8);
    TempFolder folder;
    ASSERT_TRUE(write_jpeg((folder / "a.jpg").string(), image));
    const auto decoded = decode_jpeg(folder / "a.jpg");
    ASSERT_TRUE(decoded.ok);
    EXPECT_TRUE(decoded.jfif);
    EXPECT_FALSE(decoded.progressive);
    EXPECT_EQ(decoded.width, 24);
    EXPECT_EQ(decoded.height, 10);
    // Away from the edges between colours, every channel is kept closely.
    EXPECT_NEAR(decoded.mean(0, 0, 0, 6, 10), 200, 2);
    EXPECT_NEAR(decoded.mean(0, 18, 0, 24, 10), 30, 2);
    EXPECT_NEAR(decoded.mean(1, 18, 0, 24, 10), 240, 2);
    EXPECT_NEAR(decoded.mean(2), 60, 2);
}

TEST(JpegFile, RefusesAnEmptyImageAndAnUnwritablePathWithoutLeavingAFile) {
    EXPECT_TRUE(encode_jpeg(DisplayImage()).empty());
    TempFolder folder;
    EXPECT_FALSE(write_jpeg((folder / "e.jpg").string(), DisplayImage()));
    EXPECT_FALSE(std::filesystem::exists(folder / "e.jpg"));
    EXPECT_FALSE(write_jpeg((folder / "no" / "a.jpg").string(), DisplayImage(2, 2)));
}

}  // namespace
