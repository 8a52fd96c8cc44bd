#pragma once
// Pictures for the program tests: the small pictures the programs'
// documented examples use, pictures whose pixel values give their position
// away, and a reader that takes a written picture apart (header lines,
// resolution line, pixels in file order) with the core's scanline decoder,
// independently of the programs' own library.

#include <ostream>
#include <string>
#include <vector>

#include "picture/rgbe_pixel.h"
#include "support/temp_folder.h"

// Failing comparisons show pixels as their four bytes.
inline void PrintTo(const RgbePixel& p, std::ostream* os) {
    *os << "(" << int(p.r) << "," << int(p.g) << "," << int(p.b) << "," << int(p.e) << ")";
}

// The six pixels of tiny.hdr, top row A B C, bottom row D E F.
namespace tiny {
inline constexpr RgbePixel A{128, 64, 32, 129}, B{200, 100, 50, 130}, C{0, 0, 0, 0};
inline constexpr RgbePixel D{255, 255, 255, 128}, E{128, 128, 128, 136}, F{10, 20, 30, 120};
}  // namespace tiny

// "#?RADIANCE", FORMAT, EXPOSURE=2, "-Y 2 +X 3", six flat pixels (80 bytes).
std::string tiny_picture_bytes();

// A picture file: "#?RADIANCE", the lines, an empty line, the resolution
// line, then the pixels, flat or run-length encoded.
std::string picture_file(const std::vector<std::string>& lines, const std::string& resolution,
                         const std::vector<RgbePixel>& pixels, int scanline_length, bool run_length = true);

// A standard-orientation picture whose pixel (x, y), y counted from the top,
// has the mantissas x + 1, y + 1, (x + y) % 256 and exponent 130: every
// position reads differently.
std::vector<RgbePixel> position_pixels(int width, int height);

struct ReadPicture {
    std::vector<std::string> header;  // lines without line ends
    std::string resolution;
    std::vector<RgbePixel> pixels;    // in file order
    bool ok = false;
};

ReadPicture read_picture(const std::filesystem::path& path);

// Whether some header line is exactly `line`.
bool has_line(const ReadPicture& picture, const std::string& line);
