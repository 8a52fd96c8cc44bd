#pragma once
// Writing an 8-bit RGB image as a baseline JFIF JPEG with libjpeg-turbo.
//
// Rows are given top first, three bytes per pixel. The whole file is encoded
// in memory before anything is written, so an encoding failure never leaves
// a file behind, and a failed write removes what it left.

#include <cstdint>
#include <string>
#include <vector>

struct DisplayImage {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgb;  // height rows of 3 * width bytes, top row first

    DisplayImage() = default;
    DisplayImage(int w, int h) : width(w), height(h), rgb(3 * static_cast<size_t>(w) * static_cast<size_t>(h), 0) {}
    uint8_t* row(int r) { return rgb.data() + 3 * static_cast<size_t>(width) * static_cast<size_t>(r); }
};

inline constexpr int default_jpeg_quality = 90;

// The JPEG file's bytes (no chroma subsampling); empty when libjpeg refuses
// the image (a zero or over-large size).
std::vector<uint8_t> encode_jpeg(const DisplayImage& image, int quality = default_jpeg_quality);

// Encodes and writes `path`, replacing it; false when the image cannot be
// encoded or the file cannot be written completely.
bool write_jpeg(const std::string& path, const DisplayImage& image, int quality = default_jpeg_quality);
