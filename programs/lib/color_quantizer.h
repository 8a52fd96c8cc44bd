#pragma once
// Reducing an 8-bit RGB image to a palette of at most 256 colours. An image
// with no more colours than that keeps them exactly; otherwise median
// cut over a 5-bit-per-channel histogram chooses the palette (each entry the
// mean of the pixels in its box), then Floyd-Steinberg error diffusion maps
// the pixels, with the error carried into any pixel limited to +-20 per
// channel so that flat areas do not grow speckles.

#include <cstdint>
#include <vector>

#include "lib/bmp_file.h"

struct PaletteImage {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> palette;  // 256 R G B entries (unused ones black)
    std::vector<uint8_t> indices;  // width * height, rows top first
};

// The palette of at most `colours` entries for the image.
std::vector<uint8_t> median_cut_palette(const RgbImage& image, int colours);

// The image mapped onto a palette with error diffusion.
PaletteImage quantize(const RgbImage& image, int colours = 256);
