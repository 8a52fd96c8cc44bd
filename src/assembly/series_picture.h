#pragma once
// Row-by-row decoding of the pictures of an exposure series: 8-bit JPEG
// (libjpeg) and 8- or 16-bit TIFF (libtiff), grey or RGB. Every picture is
// delivered as RGB samples, three per pixel, row 0 at the top, in an
// unsigned 16-bit buffer whose largest value is `levels` (255 or 65535).
//
// A reader holds one open file and decodes only the rows asked for, so a
// series of many large pictures is assembled a band of rows at a time.

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "common/result.h"

class SeriesPicture {
public:
    virtual ~SeriesPicture() = default;
    int width() const { return width_; }
    int height() const { return height_; }
    int levels() const { return levels_; }

    // Decodes the next `rows` rows into out (rows * width * 3 samples).
    // False when the file turns out damaged.
    virtual bool read_rows(int rows, std::span<uint16_t> out) = 0;

protected:
    int width_ = 0;
    int height_ = 0;
    int levels_ = 255;
};

Result<std::unique_ptr<SeriesPicture>> open_series_picture(const std::string& path);

// A small copy for choosing sample positions: the mean of each 4 x 4 cell
// (a JPEG decoder gives it for a fraction of a full decode by scaling its
// inverse transforms).
inline constexpr int reduction = 4;

struct ReducedPicture {
    int width = 0;   // ceil(picture width / reduction)
    int height = 0;
    int levels = 255;
    std::vector<uint16_t> rgb;
};

Result<ReducedPicture> read_reduced_picture(const std::string& path);
