// The application's reader given what is not a picture file: a device, a
// FIFO, a folder, and a header that never ends.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>

#include "picture/header_limit.h"
#include "picture/rgbe_reader.h"
#include "support/temp_folder.h"

using ::testing::HasSubstr;

TEST(UnreadablePicture, DevicesFifosAndFoldersAreRefusedUnread) {
    TempFolder folder;
    ASSERT_EQ(::mkfifo((folder / "fifo.hdr").c_str(), 0600), 0);
    for (const std::string& path : {std::string("/dev/zero"), (folder / "fifo.hdr").string(), folder.str()}) {
        SCOPED_TRACE(path);
        const auto map = load_luminance_map(path);
        ASSERT_FALSE(map.ok());
        EXPECT_EQ(map.failure().code, read_cannot_open);
        EXPECT_THAT(map.failure().message, HasSubstr("not a"));
        EXPECT_FALSE(read_picture_exposure(path).ok());
        EXPECT_FALSE(read_picture_header(path).ok());
        EXPECT_FALSE(ra2picarray(path).ok());
    }
}

TEST(UnreadablePicture, AHeaderLongerThanTheLimitIsRefusedAndOneWithinItIsRead) {
    TempFolder folder;
    const std::string line = "COMMENT=" + std::string(70, 'x') + "\n";
    std::string header = "#?RADIANCE\nEXPOSURE=2\n";
    while (header.size() + line.size() + 1 <= max_header_bytes) header += line;
    write_file(folder / "fits.hdr", header + "\n-Y 1 +X 1\n\x80\x80\x80\x80");
    const auto fits = load_luminance_map((folder / "fits.hdr").string());
    ASSERT_TRUE(fits.ok()) << fits.failure().message;
    EXPECT_EQ(fits.value().exposure, 2.0f);

    header += line + line;
    write_file(folder / "long.hdr", header + "\n-Y 1 +X 1\n\x80\x80\x80\x80");
    const auto refused = load_luminance_map((folder / "long.hdr").string());
    ASSERT_FALSE(refused.ok());
    EXPECT_EQ(refused.failure().code, read_bad_header);
    EXPECT_EQ(refused.failure().message, "header too long");
    EXPECT_EQ(read_picture_exposure((folder / "long.hdr").string()).failure().message, "header too long");

    // Without a single line end: NUL bytes as /dev/zero gives them.
    write_file(folder / "zeros.hdr", std::string(3u << 20, '\0'));
    EXPECT_EQ(load_luminance_map((folder / "zeros.hdr").string()).failure().message, "header too long");
}
