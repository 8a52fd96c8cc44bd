#pragma once
// Where a direction lies in the field of view of an observer looking along
// a view frame's forward axis with its up axis vertical: the angles that the
// glare position indices and the Guth field of view are written in.

#include "picture/vector3.h"
#include "picture/view_projection.h"

struct SightAngles {
    double off_axis = 0;   // σ, degrees between the direction and the line of sight
    double from_up = 0;    // τ, degrees from "straight up" to the direction's
                           // part across the line of sight: 0 up, 90 sideways, 180 down
    double elevation = 0;  // φ, radians above the horizontal plane of the view (asin of the up component)
    double azimuth = 0;    // η, radians to the right (asin of the right component)
    double up_component = 0;  // the direction's component along the up axis
};

SightAngles sight_angles(const Vector3& direction, const ViewFrame& frame);
