#include "support/png_reading.h"

#define STB_IMAGE_IMPLEMENTATION
#define STB_IMAGE_STATIC
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#include <stb/stb_image.h>
#pragma GCC diagnostic pop

BgrRaster read_png_raster(const std::filesystem::path& path) {
    int w = 0, h = 0, channels = 0;
    uint8_t* rgb = stbi_load(path.string().c_str(), &w, &h, &channels, 3);
    if (!rgb) return {};
    BgrRaster raster(w, h);
    for (size_t i = 0; i < static_cast<size_t>(w) * static_cast<size_t>(h); ++i) {
        raster.bgr[3 * i] = rgb[3 * i + 2];
        raster.bgr[3 * i + 1] = rgb[3 * i + 1];
        raster.bgr[3 * i + 2] = rgb[3 * i];
    }
    stbi_image_free(rgb);
    return raster;
}
