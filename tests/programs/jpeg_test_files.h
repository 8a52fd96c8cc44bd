#pragma once
// Reading back the JPEG files the exporters write, with libjpeg directly
// (independently of the programs' own writer).

#include <cstdint>
#include <filesystem>
#include <vector>

struct DecodedJpeg {
    bool ok = false;
    int width = 0;
    int height = 0;
    int components = 0;
    bool jfif = false;         // a JFIF marker was present
    bool progressive = false;
    std::vector<uint8_t> rgb;  // height rows of 3 * width bytes, top first

    const uint8_t* at(int x, int y) const { return rgb.data() + 3 * (static_cast<size_t>(y) * width + x); }
    // Mean of one channel (0 red, 1 green, 2 blue) over a rectangle.
    double mean(int channel, int x0, int y0, int x1, int y1) const;
    double mean(int channel) const { return mean(channel, 0, 0, width, height); }
};

DecodedJpeg decode_jpeg(const std::filesystem::path& path);
