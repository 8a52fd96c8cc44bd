#pragma once
// Finding glare sources in a picture: every valid pixel brighter than the
// threshold is a glare pixel; glare pixels within half the search radius of
// each other (through chains of glare pixels) form one source. Two options
// refine that:
//
// * smoothing adds to a source the non-glare pixels whose surroundings (a
//   disc a little smaller than the linkage distance, in pixels) are more
//   than 20 % that source's glare pixels, by solid angle: it closes the
//   ragged rims and small holes a threshold leaves;
// * peak extraction takes the pixels at or above a luminance limit out of
//   their sources and groups them into sources of their own, so that a sun
//   or a lamp is not averaged into a bright sky or wall around it.
//
// Pixels are indexed j * width + i, j from the bottom; luminance in cd/m²,
// angles in radians.

#include <cstdint>
#include <vector>

#include "lib/sight_angles.h"
#include "picture/view_projection.h"

struct SourceSearch {
    double threshold = 2000;     // glare pixels are strictly brighter
    double search_radius = 0.2;  // pixels link at half this angle
    bool smoothing = false;
    bool peak_extraction = true;
    double peak_limit = 50000;
};

struct GlareSources {
    std::vector<int> source_of;  // per pixel: its source's number, or -1
    int count = 0;               // source numbers in use (some may have lost every pixel)
    bool radius_below_pixel = false;  // smoothing and peak extraction were skipped
};

// The field the search works on: pixel geometry, luminance (0 where
// invalid or cut away) and which pixels are part of the view.
struct GlareField {
    const PixelGeometry& geometry;
    const std::vector<float>& luminance;
    const std::vector<uint8_t>& valid;
};

GlareSources find_glare_sources(const GlareField& field, const SourceSearch& search);

// The angle one diagonal pixel step spans at the centre of the picture,
// averaged over ten steps: the scale that turns the search radius into
// pixels for smoothing.
double central_pixel_step(const PixelGeometry& geometry);

struct SourceSummary {
    int number = 0;
    int pixels = 0;
    double solid_angle = 0;
    double luminance = 0;      // ω-weighted mean
    double max_luminance = 0;
    double illuminance = 0;    // its share of the vertical illuminance, lux
    double x = 0, y = 0;       // ω-weighted mean pixel position (i, j)
    Vector3 direction;         // through the centre of the pixel at the mean position
    SightAngles angles;
    double position_index = 1;
};

// The sources that kept at least one pixel, in number order.
std::vector<SourceSummary> summarise_sources(const GlareField& field, const GlareSources& sources,
                                             const ViewFrame& frame);
