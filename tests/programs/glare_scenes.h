#pragma once
// Synthetic scenes for the glare tests: a grey background of one luminance
// with bright discs, as picture files for the program and as luminance
// grids for the analysis itself. Luminance is stored as Radiance grey
// (R = G = B = L / 179); stored_luminance() says what the picture then
// holds after RGBE rounding, which is what every expected figure is built
// from.

#include <string>
#include <vector>

#include "picture/rgbe_pixel.h"

struct Disc {
    double column = 0;  // centre, pixels from the left edge (pixel i spans i .. i + 1)
    double row = 0;     // centre, pixels from the top edge
    double radius = 0;  // pixels; a pixel belongs when its centre is strictly inside
    double luminance = 0;
};

// The luminance a grey pixel of `luminance` reads back as.
double stored_luminance(double luminance);

// Pixels in file order (top row first) of a width × height scene.
std::vector<RgbePixel> scene_pixels(int width, int height, double background, const std::vector<Disc>& discs);

// The same scene as luminance, pixel (i, j) at j * width + i with j from the
// bottom, as the analysis takes it.
std::vector<float> scene_luminance(int width, int height, double background, const std::vector<Disc>& discs);

// A picture file: the header lines (a VIEW= line among them, or not), the
// standard resolution line, the scene.
std::string scene_file(const std::vector<std::string>& lines, int width, int height, double background,
                       const std::vector<Disc>& discs = {});

// S1 to S3 of the reference figures: 400 × 400, 1000 cd/m² (S3 with a disc
// of 20000 cd/m², 1264 pixels), hemispherical (S1, S3) or angular (S2).
std::string reference_scene(int number);
