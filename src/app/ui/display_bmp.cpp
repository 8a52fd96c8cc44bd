#include "app/ui/display_bmp.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <new>

#include "common/huge_pages.h"
#include "common/parallel_bands.h"

namespace {

constexpr size_t file_header_bytes = 14;
constexpr size_t info_header_bytes = 40;
constexpr int64_t max_side = 1 << 16;
constexpr size_t rows_per_band = 64;

uint32_t u32(const uint8_t* at) {
    return static_cast<uint32_t>(at[0]) | static_cast<uint32_t>(at[1]) << 8 | static_cast<uint32_t>(at[2]) << 16 |
           static_cast<uint32_t>(at[3]) << 24;
}
uint16_t u16(const uint8_t* at) { return static_cast<uint16_t>(at[0] | at[1] << 8); }

// Reads exactly n bytes at `offset`.
bool read_at(int descriptor, uint8_t* to, size_t n, off_t offset) {
    while (n > 0) {
        const ssize_t got = ::pread(descriptor, to, n, offset);
        if (got <= 0) return false;
        to += got;
        n -= static_cast<size_t>(got);
        offset += got;
    }
    return true;
}

struct Descriptor {
    int fd = -1;
    ~Descriptor() {
        if (fd >= 0) ::close(fd);
    }
};

}  // namespace

QImage read_display_bmp(const std::string& path) {
    Descriptor file{::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK)};
    struct stat info {};
    if (file.fd < 0 || ::fstat(file.fd, &info) != 0 || !S_ISREG(info.st_mode)) return {};
    uint8_t header[file_header_bytes + info_header_bytes];
    if (!read_at(file.fd, header, sizeof header, 0) || header[0] != 'B' || header[1] != 'M') return {};
    const uint32_t offset = u32(header + 10);
    const uint8_t* dib = header + file_header_bytes;
    const int64_t width = static_cast<int32_t>(u32(dib + 4));
    const int64_t signed_height = static_cast<int32_t>(u32(dib + 8));
    const int64_t height = std::llabs(signed_height);
    if (u32(dib) != info_header_bytes || u16(dib + 12) != 1 || u16(dib + 14) != 24 || u32(dib + 16) != 0) return {};
    if (width <= 0 || height <= 0 || width > max_side || height > max_side) return {};
    const size_t stride = (3 * static_cast<size_t>(width) + 3) & ~size_t{3};
    const uint64_t needed = static_cast<uint64_t>(offset) + stride * static_cast<uint64_t>(height);
    if (offset < sizeof header || needed > static_cast<uint64_t>(info.st_size)) return {};

    QImage image(static_cast<int>(width), static_cast<int>(height), QImage::Format_RGB32);
    if (image.isNull()) return {};
    uchar* const bits = image.bits();
    const size_t line = static_cast<size_t>(image.bytesPerLine());
    // The image's memory is still untouched: in huge pages, filling it takes
    // a page fault per 2 MiB rather than per 4 KiB.
    advise_huge_pages(bits, line * static_cast<size_t>(height));
    const size_t w = static_cast<size_t>(width);
    std::atomic<bool> failed{false};
    try {
    run_in_bands(static_cast<size_t>(height), rows_per_band, [&](size_t first, size_t last) {
        // Rows first .. last - 1 lie together in the file, bottom-up ones in
        // reverse order.
        const size_t rows = last - first;
        const bool bottom_up = signed_height > 0;
        const size_t first_stored = bottom_up ? static_cast<size_t>(height) - last : first;
        const std::unique_ptr<uint8_t[]> stored(new uint8_t[rows * stride]);
        if (!read_at(file.fd, stored.get(), rows * stride,
                     static_cast<off_t>(offset + first_stored * stride))) {
            failed = true;
            return;
        }
        for (size_t r = 0; r < rows; ++r) {
            const size_t row = first + r;
            const uint8_t* from = stored.get() + (bottom_up ? rows - 1 - r : r) * stride;
            auto* to = reinterpret_cast<uint32_t*>(bits + row * line);
            for (size_t x = 0; x < w; ++x)
                to[x] = 0xff000000u | static_cast<uint32_t>(from[3 * x + 2]) << 16 |
                        static_cast<uint32_t>(from[3 * x + 1]) << 8 | from[3 * x];
        }
    });
    } catch (const std::bad_alloc&) {
        return {};
    }
    if (failed) return {};
    return image;
}
