#pragma once
// Reads PNG files back with stb_image, a decoder independent of the writer
// under test, into the raster the writers take.

#include <filesystem>

#include "picture/bgr_raster.h"

// An empty raster (width 0) when the file cannot be decoded.
BgrRaster read_png_raster(const std::filesystem::path& path);
