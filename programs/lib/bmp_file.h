#pragma once
// Windows bitmaps: writing 24-bit uncompressed files (the core's BmpWriter),
// reading the common kinds (1, 4 and 8-bit palettes, RLE4 and RLE8, 16 and
// 32-bit with or without bit-field masks, 24-bit; bottom-up or top-down rows).

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "picture/bmp_writer.h"

// 8-bit RGB, rows top first, no padding.
struct RgbImage {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgb;

    uint8_t* row(int top_row) { return rgb.data() + 3 * static_cast<size_t>(width) * static_cast<size_t>(top_row); }
    const uint8_t* row(int top_row) const {
        return rgb.data() + 3 * static_cast<size_t>(width) * static_cast<size_t>(top_row);
    }
};

// Nothing when the file cannot be read or is not a bitmap we understand.
std::optional<RgbImage> read_bmp(const std::string& path);
