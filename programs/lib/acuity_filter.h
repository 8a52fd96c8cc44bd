#pragma once
// Loss of visual acuity: where the eye cannot resolve a picture's pixels
// (dark regions, at the acuity their luminance allows), the picture is
// blurred to what it can resolve.
//
// Each foveal pixel gets a rate r, the number of picture pixels per cycle of
// the finest visible grating there (1 = every pixel resolved). A picture pixel
// with r > 1 is taken from a pyramid of 2^k x 2^k box averages, blending the
// two levels with 2^(k-1) <= r <= 2^k.

#include <vector>

#include "lib/colour_grid.h"
#include "lib/foveal_view.h"

// The rate of every foveal pixel (fovea.width x fovea.height), given the
// directions of the foveal pixel centres, the picture's size and the factor
// that turns the fovea's Radiance brightness into luminance (179 / exposure).
// Pixels at the fovea's border copy their inner neighbours; where the
// directions give no usable pixel size the rate is 1.
std::vector<float> acuity_rates(const ColourGrid& fovea, const std::vector<Direction>& directions, int picture_width,
                                int picture_height, double to_luminance);

class AcuityFilter {
public:
    // `picture` must outlive the filter.
    AcuityFilter(const ColourGrid& picture, std::vector<float> rates, int fovea_width, int fovea_height);

    // Pyramid levels above the picture itself.
    int levels() const { return static_cast<int>(pyramid_.size()); }

    // The picture's pixel as the eye resolves it.
    Colour sample(int column, int row) const;

private:
    Colour level_sample(int level, int column, int row) const;

    const ColourGrid& picture_;
    std::vector<float> rates_;
    int fovea_width_, fovea_height_;
    std::vector<ColourGrid> pyramid_;  // level k at index k - 1
};
