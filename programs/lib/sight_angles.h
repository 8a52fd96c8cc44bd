#pragma once
// Where a direction lies in the field of view of an observer looking along
// the view direction: the angles that the glare position indices and the
// Guth field of view are written in.
//
// They are measured against the view's up vector as written (only brought
// to unit length), not against the up axis made perpendicular to the view
// direction, because that is how evalglare has always measured them and
// researchers compare our figures with its. The two agree for the usual
// level views; for a view tilted against its up vector (a render made with
// -vu 0 0 1 and a downward -vd), with α the angle between the view direction
// and the up vector, the across-sight angle τ becomes acos(sin α · cos τ⊥)
// and the vertical and sideways angles asin(sin α · ...) of the
// perpendicular ones, which changes the position index of every source. The
// picture's own geometry (which pixel looks where) uses the perpendicular
// frame, as Radiance renders it.

#include "picture/vector3.h"
#include "picture/view_options.h"

struct SightFrame {
    Vector3 forward;  // the view direction, unit length
    Vector3 up;       // the up vector as written, unit length
};

SightFrame sight_frame(const View& view);

struct SightAngles {
    double off_axis = 0;   // σ, degrees between the direction and the line of sight
    double from_up = 0;    // τ, degrees from the up vector to the direction's part across the line of
                           // sight (that part reversed for a direction behind the observer): 0 up, 90
                           // sideways, 180 down; 90 on the line of sight itself
    double elevation = 0;  // φ, radians above the horizontal plane of the view
    double azimuth = 0;    // η, radians to the right
    double up_component = 0;  // the direction's component along the up vector's part across the line of
                              // sight: positive above the horizontal plane
};

SightAngles sight_angles(const Vector3& direction, const SightFrame& frame);
