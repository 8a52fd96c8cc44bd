#include "bmp_test_files.h"

namespace {

void put(std::string& b, size_t at, uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) b[at + static_cast<size_t>(i)] = static_cast<char>(v >> (8 * i));
}

// File and info headers; `extra` bytes (palette, masks) follow them.
std::string headers(int width, int height, int bits, uint32_t compression, size_t extra, size_t data, uint32_t colours) {
    std::string b(54 + extra, '\0');
    b[0] = 'B', b[1] = 'M';
    put(b, 2, static_cast<uint32_t>(54 + extra + data), 4);
    put(b, 10, static_cast<uint32_t>(54 + extra), 4);
    put(b, 14, 40, 4);
    put(b, 18, static_cast<uint32_t>(width), 4);
    put(b, 22, static_cast<uint32_t>(height), 4);
    put(b, 26, 1, 2);
    put(b, 28, static_cast<uint32_t>(bits), 2);
    put(b, 30, compression, 4);
    put(b, 46, colours, 4);
    return b;
}

}  // namespace

std::string bmp24(const std::vector<std::vector<Rgb>>& rows, bool top_down) {
    const int width = static_cast<int>(rows[0].size()), height = static_cast<int>(rows.size());
    const size_t row_size = (3 * rows[0].size() + 3) & ~size_t{3};
    std::string b = headers(width, top_down ? -height : height, 24, 0, 0, row_size * rows.size(), 0);
    for (int i = 0; i < height; ++i) {
        const auto& row = rows[static_cast<size_t>(top_down ? i : height - 1 - i)];
        std::string bytes(row_size, '\0');
        for (size_t x = 0; x < row.size(); ++x)
            for (int c = 0; c < 3; ++c) bytes[3 * x + static_cast<size_t>(c)] = static_cast<char>(row[x][static_cast<size_t>(2 - c)]);
        b += bytes;
    }
    return b;
}

std::string bmp8(const std::vector<Rgb>& palette, const std::vector<std::vector<uint8_t>>& rows, bool rle) {
    const int width = static_cast<int>(rows[0].size()), height = static_cast<int>(rows.size());
    std::string data;
    for (int i = height - 1; i >= 0; --i) {
        const auto& row = rows[static_cast<size_t>(i)];
        if (rle) {
            for (uint8_t index : row) data += std::string{char(1), static_cast<char>(index)};
            data += std::string("\0\0", 2);
        } else {
            std::string bytes(row.begin(), row.end());
            bytes.resize((row.size() + 3) & ~size_t{3}, '\0');
            data += bytes;
        }
    }
    if (rle) data += std::string("\0\1", 2);
    std::string b = headers(width, height, 8, rle ? 1 : 0, 4 * palette.size(), data.size(),
                            static_cast<uint32_t>(palette.size()));
    for (size_t i = 0; i < palette.size(); ++i)
        for (int c = 0; c < 3; ++c) b[54 + 4 * i + static_cast<size_t>(c)] = static_cast<char>(palette[i][static_cast<size_t>(2 - c)]);
    return b + data;
}

std::string bmp_palette_data(int width, int height, int bits, uint32_t compression, const std::vector<Rgb>& palette,
                             const std::string& data) {
    std::string b = headers(width, height, bits, compression, 4 * palette.size(), data.size(),
                            static_cast<uint32_t>(palette.size()));
    for (size_t i = 0; i < palette.size(); ++i)
        for (int c = 0; c < 3; ++c) b[54 + 4 * i + static_cast<size_t>(c)] = static_cast<char>(palette[i][static_cast<size_t>(2 - c)]);
    return b + data;
}

std::string bmp32(const std::vector<std::vector<Rgb>>& rows) {
    const int width = static_cast<int>(rows[0].size()), height = static_cast<int>(rows.size());
    std::string b = headers(width, height, 32, 3, 12, 4 * rows[0].size() * rows.size(), 0);
    put(b, 54, 0x00ff0000, 4);
    put(b, 58, 0x0000ff00, 4);
    put(b, 62, 0x000000ff, 4);
    for (int i = height - 1; i >= 0; --i)
        for (const Rgb& p : rows[static_cast<size_t>(i)]) b += std::string{static_cast<char>(p[2]), static_cast<char>(p[1]), static_cast<char>(p[0]), '\0'};
    return b;
}
