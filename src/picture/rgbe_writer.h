#pragma once
// Writes Radiance RGBE pictures: "#?RADIANCE", the given header lines, the
// FORMAT line, an empty line, the resolution line, then run-length encoded
// scanlines (flat pixels where the scanline is too short or too long for
// run-length encoding, as Radiance does).

#include <cstdio>
#include <span>
#include <string>
#include <vector>

#include "picture/resolution_line.h"
#include "picture/rgbe_pixel.h"

struct RgbePictureHeader {
    std::vector<std::string> lines;  // without line ends; no "#?RADIANCE", no FORMAT
    ResolutionLine resolution;       // the standard "-Y count +X length" unless set
};

// The standard orientation for a picture of width x height shown top first.
ResolutionLine standard_resolution(int width, int height);

// Writes the header text and the resolution line.
bool write_rgbe_header(std::FILE* out, const RgbePictureHeader& header);

// Writes a whole picture of header.resolution's size (pixels row by row in
// scanline order). False on a write failure.
bool write_rgbe_picture(std::FILE* out, const RgbePictureHeader& header, std::span<const RgbePixel> pixels);
bool write_rgbe_picture(const std::string& path, const RgbePictureHeader& header,
                        std::span<const RgbePixel> pixels);
