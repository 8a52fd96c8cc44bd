#pragma once
// The field of view after Guth: the part of a scene an observer looking
// along the line of sight can see at all, bounded by brows, nose and
// cheeks. Pixels outside it cannot glare, so the analysis blackens them.

#include "lib/sight_angles.h"

enum class GuthField {
    none = 0,
    total = 1,      // what either eye sees
    binocular = 2,  // what both eyes see
};

// True when a direction at these angles lies outside the field.
bool outside_guth_field(const SightAngles& angles, GuthField field);
