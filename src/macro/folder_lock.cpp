#include "macro/folder_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstring>

#include "common/clock_text.h"
#include "common/text_format.h"

namespace {

constexpr size_t holder_chars = 512;

std::string now_text() { return now_as_text("%Y-%m-%d %H:%M:%S UTC", Clock::utc); }

// What the file says about its holder, on one line.
std::string holder_in(int fd) {
    char buffer[holder_chars];
    const ssize_t got = ::pread(fd, buffer, sizeof buffer, 0);
    std::string text;
    for (ssize_t i = 0; i < got; ++i) {
        const char c = buffer[i];
        if (c == '\n' || c == '\r') break;
        // Written by us, but read from a folder anyone may have handed over.
        text += static_cast<unsigned char>(c) < 0x20 || c == 0x7f ? '?' : c;
    }
    return text;
}

// The same on every machine that shares the folder, and short whatever the
// picture's name.
std::string picture_lock_name(const std::string& picture) {
    uint64_t hash = 14695981039346656037ull;  // FNV-1a
    for (unsigned char c : picture) hash = (hash ^ c) * 1099511628211ull;
    return strprintf(".candelux-batch-%016llx.lock", static_cast<unsigned long long>(hash));
}

// A job that ends turns its shared hold into an exclusive one for the
// moment it takes to remove the file (flock converts by letting go first).
// A job starting just then would find the folder "in use"; a shared taker
// therefore waits a little before it believes a whole-folder batch holds it.
constexpr int shared_attempts = 60;
constexpr useconds_t shared_pause_us = 5000;

bool lock_file(int fd, bool shared) {
    for (int attempt = 1;; ++attempt) {
        if (::flock(fd, (shared ? LOCK_SH : LOCK_EX) | LOCK_NB) == 0) return true;
        if (errno != EWOULDBLOCK || !shared || attempt == shared_attempts) return false;
        ::usleep(shared_pause_us);
    }
}

bool same_file(int fd, const std::string& path) {
    struct stat open_file {}, named_file {};
    return ::fstat(fd, &open_file) == 0 && ::lstat(path.c_str(), &named_file) == 0 &&
           open_file.st_dev == named_file.st_dev && open_file.st_ino == named_file.st_ino;
}

}  // namespace

FolderLock::FolderLock(const std::string& folder, const std::string& holder, const std::string& picture) {
    const std::string base = folder + (!folder.empty() && folder.back() == '/' ? "" : "/");
    if (!take(folder_, base + folder_lock_name, !picture.empty(), folder, holder)) return;
    if (picture.empty()) return;
    if (!take(picture_, base + picture_lock_name(picture), false, folder, holder)) {
        release(folder_);
        folder_ = {};
    }
}

FolderLock::~FolderLock() {
    release(picture_);
    release(folder_);
}

bool FolderLock::take(Taken& into, const std::string& path, bool shared, const std::string& folder,
                      const std::string& holder) {
    // A run that ends removes the file while holding it; one that opened the
    // old file just before then finds its lock on a file no longer in the
    // folder, and opens the new one.
    for (int attempt = 0; attempt < 8; ++attempt) {
        const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, 0644);
        if (fd < 0) {
            refusal_ = "could not make the lock file " + path + ": " + std::strerror(errno);
            return false;
        }
        struct stat info {};
        if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
            ::close(fd);
            refusal_ = path + " is not a regular file; remove it to run a batch on " + folder;
            return false;
        }
        if (!lock_file(fd, shared)) {
            const int error = errno;
            const std::string first = holder_in(fd);
            ::close(fd);
            if (error != EWOULDBLOCK) {
                refusal_ = "could not lock " + path + ": " + std::strerror(error);
                return false;
            }
            refusal_ = "the folder " + folder + " is in use by another batch (" +
                       (first.empty() ? std::string("one that has not said who it is") : first) +
                       "); wait for it to end, since two batches on one folder would mix their step files";
            return false;
        }
        if (!same_file(fd, path)) {
            ::close(fd);
            continue;
        }
        // Jobs sharing the lock each write their words; any of them names the
        // list they belong to.
        const std::string text = strprintf("pid %ld, %s, started %s\n", static_cast<long>(::getpid()),
                                           holder.substr(0, holder_chars / 2).c_str(), now_text().c_str());
        if (::ftruncate(fd, 0) != 0 || ::pwrite(fd, text.data(), text.size(), 0) < 0) {
            // The lock holds without the words; a refusal then says less.
        }
        into = Taken{path, fd, shared};
        return true;
    }
    refusal_ = "could not lock " + path + ": it keeps being replaced";
    return false;
}

void FolderLock::release(const Taken& taken) {
    if (taken.fd < 0) return;
    // Removed only by an exclusive holder: a shared one that is not the last
    // leaves the file to the others.
    if (!taken.shared || ::flock(taken.fd, LOCK_EX | LOCK_NB) == 0) {
        if (same_file(taken.fd, taken.path)) ::unlink(taken.path.c_str());
    }
    ::close(taken.fd);
}
