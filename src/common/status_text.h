#pragma once
// The texts of the five status-bar parts. A leading tab centres a text in its
// part. Coordinates are picture coordinates, cut toward zero.

#include <string>

namespace status_part {
inline constexpr int resolution = 0;
inline constexpr int position = 1;
inline constexpr int zoom = 2;
inline constexpr int luminance = 3;
inline constexpr int exposure = 4;
inline constexpr int count = 5;
inline constexpr int right_edges[count] = {150, 300, 450, 600, 750};
inline constexpr int height = 22;
}  // namespace status_part

std::string status_resolution_text(float width, float height);        // "\t640x480"
std::string status_position_text(float x, float y);                   // "\t10,20"
std::string status_rectangle_text(float x0, float y0, float x1, float y1);  // "\t10,20 → 100,50"
std::string status_zoom_text(float zoom);                             // "\t30%"
std::string status_luminance_text(float luminance);                   // "     13567.5 cd/m²"
std::string status_exposure_text(float exposure);                     // "\tExposure = 1.000000"

// Keeps at most `max_chars` characters (not bytes) of a UTF-8 text.
std::string truncate_characters(const std::string& text, size_t max_chars);
