#include "support/formula_pictures.h"

#include "picture/rgbe_writer.h"

bool write_formula_picture(const std::string& path, int width, int height, const PixelFormula& pixel,
                           std::vector<std::string> header_lines) {
    std::vector<RgbePixel> pixels;
    pixels.reserve(static_cast<size_t>(width) * static_cast<size_t>(height));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) pixels.push_back(pixel(x, y));
    RgbePictureHeader header;
    header.lines = std::move(header_lines);
    header.resolution = standard_resolution(width, height);
    return write_rgbe_picture(path, header, pixels);
}

bool write_grey_picture(const std::string& path, int width, int height, const GreyFormula& grey,
                        std::vector<std::string> header_lines) {
    return write_formula_picture(
        path, width, height,
        [&grey](int x, int y) {
            const float v = grey(x, y);
            return encode_rgbe(v, v, v);
        },
        std::move(header_lines));
}
