#include "picture/view_projection.h"

#include <cmath>
#include <numbers>
#include <string_view>

namespace {

constexpr double pi = std::numbers::pi;

double radians(double degrees) { return degrees * pi / 180.0; }

Vector3 vector_of(const double v[3]) { return {v[0], v[1], v[2]}; }

}  // namespace

std::optional<ViewProjection> ViewProjection::make(const View& view, int width, int height) {
    if (view.type == 'l' || width <= 0 || height <= 0 || view_problem(view)) return std::nullopt;
    ViewProjection p;
    p.type_ = view.type;
    p.width_ = width;
    p.height_ = height;
    p.horizontal_ = radians(view.horizontal);
    p.vertical_ = radians(view.vertical);
    p.shift_ = view.shift;
    p.lift_ = view.lift;
    if (std::string_view("vcahs").find(view.type) == std::string_view::npos) return std::nullopt;
    p.scale_x_ = image_plane_scale(view.type, p.horizontal_, false);
    p.scale_y_ = image_plane_scale(view.type, p.vertical_, true);
    if (!std::isfinite(p.scale_x_) || !std::isfinite(p.scale_y_) || !(p.scale_x_ > 0) || !(p.scale_y_ > 0))
        return std::nullopt;
    p.frame_.forward = normalised(vector_of(view.direction));
    p.frame_.right = normalised(cross(p.frame_.forward, vector_of(view.up)));
    p.frame_.up = cross(p.frame_.right, p.frame_.forward);
    return p;
}

bool ViewProjection::local_direction(double x, double y, double out[3]) const {
    x += shift_;
    y += lift_;
    switch (type_) {
        case 'v': {
            const double a = x * scale_x_, b = y * scale_y_;
            const double n = 1.0 / std::sqrt(a * a + b * b + 1.0);
            out[0] = a * n, out[1] = b * n, out[2] = n;
            return true;
        }
        case 'c': {
            const double phi = x * scale_x_, b = y * scale_y_;
            const double n = 1.0 / std::sqrt(1.0 + b * b);
            out[0] = std::sin(phi) * n, out[1] = b * n, out[2] = std::cos(phi) * n;
            return true;
        }
        case 'a': {
            const double u = x * scale_x_, w = y * scale_y_;
            const double theta = std::sqrt(u * u + w * w);
            if (theta > pi) return false;
            const double s = theta > 0 ? std::sin(theta) / theta : 1.0;
            out[0] = u * s, out[1] = w * s, out[2] = std::cos(theta);
            return true;
        }
        case 'h': {
            const double u = x * scale_x_, w = y * scale_y_;
            const double t = u * u + w * w;
            if (t > 1.0) return false;
            out[0] = u, out[1] = w, out[2] = std::sqrt(1.0 - t);
            return true;
        }
        case 's': {
            const double u = x * scale_x_, w = y * scale_y_;
            const double t = u * u + w * w;
            const double z = (1.0 - t) / (1.0 + t);
            out[0] = u * (1.0 + z), out[1] = w * (1.0 + z), out[2] = z;
            return true;
        }
        default:
            return false;
    }
}

std::optional<Vector3> ViewProjection::direction(double x, double y) const {
    double l[3];
    if (!local_direction(x, y, l)) return std::nullopt;
    return l[0] * frame_.right + l[1] * frame_.up + l[2] * frame_.forward;
}

std::optional<Vector3> ViewProjection::pixel_direction(int i, int j) const {
    return direction((i + 0.5) / width_ - 0.5, (j + 0.5) / height_ - 0.5);
}

std::optional<ImagePoint> ViewProjection::image_point(const Vector3& d) const {
    const double a = dot(d, frame_.right), b = dot(d, frame_.up), c = dot(d, frame_.forward);
    double x = 0, y = 0;
    switch (type_) {
        case 'v':
            if (!(c > 0)) return std::nullopt;
            x = a / c / scale_x_, y = b / c / scale_y_;
            break;
        case 'c': {
            const double across = std::sqrt(a * a + c * c);
            if (!(across > 0)) return std::nullopt;
            x = std::atan2(a, c) / scale_x_, y = b / across / scale_y_;
            break;
        }
        case 'a': {
            const double off_axis = std::sqrt(a * a + b * b);
            if (!(off_axis > 0) && c < 0) return std::nullopt;
            const double theta = std::atan2(off_axis, c);
            const double k = off_axis > 0 ? theta / off_axis : 1.0;
            x = a * k / scale_x_, y = b * k / scale_y_;
            break;
        }
        case 'h':
            if (c < 0) return std::nullopt;
            x = a / scale_x_, y = b / scale_y_;
            break;
        case 's':
            if (!(c > -1.0 + 1e-12)) return std::nullopt;
            x = a / (1.0 + c) / scale_x_, y = b / (1.0 + c) / scale_y_;
            break;
        default:
            return std::nullopt;
    }
    return ImagePoint{x - shift_, y - lift_};
}

double ViewProjection::pixel_solid_angle(int i, int j) const {
    const double x0 = double(i) / width_ - 0.5, x1 = double(i + 1) / width_ - 0.5;
    const double y0 = double(j) / height_ - 0.5, y1 = double(j + 1) / height_ - 0.5;
    const auto a = direction(x0, y0), b = direction(x1, y0), c = direction(x1, y1), d = direction(x0, y1);
    if (!a || !b || !c || !d || !pixel_direction(i, j)) return 0.0;
    return triangle_solid_angle(*a, *b, *c) + triangle_solid_angle(*a, *c, *d);
}

double image_plane_scale(char type, double angle, bool vertical) {
    switch (type) {
        case 'a':
            return angle;
        case 'c':
            return vertical ? 2 * std::tan(angle / 2) : angle;
        case 'h':
            return 2 * std::sin(angle / 2);
        case 's':
            return 2 * std::tan(angle / 4);
        default:
            return 2 * std::tan(angle / 2);
    }
}

double triangle_solid_angle(const Vector3& a, const Vector3& b, const Vector3& c) {
    // Measured from a, the triple product is taken of the two short edge
    // vectors, which keeps its digits for the tiny triangles of one pixel.
    const double numerator = std::fabs(dot(a, cross(b - a, c - a)));
    const double denominator = 1.0 + dot(a, b) + dot(b, c) + dot(c, a);
    return 2.0 * std::atan2(numerator, denominator);
}

PixelGeometry pixel_geometry(const ViewProjection& projection) {
    const int w = projection.width(), h = projection.height();
    const size_t corner_row = size_t(w) + 1;
    std::vector<Vector3> corner(corner_row * (size_t(h) + 1));
    std::vector<char> corner_ok(corner.size(), 0);
    for (int j = 0; j <= h; ++j)
        for (int i = 0; i <= w; ++i) {
            const size_t k = size_t(j) * corner_row + size_t(i);
            if (const auto d = projection.direction(double(i) / w - 0.5, double(j) / h - 0.5)) {
                corner[k] = *d;
                corner_ok[k] = 1;
            }
        }

    PixelGeometry g;
    g.width = w;
    g.height = h;
    g.direction.resize(size_t(w) * size_t(h));
    g.solid_angle.assign(g.direction.size(), 0.0);
    for (int j = 0; j < h; ++j)
        for (int i = 0; i < w; ++i) {
            const size_t index = size_t(j) * size_t(w) + size_t(i);
            const auto centre = projection.pixel_direction(i, j);
            if (!centre) continue;
            g.direction[index] = *centre;
            const size_t k00 = size_t(j) * corner_row + size_t(i), k10 = k00 + 1;
            const size_t k01 = k00 + corner_row, k11 = k01 + 1;
            if (!corner_ok[k00] || !corner_ok[k10] || !corner_ok[k01] || !corner_ok[k11]) continue;
            g.solid_angle[index] = triangle_solid_angle(corner[k00], corner[k10], corner[k11]) +
                                   triangle_solid_angle(corner[k00], corner[k11], corner[k01]);
        }
    return g;
}
