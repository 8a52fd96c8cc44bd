// Files read because someone named them are regular files, and the refusal
// says what they are instead; nothing blocks or reads on.

#include <gtest/gtest.h>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>

#include "common/regular_file.h"
#include "common/text_file.h"
#include "picture/bmp_writer.h"
#include "picture/png_writer.h"
#include "support/temp_folder.h"

namespace fs = std::filesystem;

TEST(RegularFile, OnlyARegularFileIsOpenedAndEveryOtherKindIsNamed) {
    TempFolder folder;
    write_file(folder / "picture.hdr", "bytes");
    fs::create_symlink(folder / "picture.hdr", folder / "link.hdr");
    ASSERT_EQ(::mkfifo((folder / "fifo").c_str(), 0600), 0);
    fs::create_symlink(folder / "fifo", folder / "to_fifo");
    fs::create_directory(folder / "folder");
    const int sock = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::snprintf(address.sun_path, sizeof address.sun_path, "%s", (folder / "socket").c_str());
    ASSERT_EQ(::bind(sock, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);

    EXPECT_EQ(regular_file_problem((folder / "picture.hdr").string()), "");
    EXPECT_EQ(regular_file_problem((folder / "link.hdr").string()), "");
    EXPECT_EQ(regular_file_problem((folder / "fifo").string()), "a FIFO, not a regular file");
    EXPECT_EQ(regular_file_problem((folder / "to_fifo").string()), "a FIFO, not a regular file");
    EXPECT_EQ(regular_file_problem("/dev/zero"), "a device, not a regular file");
    EXPECT_EQ(regular_file_problem((folder / "folder").string()), "a folder, not a file");
    EXPECT_EQ(regular_file_problem((folder / "socket").string()), "a socket, not a regular file");
    EXPECT_EQ(regular_file_problem((folder / "missing").string()), "No such file or directory");
    ::close(sock);

    std::string kind;
    std::FILE* file = open_regular_file((folder / "picture.hdr").string(), &kind);
    ASSERT_NE(file, nullptr);
    char bytes[8] = {};
    EXPECT_EQ(std::fread(bytes, 1, sizeof bytes, file), 5u) << "read as usual, not without blocking";
    std::fclose(file);
    EXPECT_EQ(kind, "");
    EXPECT_EQ(open_regular_file("/dev/zero", &kind), nullptr);
    EXPECT_EQ(kind, "a device, not a regular file");
    errno = 0;
    EXPECT_EQ(open_regular_file((folder / "missing").string(), &kind), nullptr);
    EXPECT_EQ(errno, ENOENT);
    EXPECT_EQ(kind, "");
}

TEST(RegularFile, TheKindIsNamedOnlyForWhatExistsAndIsNotARegularFile) {
    TempFolder folder;
    write_file(folder / "file", "x");
    EXPECT_EQ(non_regular_kind((folder / "file").string()), "");
    EXPECT_EQ(non_regular_kind((folder / "missing").string()), "");
    EXPECT_EQ(non_regular_kind("/dev/null"), "a device, not a regular file");
    EXPECT_EQ(non_regular_kind(folder.str()), "a folder, not a file");
}

TEST(RegularFile, TextFilesAreReadOnlyFromRegularFiles) {
    TempFolder folder;
    ASSERT_EQ(::mkfifo((folder / "fifo.seq").c_str(), 0600), 0);
    EXPECT_FALSE(read_file_bytes(folder / "fifo.seq"));
    EXPECT_FALSE(read_file_bytes("/dev/zero"));
    EXPECT_FALSE(read_text_lines(folder.path()));
    write_file(folder / "a.seq", "one\r\ntwo");
    EXPECT_EQ(read_file_bytes(folder / "a.seq"), "one\r\ntwo");
}

TEST(RegularFile, APictureIsWrittenIntoARegularFileButNeverThroughALink) {
    TempFolder folder;
    write_file(folder / "secret", "keep me");
    write_file(folder / "old.bmp", "an older and longer picture");
    fs::create_symlink(folder / "secret", folder / "planted.bmp");
    ASSERT_EQ(::mkfifo((folder / "fifo.bmp").c_str(), 0600), 0);
    const uint8_t pixel[3] = {1, 2, 3};

    EXPECT_TRUE(write_bmp24((folder / "old.bmp").string(), 1, 1, pixel));
    EXPECT_EQ(fs::file_size(folder / "old.bmp"), 58u) << "emptied before it was written";
    EXPECT_FALSE(write_bmp24((folder / "planted.bmp").string(), 1, 1, pixel));
    EXPECT_FALSE(write_png24((folder / "planted.bmp").string(), 1, 1, pixel));
    EXPECT_EQ(read_file(folder / "secret"), "keep me");
    EXPECT_FALSE(write_bmp24((folder / "fifo.bmp").string(), 1, 1, pixel)) << "and without hanging";
    EXPECT_TRUE(write_png24((folder / "new.png").string(), 1, 1, pixel));
}

// An output file of ours is replaced by a new one (so the file system does
// not write it out on closing, as it does for a file emptied in place) with
// the old one's mode; a name with other links, a link or a device is opened
// as fopen opens it, and the safe creation still never writes through a link.
TEST(RegularFile, AnOutputFileOfOursIsMadeAnewWithItsModeAndAnythingElseIsOpenedAsBefore) {
    TempFolder folder;
    const fs::path output = folder / "out.hdr";
    write_file(output, "an older and longer picture");
    ASSERT_EQ(::chmod(output.c_str(), 0640), 0);
    std::FILE* old = std::fopen(output.c_str(), "rb");  // the old file, held open
    ASSERT_NE(old, nullptr);
    std::FILE* file = create_output_file(output.string());
    ASSERT_NE(file, nullptr);
    std::fputs("new", file);
    std::fclose(file);
    struct stat after {};
    ASSERT_EQ(::stat(output.c_str(), &after), 0);
    char kept[64] = {};
    EXPECT_EQ(std::fread(kept, 1, sizeof kept - 1, old), 27u) << "made anew, not emptied";
    std::fclose(old);
    EXPECT_EQ(after.st_mode & 07777, 0640u);
    EXPECT_EQ(read_file(output), "new");

    // Two names of one file: both see the new contents, as before.
    fs::create_hard_link(output, folder / "second name");
    file = create_output_file(output.string());
    ASSERT_NE(file, nullptr);
    std::fputs("both", file);
    std::fclose(file);
    EXPECT_EQ(read_file(folder / "second name"), "both");

    // Through a link for the programs' outputs, as fopen writes; never for
    // the application's own files.
    write_file(folder / "target", "old");
    fs::create_symlink(folder / "target", folder / "link.hdr");
    file = create_output_file((folder / "link.hdr").string());
    ASSERT_NE(file, nullptr);
    std::fputs("through", file);
    std::fclose(file);
    EXPECT_TRUE(fs::is_symlink(folder / "link.hdr"));
    EXPECT_EQ(read_file(folder / "target"), "through");
    EXPECT_EQ(create_regular_file((folder / "link.hdr").string()), nullptr);

    const int fd = create_output_descriptor("/dev/null");
    EXPECT_GE(fd, 0) << "a device is opened, not replaced";
    if (fd >= 0) ::close(fd);
    EXPECT_TRUE(fs::is_character_file("/dev/null"));
    EXPECT_EQ(create_output_file((folder / "no folder/out.hdr").string()), nullptr);
}
