#pragma once
// Reads back an uncompressed 24 or 32-bit BMP (what ra_bmp and the bitmap
// writer make), rows bottom-up or top-down.

#include <optional>
#include <string>

#include "picture/bgr_raster.h"

// Nothing when the file cannot be read or is another kind of bitmap.
std::optional<BgrRaster> read_bmp_raster(const std::string& path);
