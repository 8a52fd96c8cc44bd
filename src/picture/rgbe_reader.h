#pragma once
// The application's reader of Radiance RGBE pictures.
//
// The header is any text up to an empty line; every EXPOSURE= found anywhere
// in a line counts (so nested copies of an input's header count too), and a
// FORMAT= line, if any, must say 32-bit_rle_rgbe. Scanlines stay in file
// order whatever the resolution line's signs: row 0 is the first scanline.
// Every failure comes back as a Failure; nothing partial is ever returned.

#include <cstdio>
#include <string>
#include <vector>

#include "common/result.h"
#include "picture/luminance_map.h"
#include "picture/rgbe_pixel.h"

enum ReadFailure : int {
    read_cannot_open = -1,    // "Could not open <path> file"
    read_bad_header = -2,     // "Something is wrong here"
    read_out_of_memory = -3,  // "Out of memory in ra2picarray"
    read_bad_scanline = -4,   // "error reading Radiance picture"
};

struct RgbePicture {
    int scanline_length = 0;
    int scanline_count = 0;
    int orientation = 0;           // resolution-line flags, informative only
    std::vector<float> exposures;  // usable EXPOSURE values in header order
    std::vector<RgbePixel> pixels; // scanline_count rows of scanline_length
};

// Reads the header, the resolution line and every scanline.
Result<RgbePicture> ra2picarray(const std::string& path);
// The same from a stream open for reading (a file or memory).
Result<RgbePicture> ra2picarray(std::FILE* file);

// The product of the exposure values in order, in single precision; 1.0 for
// none.
float exposure_product(const std::vector<float>& exposures);

// The exposure product of a picture's header by the rule above (every
// EXPOSURE= anywhere in a line, values that are not positive and finite
// ignored), reading nothing past the header.
Result<float> read_picture_exposure(const std::string& path);

// The header's lines as the reader sees them (without line ends; a NUL byte
// ends a line), reading nothing past the header.
Result<std::vector<std::string>> read_picture_header(const std::string& path);

// Reads the picture into luminance (cd/m²), divided by the exposure product.
// Decodes and converts scanline by scanline, so the whole RGBE picture is
// never held in memory.
Result<LuminanceMap> load_luminance_map(const std::string& path);
Result<LuminanceMap> load_luminance_map(std::FILE* file);
