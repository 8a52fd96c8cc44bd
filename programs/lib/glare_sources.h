#pragma once
// Finding glare sources in a picture the way evalglare has always found
// them, so that our figures are the ones researchers compare with. Every
// valid pixel brighter than the threshold is a glare pixel, and:
//
// 1. Columns from the left, each from row 0 up: a glare pixel joins the
//    source of a glare pixel already seen within half the search radius (the
//    first one met walking the rows above it, or else the first met walking
//    its own row and those below), or starts a source of its own.
// 2. Over and over until nothing changes: a source joins a source within
//    half the search radius of one of its pixels whose solid angle is
//    strictly larger. Two neighbouring sources of exactly the same solid
//    angle therefore stay apart (typically single pixels at mirror-image
//    places of a fisheye), and each counts in the indices.
// 3. Smoothing (optional): a valid pixel that is no glare pixel joins every
//    source whose glare pixels make more than 20 % of the solid angle of
//    the pixels around it (a disc a little smaller than the linkage
//    distance, in pixels); it closes the ragged rims and small holes a
//    threshold leaves.
// 4. Peak extraction: when some glare pixel reaches the limit, the pixels
//    of a source at or above the limit leave it; each joins the last of the
//    new sources found within a quarter of the search radius or starts one,
//    and the new sources then join one another as in step 2.
//
// Pixels are indexed y * width + x as evalglare numbers them (see
// luminance_picture.h); luminance in cd/m², angles in radians.

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

// A source as its pixels were added to it and taken from it: the means are
// ω-weighted. A pixel that smoothing adds to two sources counts in both.
struct SourceStats {
    double pixels = 0;
    double x = 0, y = 0;  // mean position
    double luminance = 0;
    double solid_angle = 0;
    double max_luminance = 0;
};

struct GlareSources {
    std::vector<int> source_of;      // per pixel: its source's number, or -1
    std::vector<SourceStats> stats;  // per source number; sources that joined others have no pixels
    int count = 0;                   // source numbers in use
    bool radius_below_pixel = false;  // smoothing and peak extraction were skipped
};

// The field the search works on: pixel geometry, luminance (0 where
// invalid or cut away) and which pixels are part of the view.
struct GlareField {
    const PixelGeometry& geometry;
    const std::vector<float>& luminance;
    const std::vector<uint8_t>& valid;
    // Pixels that do not count as near themselves (see radiance_rays.h);
    // none when absent.
    const std::vector<uint8_t>* not_near_self = nullptr;
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
    double illuminance = 0;    // its pixels' share of the vertical illuminance, lux
    double x = 0, y = 0;       // ω-weighted mean pixel position
    Vector3 direction;         // through the centre of the pixel at the mean position
    SightAngles angles;
    double position_index = 1;
};

// The sources that kept at least one pixel, in number order.
std::vector<SourceSummary> summarise_sources(const GlareField& field, const GlareSources& sources,
                                             const SightFrame& frame);
