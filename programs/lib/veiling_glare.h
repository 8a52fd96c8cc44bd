#pragma once
// Veiling glare: light scattered in the eye spreads a veil over the retina,
// mostly from bright sources near the line of sight. Each foveal (one-degree)
// pixel receives a share of every other one's light weighted by roughly the
// inverse square of the angle between them, and keeps the rest of its own.

#include <vector>

#include "lib/colour_grid.h"
#include "lib/foveal_view.h"

inline constexpr double veil_share = 0.08;

// The veil over each foveal pixel: veil_share times the mean colour of the
// other pixels, each weighted by 0.5 c / (1 - c), c the cosine of the angle
// between the two directions, over the pixels with c > 1e-6. A pixel without
// a direction (zero vector) neither gives nor gets a veil.
ColourGrid veil_image(const ColourGrid& fovea, const std::vector<Direction>& directions);

// pixel <- (1 - veil_share) pixel + veil, for every cell.
void add_veil(ColourGrid& image, const ColourGrid& veil);
