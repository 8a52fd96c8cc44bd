#pragma once
// The position index of a glare source: how much less a source glares the
// farther it lies from the line of sight. Above the line of sight Guth's
// index as the IES Lighting Handbook gives it; below it the index of Iwata
// et al. (1992), which Guth's fitted formula does not cover.

#include "lib/sight_angles.h"

// Guth, σ and τ in degrees (unbounded).
double guth_position_index(double off_axis, double from_up);

// Iwata et al., elevation φ < 0 and azimuth η in radians (unbounded).
double iwata_position_index(double elevation, double azimuth);

// The index of a source seen in that direction: Guth above the horizontal
// plane of the view (elevation ≥ 0), Iwata below, 1 on the line of sight,
// never more than 16.
double position_index(const SightAngles& angles);
