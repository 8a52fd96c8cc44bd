#pragma once
// What pcond knows of a picture before mapping it: the pixels, the view they
// were seen through, the foveal image (one pixel per degree of the view,
// box averages of the picture) with the direction of each foveal pixel, and
// the picture pixels sampled besides the fovea for the histogram.

#include <optional>
#include <vector>

#include "lib/brightness_histogram.h"
#include "lib/colour_grid.h"
#include "lib/float_picture.h"
#include "lib/foveal_view.h"
#include "lib/pixel_sampling.h"

// The picture and what is known of how it was seen.
struct Scene {
    FloatPicture picture;
    View view;
    double to_luminance = physics::luminous_efficacy;  // stored brightness to cd/m²
    ColourGrid fovea;
    std::vector<Direction> directions;  // of the foveal pixel centres
    std::vector<float> foveal_weights;
    size_t point_count = 0;  // picture pixels sampled besides the fovea, anew for each histogram
    Rand48 random;
    std::optional<ColourGrid> veil;

    // Luminance of a stored colour, in double precision over the weights in
    // single precision, as Radiance's own luminance function works.
    double luminance(float r, float g, float b) const;
    double luminance(const ColourGrid& grid, size_t i) const {
        return luminance(grid.red[i], grid.green[i], grid.blue[i]);
    }
    // The picture's pixel i with the veil over it, if any.
    Colour veiled_pixel(size_t i, Colour c) const;
};

// The scene of a picture; with `centre_weighted`, foveal pixels weigh less
// the farther they are from the middle of the view (none beyond 90°). The
// foveal image is stored as RGBE values, as it comes from pfilt to the
// reference.
Scene build_scene(FloatPicture&& picture, bool centre_weighted);

// The histogram of the scene's world luminance: the foveal pixels (with
// their veil, once it is known) and point samples of the picture, drawn
// afresh from the scene's random sequence at each call (as the reference
// draws them before and after the veil).
BrightnessHistogram scene_histogram(Scene& scene);
