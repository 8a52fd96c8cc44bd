#pragma once
// A standard uncompressed 24-bit BMP file: rows padded to four bytes and
// stored bottom-up, as every reader expects.

#include <cstdint>
#include <span>
#include <string>

// `bgr` holds height rows of width pixels, top row first, three bytes each
// (blue, green, red). False when the file cannot be written completely.
bool write_bmp24(const std::string& path, int width, int height, std::span<const uint8_t> bgr);
