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

// The picture and what is known of how it was seen.
struct Scene {
    FloatPicture picture;
    View view;
    double to_luminance = physics::luminous_efficacy;  // stored brightness to cd/m²
    ColourGrid fovea;
    std::vector<Direction> directions;  // of the foveal pixel centres
    std::vector<float> foveal_weights;
    std::vector<size_t> point_indices;  // picture pixels sampled besides the fovea
    std::optional<ColourGrid> veil;

    float luminance(const ColourGrid& grid, size_t i) const {
        return static_cast<float>(to_luminance * radiance_brightness(grid.red[i], grid.green[i], grid.blue[i]));
    }
    // The picture's pixel i with the veil over it, if any.
    Colour veiled_pixel(size_t i, Colour c) const;
};

// The scene of a picture; with `centre_weighted`, foveal pixels weigh less
// the farther they are from the middle of the view (none beyond 90°).
Scene build_scene(FloatPicture&& picture, bool centre_weighted);

// The histogram of the scene's world luminance: the foveal pixels (with
// their veil, once it is known) and the point samples.
BrightnessHistogram scene_histogram(const Scene& scene);

// `count` of `total` pixel indices spread evenly, in increasing order.
std::vector<size_t> point_sample_indices(size_t total, size_t count);
