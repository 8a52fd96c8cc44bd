#include "glare_pictures.h"

#include <gtest/gtest.h>

#include <vector>

#include "picture/rgbe_writer.h"

void write_glare_picture(const std::string& path, int width, int height, const std::string& view_line,
                         const std::function<float(int, int)>& luminance) {
    std::vector<RgbePixel> pixels;
    pixels.reserve(static_cast<size_t>(width) * static_cast<size_t>(height));
    for (int row = 0; row < height; ++row)
        for (int x = 0; x < width; ++x) {
            const float v = luminance(x, row) / 179.0f;
            pixels.push_back(encode_rgbe(v, v, v));
        }
    RgbePictureHeader header;
    if (!view_line.empty()) header.lines.push_back(view_line);
    header.resolution = standard_resolution(width, height);
    ASSERT_TRUE(write_rgbe_picture(path, header, pixels));
}

void write_fisheye_with_source(const std::string& path, int size) {
    const float centre = size / 2.0f, radius = size / 20.0f;
    write_glare_picture(path, size, size, "VIEW= -vth -vh 180 -vv 180", [=](int x, int row) {
        const float dx = x + 0.5f - centre, dy = row + 0.5f - size / 4.0f;
        return dx * dx + dy * dy < radius * radius ? 20000.0f : 1000.0f;
    });
}
