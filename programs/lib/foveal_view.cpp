#include "lib/foveal_view.h"

#include <cmath>
#include <numbers>

#include "common/text_format.h"
#include "picture/view_projection.h"

namespace {

constexpr double degrees = std::numbers::pi / 180.0;
constexpr double default_view_degrees = 40.0;
constexpr double narrowest_view_degrees = 5.0;

bool normalise(Direction& d) {
    const double length = std::sqrt(d[0] * d[0] + d[1] * d[1] + d[2] * d[2]);
    if (!(length > 0)) return false;
    for (double& c : d) c /= length;
    return true;
}

}  // namespace

View conditioning_view(const PictureHeader& header, int width, int height) {
    View view;
    int applied = 0;
    for (const auto& line : header.lines)
        if (is_view_line(line)) applied += apply_view_options(view, starts_with(line, "VIEW=") ? line.substr(5) : line);
    const bool usable = applied > 0 && view.type != 'l' && view.horizontal > narrowest_view_degrees &&
                        view.vertical > narrowest_view_degrees;
    if (usable) return view;
    View assumed;
    assumed.type = 'v';
    const double half_tangent = std::tan(default_view_degrees / 2 * degrees);
    if (width >= height) {
        assumed.horizontal = default_view_degrees;
        assumed.vertical = 2 * std::atan(half_tangent * height / width) / degrees;
    } else {
        assumed.vertical = default_view_degrees;
        assumed.horizontal = 2 * std::atan(half_tangent * width / height) / degrees;
    }
    return assumed;
}

double image_plane_extent(const View& view, bool vertical) {
    return image_plane_scale(view.type, (vertical ? view.vertical : view.horizontal) * degrees, vertical);
}

bool image_direction(const View& view, double x, double y, Direction& d) {
    const double h = view.horizontal * degrees, v = view.vertical * degrees;
    d = {0, 0, 0};
    switch (view.type) {
        case 'a': {
            const double u = x * h, w = y * v, theta = std::sqrt(u * u + w * w);
            if (theta > std::numbers::pi) return false;
            const double s = theta > 0 ? std::sin(theta) / theta : 1.0;
            d = {u * s, w * s, std::cos(theta)};
            return true;
        }
        case 'c': {
            const double phi = x * h;
            d = {std::sin(phi), y * 2 * std::tan(v / 2), std::cos(phi)};
            return normalise(d);
        }
        case 'h': {
            const double u = 2 * x * std::sin(h / 2), w = 2 * y * std::sin(v / 2), t = u * u + w * w;
            if (t > 1) return false;
            d = {u, w, std::sqrt(1 - t)};
            return true;
        }
        case 's': {
            const double u = 2 * x * std::tan(h / 4), w = 2 * y * std::tan(v / 4), t = u * u + w * w;
            const double z = (1 - t) / (1 + t);
            d = {u * (1 + z), w * (1 + z), z};
            return normalise(d);
        }
        case 'l':
            d = {0, 0, 1};
            return true;
        default:
            d = {x * 2 * std::tan(h / 2), y * 2 * std::tan(v / 2), 1};
            return normalise(d);
    }
}
