#pragma once
// Single-linkage grouping of picture pixels by the angle between their
// directions: two pixels belong to one group when a chain of pixels of the
// set joins them with every step at most `max_angle`. This is how glare
// pixels become glare sources, whatever the view type, since it works on the
// directions and not on distances in the picture.
//
// Neighbours in the picture are joined first (when close enough); a pixel
// whose eight neighbours all joined it cannot be the nearest point of its
// group to another group, so only the others are compared across the
// sphere, through a grid of cells one linkage chord wide.

#include <cstdint>
#include <vector>

#include "picture/view_projection.h"

// The group of each of `pixels` (indices j * width + i into the geometry),
// numbered from 0 in the order in which the groups' first pixels appear.
std::vector<int> group_by_angle(const std::vector<uint32_t>& pixels, const PixelGeometry& geometry,
                                double max_angle);
