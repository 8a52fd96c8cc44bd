#pragma once
// Small RGBE pictures made from a formula and written with our RGBE writer,
// for tests that need a picture file on disk. Pixel (x, y) counts x from the
// left and y from the top row; the picture has the standard orientation.

#include <functional>
#include <string>
#include <vector>

#include "picture/rgbe_pixel.h"

using PixelFormula = std::function<RgbePixel(int x, int y)>;
using GreyFormula = std::function<float(int x, int y)>;

// Writes a width x height picture whose pixel (x, y) is pixel(x, y), with
// the header lines; false when the file cannot be written.
bool write_formula_picture(const std::string& path, int width, int height, const PixelFormula& pixel,
                           std::vector<std::string> header_lines = {});

// The same in grey: every channel of pixel (x, y) holds grey(x, y).
bool write_grey_picture(const std::string& path, int width, int height, const GreyFormula& grey,
                        std::vector<std::string> header_lines = {});
