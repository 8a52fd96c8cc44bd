#pragma once
// Hand-built BMP files for the ra_bmp -r tests: every variant the reader
// accepts, written byte by byte.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

using Rgb = std::array<uint8_t, 3>;

// A 24-bit BMP of rows given top first; stored bottom-up, or top-down
// (negative height) when asked.
std::string bmp24(const std::vector<std::vector<Rgb>>& rows, bool top_down = false);

// An 8-bit palette BMP of index rows given top first, plain or RLE8.
std::string bmp8(const std::vector<Rgb>& palette, const std::vector<std::vector<uint8_t>>& rows, bool rle);

// A palette BMP with pixel data as given (rows bottom-up, or run-length
// codes with compression 1 = RLE8, 2 = RLE4).
std::string bmp_palette_data(int width, int height, int bits, uint32_t compression, const std::vector<Rgb>& palette,
                             const std::string& data);

// A 32-bit BMP with bit-field masks (B G R X bytes).
std::string bmp32(const std::vector<std::vector<Rgb>>& rows);
