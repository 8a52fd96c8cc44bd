#pragma once
// Pixel directions computed with the very arithmetic of Radiance's view
// routines (its setview and viewray, to the order of every operation), for
// the one place where their last bit shows in evalglare's figures: evalglare
// measures the angle between two pixels as acos of their directions' dot
// product, and for a pixel whose direction's squared length rounds to just
// above 1 the angle to itself is not a number, so the pixel does not count
// as near itself. That changes which neighbours its search meets first, and
// can leave a single bright pixel a glare source of its own. The solid
// angles of the pixels come from the same arithmetic, so that sources of
// equal solid angle tie exactly where they tie in evalglare.

#include <cstdint>
#include <optional>
#include <vector>

#include "lib/luminance_picture.h"
#include "picture/view_options.h"

// Per pixel (index y * width + x of `layout`): 1 where the direction
// Radiance computes has a dot product with itself above 1 (all 0 for a
// parallel view).
std::vector<uint8_t> pixels_not_near_themselves(const View& view, const RowLayout& layout);

// Per pixel: its solid angle as evalglare computes it, from the planes
// through its four sides (0 where a corner has no direction). evalglare
// takes it at the place mirrored top to bottom, which is the same in every
// view without a vertical lift. Nothing for a view type whose arithmetic is
// not reproduced (parallel).
std::optional<std::vector<double>> radiance_solid_angles(const View& view, const RowLayout& layout);
