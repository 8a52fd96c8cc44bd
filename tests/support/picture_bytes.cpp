#include "support/picture_bytes.h"

PictureBytes& PictureBytes::rle_scanline(int n, const RgbePixel& p) {
    bytes({2, 2, n >> 8, n & 0xff});
    for (int value : {p.r, p.g, p.b, p.e}) {
        int left = n;
        while (left > 0) {
            const int run = left > 127 ? 127 : left;
            bytes({128 + run, value});
            left -= run;
        }
    }
    return *this;
}

PictureBytes& PictureBytes::rle_literal_scanline(const std::vector<RgbePixel>& pixels) {
    const int n = static_cast<int>(pixels.size());
    bytes({2, 2, n >> 8, n & 0xff});
    for (int c = 0; c < 4; ++c) {
        int i = 0;
        while (i < n) {
            const int count = n - i > 128 ? 128 : n - i;
            byte(count);
            for (int k = 0; k < count; ++k) {
                const RgbePixel& p = pixels[static_cast<size_t>(i + k)];
                byte(c == 0 ? p.r : c == 1 ? p.g : c == 2 ? p.b : p.e);
            }
            i += count;
        }
    }
    return *this;
}

std::string picture_header(const std::vector<std::string>& lines, const std::string& resolution) {
    std::string text = "#?RADIANCE\n";
    for (const auto& line : lines) text += line + "\n";
    return text + "\n" + resolution + "\n";
}
