#include "lib/fisheye_reprojection.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

constexpr double degrees = std::numbers::pi / 180.0;

double dot(const Direction& a, const Direction& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

Direction cross(const Direction& a, const Direction& b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

std::optional<Direction> normalised(const Direction& a) {
    const double length = std::sqrt(dot(a, a));
    if (!(length > 0)) return std::nullopt;
    return Direction{a.x / length, a.y / length, a.z / length};
}

Direction combine(double f, const Direction& forward, double r, const Direction& right, double u,
                  const Direction& up) {
    return {f * forward.x + r * right.x + u * up.x, f * forward.y + r * right.y + u * up.y,
            f * forward.z + r * right.z + u * up.z};
}

// Half the picture's extent in the units of the view's projection: the
// sine of half the angle for the hemispherical view, half the angle over
// 180 degrees for the angular one.
double projected_extent(char type, double size) {
    return type == 'h' ? 2.0 * std::sin(size * degrees / 2.0) : size / 180.0;
}

}  // namespace

std::optional<FisheyeView> make_fisheye_view(const View& view) {
    if (view.type != 'a' && view.type != 'h') return std::nullopt;
    const auto forward = normalised({view.direction[0], view.direction[1], view.direction[2]});
    if (!forward) return std::nullopt;
    const auto right = normalised(cross(*forward, {view.up[0], view.up[1], view.up[2]}));
    if (!right) return std::nullopt;
    FisheyeView fisheye;
    fisheye.type = view.type;
    fisheye.horizontal = view.horizontal;
    fisheye.vertical = view.vertical;
    fisheye.forward = *forward;
    fisheye.right = *right;
    fisheye.up = cross(*right, *forward);
    return fisheye;
}

std::optional<Direction> fisheye_direction(const FisheyeView& view, double u, double w) {
    if (view.type == 'h') {
        const double a = u * projected_extent('h', view.horizontal);
        const double b = w * projected_extent('h', view.vertical);
        const double r2 = a * a + b * b;
        if (r2 > 1.0) return std::nullopt;
        return combine(std::sqrt(1.0 - r2), view.forward, a, view.right, b, view.up);
    }
    // Angular: d is the angle from the axis in units of 180 degrees.
    const double a = u * view.horizontal / 180.0;
    const double b = w * view.vertical / 180.0;
    const double d = std::sqrt(a * a + b * b);
    if (d > 1.0) return std::nullopt;
    const double z = std::cos(std::numbers::pi * d);
    const double s = d <= 1e-6 ? std::numbers::pi : std::sqrt(1.0 - z * z) / d;
    return combine(z, view.forward, a * s, view.right, b * s, view.up);
}

std::optional<PictureLocation> fisheye_location(const FisheyeView& view, const Direction& direction) {
    const double along = dot(direction, view.forward);
    const double across = dot(direction, view.right);
    const double upward = dot(direction, view.up);
    PictureLocation location;
    if (view.type == 'h') {
        if (along < 0) return std::nullopt;
        location.p = across / projected_extent('h', view.horizontal) + 0.5;
        location.q = upward / projected_extent('h', view.vertical) + 0.5;
    } else {
        // The sideways components shrink by sin(angle); the angular view
        // places them at the angle itself.
        const double angle = std::acos(std::clamp(along, -1.0, 1.0));
        const double sine = std::sin(angle);
        double stretch = 1.0 / std::numbers::pi;
        if (angle > 1e-9) {
            if (sine < 1e-12) return std::nullopt;  // straight behind: every rim point at once
            stretch = angle / (std::numbers::pi * sine);
        }
        location.p = across * stretch * 180.0 / view.horizontal + 0.5;
        location.q = upward * stretch * 180.0 / view.vertical + 0.5;
    }
    if (!(location.p > 0 && location.p < 1 && location.q > 0 && location.q < 1)) return std::nullopt;
    return location;
}

PictureSize fisheye_picture_size(const FisheyeView& view, int width, int height) {
    const double aspect =
        projected_extent(view.type, view.vertical) / projected_extent(view.type, view.horizontal);
    PictureSize size{width, height};
    if (aspect * width > height)
        size.width = static_cast<int>(height / aspect + 0.5);
    else
        size.height = static_cast<int>(width * aspect + 0.5);
    return size;
}
