#pragma once
// Windows bitmaps: writing 24-bit uncompressed files, reading the common
// kinds (1, 4 and 8-bit palettes, RLE4 and RLE8, 16 and 32-bit with or
// without bit-field masks, 24-bit; bottom-up or top-down rows).

#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

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

// Writes a 24-bit BMP: 54 header bytes (positive height, so rows are stored
// bottom-up; 2835 pixels per metre), then B G R rows padded to four bytes.
// Rows are handed over in bands in any order, each band written at its
// place, so a picture read top first never has to be held whole.
class BmpWriter {
public:
    BmpWriter(int width, int height);
    ~BmpWriter();
    BmpWriter(const BmpWriter&) = delete;
    BmpWriter& operator=(const BmpWriter&) = delete;

    // Creates the file and writes the headers; false when it cannot.
    bool open(const std::string& path);

    size_t row_size() const { return row_size_; }

    // Writes `count` rows, the top one being `top_row`; `rows` holds them
    // as the file does: bottom row first, each row_size() bytes.
    bool write_rows(int top_row, int count, const uint8_t* rows);

    // Closes the file; false when anything failed.
    bool close();

private:
    int width_;
    int height_;
    size_t row_size_;
    std::FILE* file_ = nullptr;
    bool failed_ = false;
};

// Nothing when the file cannot be read or is not a bitmap we understand.
std::optional<RgbImage> read_bmp(const std::string& path);
