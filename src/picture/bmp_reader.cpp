#include "picture/bmp_reader.h"

#include <cstdlib>

#include "common/text_file.h"

namespace {

uint32_t u32(const std::string& s, size_t at) {
    return static_cast<uint32_t>(static_cast<uint8_t>(s[at])) | static_cast<uint32_t>(static_cast<uint8_t>(s[at + 1])) << 8 |
           static_cast<uint32_t>(static_cast<uint8_t>(s[at + 2])) << 16 |
           static_cast<uint32_t>(static_cast<uint8_t>(s[at + 3])) << 24;
}
uint16_t u16(const std::string& s, size_t at) {
    return static_cast<uint16_t>(static_cast<uint8_t>(s[at]) | static_cast<uint8_t>(s[at + 1]) << 8);
}

// Far beyond any picture this program shows, and small enough that sizes
// computed from it cannot overflow.
constexpr int64_t max_side = 1 << 16;

}  // namespace

std::optional<BgrRaster> read_bmp_raster(const std::string& path) {
    const auto bytes = read_file_bytes(path);
    if (!bytes || bytes->size() < 54 || bytes->compare(0, 2, "BM") != 0) return std::nullopt;
    const std::string& s = *bytes;
    const uint32_t offset = u32(s, 10);
    const int64_t width = static_cast<int32_t>(u32(s, 18));
    const int64_t signed_height = static_cast<int32_t>(u32(s, 22));
    const uint16_t bits = u16(s, 28);
    const uint32_t compression = u32(s, 30);
    // BI_RGB, or BI_BITFIELDS as 32-bit writers often mark it.
    if ((bits != 24 && bits != 32) || (compression != 0 && !(compression == 3 && bits == 32))) return std::nullopt;
    const int64_t height = std::llabs(signed_height);
    if (width <= 0 || height <= 0 || width > max_side || height > max_side) return std::nullopt;
    const size_t pixel = bits / 8;
    const size_t stride = (pixel * static_cast<size_t>(width) + 3) & ~size_t{3};
    if (offset > s.size() || s.size() - offset < stride * static_cast<size_t>(height)) return std::nullopt;
    BgrRaster raster(static_cast<int>(width), static_cast<int>(height));
    for (int64_t row = 0; row < height; ++row) {
        // Positive heights store the bottom row first.
        const int64_t stored = signed_height > 0 ? height - 1 - row : row;
        const size_t from = offset + static_cast<size_t>(stored) * stride;
        uint8_t* to = raster.at(0, static_cast<int>(row));
        for (int64_t x = 0; x < width; ++x)
            for (size_t c = 0; c < 3; ++c)
                to[3 * x + c] = static_cast<uint8_t>(s[from + static_cast<size_t>(x) * pixel + c]);
    }
    return raster;
}
