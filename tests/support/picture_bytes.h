#pragma once
// Builds RGBE picture files byte by byte, so that tests can say exactly what
// the reader is given: header text, resolution line, flat pixels, old-style
// repeat markers and run-length scanlines.

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "picture/rgbe_pixel.h"

class PictureBytes {
public:
    PictureBytes& text(const std::string& s) {
        bytes_ += s;
        return *this;
    }
    PictureBytes& byte(int b) {
        bytes_.push_back(static_cast<char>(static_cast<uint8_t>(b)));
        return *this;
    }
    PictureBytes& bytes(std::initializer_list<int> list) {
        for (int b : list) byte(b);
        return *this;
    }
    PictureBytes& pixel(const RgbePixel& p) { return bytes({p.r, p.g, p.b, p.e}); }
    PictureBytes& repeat_marker(int count) { return bytes({1, 1, 1, count}); }
    // A run-length scanline of n equal pixels (one run per component).
    PictureBytes& rle_scanline(int n, const RgbePixel& p);
    // A run-length scanline with the given pixels, all components as literals.
    PictureBytes& rle_literal_scanline(const std::vector<RgbePixel>& pixels);

    const std::string& str() const { return bytes_; }

private:
    std::string bytes_;
};

// "#?RADIANCE\n" + lines + "\n" + resolution line + "\n".
std::string picture_header(const std::vector<std::string>& lines, const std::string& resolution);
