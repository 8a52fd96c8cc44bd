#include "common/regular_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace {

const char* kind_of(mode_t mode) {
    if (S_ISDIR(mode)) return "a folder, not a file";
    if (S_ISFIFO(mode)) return "a FIFO, not a regular file";
    if (S_ISCHR(mode) || S_ISBLK(mode)) return "a device, not a regular file";
    if (S_ISSOCK(mode)) return "a socket, not a regular file";
    return "not a regular file";
}

// An open descriptor of a regular file, or -1 with `kind` or errno set.
int open_regular(const std::string& path, std::string& kind) {
    // O_NONBLOCK: opening a FIFO without a writer would otherwise wait forever.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        // A socket cannot be opened at all (ENXIO); say what it is.
        const int error = errno;
        struct stat info {};
        if (error == ENXIO && ::stat(path.c_str(), &info) == 0) kind = kind_of(info.st_mode);
        errno = error;
        return -1;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        kind = kind_of(info.st_mode);
        ::close(fd);
        errno = EINVAL;
        return -1;
    }
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags >= 0) ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    return fd;
}

// The stream of an open descriptor, or null (the descriptor closed, errno
// as fdopen left it).
std::FILE* stream_of(int fd, const char* mode) {
    std::FILE* file = ::fdopen(fd, mode);
    if (!file) {
        const int error = errno;
        ::close(fd);
        errno = error;
    }
    return file;
}

}  // namespace

std::FILE* open_regular_file(const std::string& path, std::string* kind) {
    std::string found;
    const int fd = open_regular(path, found);
    if (kind) *kind = found;
    return fd < 0 ? nullptr : stream_of(fd, "rb");
}

std::string non_regular_kind(const std::string& path) {
    std::string kind;
    const int fd = open_regular(path, kind);
    if (fd >= 0) ::close(fd);
    return kind;
}

std::string regular_file_problem(const std::string& path) {
    std::string kind;
    const int fd = open_regular(path, kind);
    if (fd >= 0) {
        ::close(fd);
        return {};
    }
    return kind.empty() ? std::string(std::strerror(errno)) : kind;
}

namespace {

// A new regular file under the name of one we own alone (one link), made
// anew rather than emptied in place, or -1 when the name holds anything
// else (nothing, a link, a device, a file with other names or owners),
// which the caller then opens its usual way. Emptying a file whose blocks
// are written makes ext4 write the whole new contents out when the file is
// closed (its guard for programs that rewrite a file without syncing it),
// a wait as long as writing them; a new file is left to the page cache.
int new_file_in_place_of(const std::string& path) {
    struct stat old {};
    if (::lstat(path.c_str(), &old) != 0 || !S_ISREG(old.st_mode) || old.st_nlink != 1 || old.st_uid != ::geteuid() ||
        old.st_size == 0)
        return -1;
    if (::unlink(path.c_str()) != 0) return -1;
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd >= 0) ::fchmod(fd, old.st_mode & 07777);
    return fd;
}

}  // namespace

int create_output_descriptor(const std::string& path) {
    const int fd = new_file_in_place_of(path);
    return fd >= 0 ? fd : ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
}

std::FILE* create_output_file(const std::string& path) {
    const int fd = create_output_descriptor(path);
    return fd >= 0 ? stream_of(fd, "wb") : nullptr;
}

std::FILE* create_regular_file(const std::string& path) {
    if (const int fd = new_file_in_place_of(path); fd >= 0) return stream_of(fd, "wb");
    // Opened without blocking, so that a FIFO under the name cannot hang the
    // open; then looked at before anything is emptied.
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0666);
    if (fd < 0) return nullptr;
    struct stat status {};
    // Emptying a file that is empty already is left out: ext4 would take
    // even that as a rewrite and write the file out when it is closed.
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode) || (status.st_size > 0 && ::ftruncate(fd, 0) != 0)) {
        const int error = S_ISREG(status.st_mode) ? errno : EINVAL;
        ::close(fd);
        errno = error;
        return nullptr;
    }
    return stream_of(fd, "wb");
}
