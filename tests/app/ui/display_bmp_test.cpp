// The display copy read into a QImage on every core: the same pixels as Qt's
// own reader gives, and no answer (so that Qt reads it) for any other file.

#include <QImage>
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "app/ui/display_bmp.h"
#include "picture/bmp_writer.h"
#include "support/temp_folder.h"

namespace {

// A BMP as ra_bmp writes it, in bands, with pixels that give mistakes away.
std::string write_bmp(const TempFolder& folder, const std::string& name, int width, int height) {
    const std::string path = (folder / name).string();
    BmpWriter out(width, height);
    EXPECT_TRUE(out.open(path));
    std::mt19937 random(static_cast<unsigned>(width * 31 + height));
    std::vector<uint8_t> rows(out.row_size() * static_cast<size_t>(height), 0);
    for (int row = 0; row < height; ++row) {
        // Stored bottom row first.
        uint8_t* stored = rows.data() + out.row_size() * static_cast<size_t>(height - 1 - row);
        for (int x = 0; x < width; ++x) {
            stored[3 * x] = static_cast<uint8_t>(x);  // blue: the column
            stored[3 * x + 1] = static_cast<uint8_t>(row);  // green: the row
            stored[3 * x + 2] = static_cast<uint8_t>(random());
        }
    }
    EXPECT_TRUE(out.write_rows(0, height, rows.data()));
    EXPECT_TRUE(out.close());
    return path;
}

TEST(DisplayBmp, ReadsTheSamePixelsAsQt) {
    TempFolder folder;
    // Odd widths have padded rows; 300 rows are several bands.
    for (const auto& [width, height] : {std::pair{7, 5}, std::pair{1, 1}, std::pair{641, 300}}) {
        const std::string path = write_bmp(folder, "p.bmp", width, height);
        const QImage ours = read_display_bmp(path);
        ASSERT_FALSE(ours.isNull()) << width << " x " << height;
        const QImage qt(QString::fromStdString(path));
        ASSERT_FALSE(qt.isNull());
        EXPECT_EQ(ours.format(), QImage::Format_RGB32);
        EXPECT_EQ(ours, qt) << width << " x " << height;
        EXPECT_EQ(qGreen(ours.pixel(width / 2, height - 1)), (height - 1) & 0xff);
        EXPECT_EQ(qBlue(ours.pixel(width - 1, 0)), (width - 1) & 0xff);
    }
}

TEST(DisplayBmp, LeavesOtherFilesToQt) {
    TempFolder folder;
    write_file(folder / "not.bmp", "BM not really a bitmap at all, just some text long enough for a header");
    EXPECT_TRUE(read_display_bmp((folder / "not.bmp").string()).isNull());
    EXPECT_TRUE(read_display_bmp((folder / "missing.bmp").string()).isNull());
    EXPECT_TRUE(read_display_bmp(folder.str()).isNull());  // a folder
    // Cut short: the rows are not all there.
    const std::string path = write_bmp(folder, "short.bmp", 20, 20);
    const std::string bytes = read_file(path);
    write_file(folder / "short.bmp", bytes.substr(0, bytes.size() - 10));
    EXPECT_TRUE(read_display_bmp(path).isNull());
}

}  // namespace
