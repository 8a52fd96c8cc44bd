#pragma once
// A picture in memory as the bitmap writers take it: width × height pixels,
// rows top first, three bytes per pixel in the order blue, green, red.

#include <cstddef>
#include <cstdint>
#include <vector>

struct BgrRaster {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> bgr;

    BgrRaster() = default;
    BgrRaster(int w, int h, uint8_t fill = 0)
        : width(w), height(h), bgr(static_cast<size_t>(w) * static_cast<size_t>(h) * 3, fill) {}

    bool inside(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }
    uint8_t* at(int x, int y) {
        return bgr.data() + 3 * (static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x));
    }
    const uint8_t* at(int x, int y) const {
        return bgr.data() + 3 * (static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x));
    }
    // Red, green, blue; nothing happens outside the picture.
    void put(int x, int y, uint8_t r, uint8_t g, uint8_t b) {
        if (!inside(x, y)) return;
        uint8_t* p = at(x, y);
        p[0] = b, p[1] = g, p[2] = r;
    }
};
