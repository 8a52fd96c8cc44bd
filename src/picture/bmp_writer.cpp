#include "picture/bmp_writer.h"

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

namespace {

void put16(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}
void put32(std::vector<uint8_t>& out, uint32_t v) {
    put16(out, v & 0xffff);
    put16(out, v >> 16);
}

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

}  // namespace

bool write_bmp24(const std::string& path, int width, int height, std::span<const uint8_t> bgr) {
    if (width <= 0 || height <= 0) return false;
    const size_t row_bytes = static_cast<size_t>(width) * 3;
    if (bgr.size() < row_bytes * static_cast<size_t>(height)) return false;
    const size_t stride = (row_bytes + 3) & ~static_cast<size_t>(3);
    const uint64_t image_size = static_cast<uint64_t>(stride) * static_cast<uint64_t>(height);
    if (image_size > 0xffffffffull - 54) return false;

    std::vector<uint8_t> header;
    header.push_back('B');
    header.push_back('M');
    put32(header, static_cast<uint32_t>(54 + image_size));  // file size
    put32(header, 0);                                        // reserved
    put32(header, 54);                                       // pixel data offset
    put32(header, 40);                                       // BITMAPINFOHEADER
    put32(header, static_cast<uint32_t>(width));
    put32(header, static_cast<uint32_t>(height));  // positive: bottom-up
    put16(header, 1);                              // planes
    put16(header, 24);                             // bits per pixel
    put32(header, 0);                              // no compression
    put32(header, static_cast<uint32_t>(image_size));
    put32(header, 2835);  // 72 dpi
    put32(header, 2835);
    put32(header, 0);
    put32(header, 0);

    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "wb"));
    if (!file) return false;
    if (std::fwrite(header.data(), 1, header.size(), file.get()) != header.size()) return false;
    std::vector<uint8_t> row(stride, 0);
    for (int y = height - 1; y >= 0; --y) {
        std::copy_n(bgr.data() + static_cast<size_t>(y) * row_bytes, row_bytes, row.begin());
        if (std::fwrite(row.data(), 1, stride, file.get()) != stride) return false;
    }
    return std::fclose(file.release()) == 0;
}
