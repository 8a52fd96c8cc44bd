// Pixel positions in a picture held in file order, for each way a
// resolution line can lay out the scanlines.

#include <gtest/gtest.h>

#include "lib/oriented_picture.h"

namespace {

OrientedPicture picture(const std::string& resolution_line) {
    OrientedPicture p;
    p.resolution = parse_resolution_line(resolution_line).value();
    return p;
}

TEST(OrientedPicture, StandardOrderStartsAtTheTopLeft) {
    const auto p = picture("-Y 2 +X 3");
    EXPECT_EQ(p.width(), 3);
    EXPECT_EQ(p.height(), 2);
    EXPECT_EQ(p.position(0, 0).x, 0);
    EXPECT_EQ(p.position(0, 0).y, 1);
    EXPECT_EQ(p.position(1, 2).x, 2);
    EXPECT_EQ(p.position(1, 2).y, 0);
}

TEST(OrientedPicture, ColumnScanlinesSwapWidthAndHeight) {
    // protate's layout: 3 scanlines, each a column from the bottom up.
    const auto p = picture("+X 3 +Y 2");
    EXPECT_EQ(p.width(), 3);
    EXPECT_EQ(p.height(), 2);
    EXPECT_EQ(p.position(2, 1).x, 2);
    EXPECT_EQ(p.position(2, 1).y, 1);
    const auto q = picture("-X 3 -Y 2");
    EXPECT_EQ(q.position(0, 0).x, 2);
    EXPECT_EQ(q.position(0, 0).y, 1);
}

TEST(OrientedPicture, FileIndexUndoesPositionForEveryLayout) {
    for (const char* line : {"-Y 4 +X 5", "+Y 4 +X 5", "-Y 4 -X 5", "+Y 4 -X 5", "+X 5 +Y 4", "-X 5 +Y 4",
                             "+X 5 -Y 4", "-X 5 -Y 4"}) {
        const auto p = picture(line);
        ASSERT_EQ(p.width(), 5) << line;
        ASSERT_EQ(p.height(), 4) << line;
        for (int s = 0; s < p.resolution.scanline_count; ++s)
            for (int k = 0; k < p.resolution.scanline_length; ++k)
                EXPECT_EQ(p.file_index(p.position(s, k)),
                          static_cast<size_t>(s * p.resolution.scanline_length + k))
                    << line;
    }
}

}  // namespace
