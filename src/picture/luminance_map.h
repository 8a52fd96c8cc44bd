#pragma once
// The luminance of every pixel of a picture, in cd/m².
//
// width is the scanline length and height the scanline count of the file;
// row 0 is the first scanline after the resolution line. Values are single
// precision and already divided by the picture's exposure (the product of its
// header's EXPOSURE values, 1.0 when there are none).

#include <cstdint>
#include <vector>

struct LuminanceMap {
    int32_t width = 0;
    int32_t height = 0;
    float exposure = 1.0f;
    std::vector<float> data;  // width * height values, row-major

    bool empty() const { return width == 0 || height == 0; }
    float at(int32_t column, int32_t row) const {
        return data[static_cast<size_t>(row) * static_cast<size_t>(width) + static_cast<size_t>(column)];
    }
};
