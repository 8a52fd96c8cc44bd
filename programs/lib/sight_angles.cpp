#include "lib/sight_angles.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

constexpr double degrees_per_radian = 180.0 / std::numbers::pi;

}  // namespace

SightAngles sight_angles(const Vector3& d, const ViewFrame& frame) {
    SightAngles a;
    const double along = dot(d, frame.forward);
    a.off_axis = angle_between(d, frame.forward) * degrees_per_radian;
    a.up_component = dot(d, frame.up);
    const double right = dot(d, frame.right);
    // Straight ahead (or behind) the direction has no part across the line
    // of sight; "up" is as good an answer as any there.
    const Vector3 across = d - along * frame.forward;
    a.from_up = length(across) > 0 ? angle_between(normalised(across), frame.up) * degrees_per_radian : 0.0;
    a.elevation = std::asin(std::clamp(a.up_component, -1.0, 1.0));
    a.azimuth = std::asin(std::clamp(right, -1.0, 1.0));
    return a;
}
