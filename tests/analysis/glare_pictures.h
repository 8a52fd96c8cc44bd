#pragma once
// Grey pictures for the glare tests, written with the luminance each pixel
// should have (cd/m²); the view line goes into the header when given.

#include <functional>
#include <string>

// `luminance(x, row)`, row counted from the top.
void write_glare_picture(const std::string& path, int width, int height, const std::string& view_line,
                         const std::function<float(int, int)>& luminance);

// A 180° hemispherical sky of 1000 cd/m² with a disc of 20000 cd/m² above
// its centre: one glare source.
void write_fisheye_with_source(const std::string& path, int size);
