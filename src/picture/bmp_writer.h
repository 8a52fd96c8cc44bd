#pragma once
// Standard uncompressed 24-bit BMP files: 54 header bytes (positive height,
// so rows are stored bottom-up, as every reader expects; 2835 pixels per
// metre), then B G R rows each padded to four bytes.

#include <cstdint>
#include <cstdio>
#include <span>
#include <string>

// Writes such a file with rows handed over in bands, in any order, each band
// written at its place, so that a picture read top first never has to be
// held whole.
class BmpWriter {
public:
    BmpWriter(int width, int height);
    ~BmpWriter();
    BmpWriter(const BmpWriter&) = delete;
    BmpWriter& operator=(const BmpWriter&) = delete;

    // Creates the file and writes the headers; false when it cannot.
    bool open(const std::string& path);

    // The bytes of one stored row, padding included.
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

// A whole picture at once: `bgr` holds height rows of width pixels, top row
// first, three bytes each (blue, green, red). False when the file cannot be
// written completely.
bool write_bmp24(const std::string& path, int width, int height, std::span<const uint8_t> bgr);
