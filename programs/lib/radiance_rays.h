#pragma once
// Pixel directions computed with the very arithmetic of Radiance's view
// routines (its setview and viewray, to the order of every operation), for
// the one place where their last bit shows in evalglare's figures: evalglare
// measures the angle between two pixels as acos of their directions' dot
// product, and for a pixel whose direction's squared length rounds to just
// above 1 the angle to itself is not a number, so the pixel does not count
// as near itself. That changes which neighbours its search meets first, and
// can leave a single bright pixel a glare source of its own.

#include <cstdint>
#include <vector>

#include "lib/luminance_picture.h"
#include "picture/view_options.h"

// Per pixel (index y * width + x of `layout`): 1 where the direction
// Radiance computes has a dot product with itself above 1 (all 0 for a
// parallel view).
std::vector<uint8_t> pixels_not_near_themselves(const View& view, const RowLayout& layout);
