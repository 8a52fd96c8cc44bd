#pragma once
// 24-bit PNG files, compressed, for pictures that go into reports.

#include <cstdint>
#include <span>
#include <string>

// `bgr` as for write_bmp24: height rows of width pixels, top row first, three
// bytes each (blue, green, red). False when the file cannot be written
// completely.
bool write_png24(const std::string& path, int width, int height, std::span<const uint8_t> bgr);
