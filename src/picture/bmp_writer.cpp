#include "picture/bmp_writer.h"

#include <algorithm>
#include <vector>

#include "common/regular_file.h"

namespace {

void put16(uint8_t* at, uint32_t v) {
    at[0] = static_cast<uint8_t>(v);
    at[1] = static_cast<uint8_t>(v >> 8);
}
void put32(uint8_t* at, uint32_t v) {
    put16(at, v & 0xffff);
    put16(at + 2, v >> 16);
}

// Rows copied into one write of write_bmp24.
constexpr int band_rows = 64;

}  // namespace

BmpWriter::BmpWriter(int width, int height)
    : width_(width), height_(height), row_size_((3 * static_cast<size_t>(width) + 3) & ~size_t{3}) {}

BmpWriter::~BmpWriter() {
    if (file_) std::fclose(file_);
}

bool BmpWriter::open(const std::string& path) {
    file_ = create_regular_file(path);
    if (!file_) return false;
    const size_t image_size = row_size_ * static_cast<size_t>(height_);
    // Reserved fields, no compression and no palette: all zero.
    uint8_t h[54] = {'B', 'M'};
    put32(h + 2, static_cast<uint32_t>(54 + image_size));  // file size
    put32(h + 10, 54);                                      // pixel data offset
    put32(h + 14, 40);                                      // BITMAPINFOHEADER
    put32(h + 18, static_cast<uint32_t>(width_));
    put32(h + 22, static_cast<uint32_t>(height_));  // positive: bottom-up
    put16(h + 26, 1);                               // planes
    put16(h + 28, 24);                              // bits per pixel
    put32(h + 34, static_cast<uint32_t>(image_size));
    put32(h + 38, 2835);  // 72 dpi
    put32(h + 42, 2835);
    failed_ = std::fwrite(h, 1, sizeof h, file_) != sizeof h;
    return true;
}

bool BmpWriter::write_rows(int top_row, int count, const uint8_t* rows) {
    if (!file_ || failed_) return false;
    const long offset = 54 + static_cast<long>(row_size_) * (height_ - top_row - count);
    const size_t bytes = row_size_ * static_cast<size_t>(count);
    if (std::fseek(file_, offset, SEEK_SET) != 0 || std::fwrite(rows, 1, bytes, file_) != bytes) failed_ = true;
    return !failed_;
}

bool BmpWriter::close() {
    if (!file_) return false;
    const bool closed = std::fclose(file_) == 0;
    file_ = nullptr;
    return closed && !failed_;
}

bool write_bmp24(const std::string& path, int width, int height, std::span<const uint8_t> bgr) {
    if (width <= 0 || height <= 0) return false;
    const size_t row_bytes = static_cast<size_t>(width) * 3;
    if (bgr.size() < row_bytes * static_cast<size_t>(height)) return false;
    BmpWriter out(width, height);
    const uint64_t image_size = static_cast<uint64_t>(out.row_size()) * static_cast<uint64_t>(height);
    if (image_size > 0xffffffffull - 54) return false;
    if (!out.open(path)) return false;

    std::vector<uint8_t> band(out.row_size() * band_rows, 0);
    for (int top = 0; top < height; top += band_rows) {
        const int rows = std::min(band_rows, height - top);
        for (int r = 0; r < rows; ++r)
            std::copy_n(bgr.data() + static_cast<size_t>(top + r) * row_bytes, row_bytes,
                        band.begin() + static_cast<std::ptrdiff_t>(out.row_size() * static_cast<size_t>(rows - 1 - r)));
        if (!out.write_rows(top, rows, band.data())) break;
    }
    return out.close();
}
