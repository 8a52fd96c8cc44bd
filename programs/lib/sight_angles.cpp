#include "lib/sight_angles.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

constexpr double degrees_per_radian = 180.0 / std::numbers::pi;

double clamped_acos(double c) { return std::acos(std::clamp(c, -1.0, 1.0)); }

}  // namespace

SightFrame sight_frame(const View& view) {
    return {normalised(Vector3{view.direction[0], view.direction[1], view.direction[2]}),
            normalised(Vector3{view.up[0], view.up[1], view.up[2]})};
}

SightAngles sight_angles(const Vector3& d, const SightFrame& frame) {
    SightAngles a;
    const Vector3& f = frame.forward;
    const double along = dot(d, f);
    a.off_axis = clamped_acos(along) * degrees_per_radian;
    // Neither of these is brought back to unit length: their length is the
    // sine of the angle between the view direction and the up vector.
    const Vector3 right = cross(f, frame.up);
    const Vector3 up_across = cross(right, f);
    a.up_component = dot(d, up_across);
    a.elevation = std::asin(std::clamp(a.up_component, -1.0, 1.0));
    a.azimuth = std::asin(std::clamp(dot(d, right), -1.0, 1.0));
    // The part across the line of sight, divided by the cosine: reversed
    // for a direction behind the observer.
    const Vector3 across = along != 0 ? (1.0 / along) * d - f : d;
    a.from_up = length(across) > 0 ? clamped_acos(dot(frame.up, normalised(across))) * degrees_per_radian : 90.0;
    return a;
}
