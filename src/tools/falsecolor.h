#pragma once
// The falsecolor view: luminance on a logarithmic scale through a 256-colour
// palette, written as a 24-bit BMP, and the six labels of its legend.

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "picture/luminance_map.h"

struct Rgb8 {
    uint8_t r = 0, g = 0, b = 0;
};

// Index 0 (purple) to 255 (yellow).
const std::array<Rgb8, 256>& falsecolor_palette();

// The floor of every logarithm, so that dark pixels and the ends of a range
// at or below 1 cd/m² stay positive.
inline constexpr float falsecolor_log_floor = 1e-7f;
// log10(256): from this range on, values beyond the ends map to the end
// colours directly.
inline constexpr float falsecolor_direct_span = 2.40824f;

// max(log10(L), 1e-7) for every pixel of the map.
std::vector<float> log_luminance(const LuminanceMap& map);

// The log ends of a range in cd/m².
struct LogRange {
    float lo = 0;
    float hi = 0;
    // Both ends at or below about 1 cd/m², or equal, or not finite: every
    // pixel then gets index 0.
    bool degenerate() const;
};
LogRange falsecolor_log_range(float bottom, float top);

// The palette index of a log luminance v in the range.
int falsecolor_index(float v, const LogRange& range);

// The rendering, rows top first, three bytes per pixel (blue, green, red).
std::vector<uint8_t> render_falsecolor(const std::vector<float>& log_values, int width, int height,
                                       const LogRange& range);

// Renders and writes the BMP; false when it cannot be written.
bool write_falsecolor_bmp(const std::string& path, const std::vector<float>& log_values, int width, int height,
                          const LogRange& range);

// The legend's labels, bottom to top: 10^(lo + k × (hi − lo) / 256) for
// k = 50.01, 85.01, 115.01, 150.01, 185.01, 220.01.
std::array<float, 6> falsecolor_labels(float minimum, float maximum);

// The legend bitmap: 98 pixels wide, one row per palette entry, index 255
// at the top; three bytes per pixel (blue, green, red), rows top first.
inline constexpr int legend_width = 98;
inline constexpr int legend_height = 256;
std::vector<uint8_t> falsecolor_legend();
// The same bitmap with row k from the top coloured colour_of(255 - k).
std::vector<uint8_t> legend_bitmap(const std::function<Rgb8(int index)>& colour_of);
