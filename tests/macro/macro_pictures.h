#pragma once
// Small pictures and sequence files for the macro and batch tests.

#include <filesystem>
#include <string>
#include <vector>

#include "picture/rgbe_writer.h"
#include "support/temp_folder.h"

// A width x height picture whose pixel (x, y) is grey with x + 10 y + 1
// (stored value), with the given header lines (e.g. "EXPOSURE=0.5").
inline std::string write_macro_picture(const std::filesystem::path& path, int width, int height,
                                       std::vector<std::string> header = {}) {
    std::vector<RgbePixel> pixels;
    pixels.reserve(static_cast<size_t>(width) * static_cast<size_t>(height));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const float v = static_cast<float>(x + 10 * y + 1);
            pixels.push_back(encode_rgbe(v, v, v));
        }
    RgbePictureHeader h;
    h.lines = std::move(header);
    h.resolution = standard_resolution(width, height);
    write_rgbe_picture(path.string(), h, pixels);
    return path.string();
}

// A sequence file of the given lines, each ended with CR LF.
inline std::string write_sequence(const std::filesystem::path& path, const std::vector<std::string>& lines) {
    std::string text;
    for (const auto& line : lines) text += line + "\r\n";
    write_file(path, text);
    return path.string();
}
