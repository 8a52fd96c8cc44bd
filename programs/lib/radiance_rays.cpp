#include "lib/radiance_rays.h"

#include <cmath>
#include <optional>

namespace {

constexpr double pi = 3.14159265358979323846;
constexpr double tiny = 1e-6;

using Vec = double[3];

double dot3(const Vec a, const Vec b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }

void cross3(Vec r, const Vec a, const Vec b) {
    r[0] = a[1] * b[2] - a[2] * b[1];
    r[1] = a[2] * b[0] - a[0] * b[2];
    r[2] = a[0] * b[1] - a[1] * b[0];
}

// Radiance's normalisation: near unit length a first-order step instead of
// a square root.
double normalise3(Vec v) {
    double d = dot3(v, v);
    if (d == 0.0) return 0.0;
    double len = 0;
    if ((d <= 1.0 + tiny) & (d >= 1.0 - tiny)) {
        len = 0.5 + 0.5 * d;
        d = 2.0 - len;
    } else {
        len = std::sqrt(d);
        d = 1.0 / len;
    }
    v[0] *= d;
    v[1] *= d;
    v[2] *= d;
    return len;
}

struct Frame {
    char type = 'v';
    double horiz = 0, vert = 0, hoff = 0, voff = 0, hn2 = 0, vn2 = 0;
    Vec vdir{}, vup{}, hvec{}, vvec{};
};

bool set_frame(const View& view, Frame& f) {
    f.type = view.type;
    f.horiz = view.horizontal;
    f.vert = view.vertical;
    f.hoff = view.shift;
    f.voff = view.lift;
    for (int k = 0; k < 3; ++k) f.vdir[k] = view.direction[k], f.vup[k] = view.up[k];
    if (normalise3(f.vdir) == 0.0 || normalise3(f.vup) == 0.0) return false;
    cross3(f.hvec, f.vdir, f.vup);
    if (normalise3(f.hvec) == 0.0) return false;
    cross3(f.vvec, f.hvec, f.vdir);
    switch (f.type) {
        case 'v':
            f.hn2 = 2.0 * std::tan(f.horiz * (pi / 180.0 / 2.0));
            f.vn2 = 2.0 * std::tan(f.vert * (pi / 180.0 / 2.0));
            break;
        case 'c':
            f.hn2 = f.horiz * (pi / 180.0);
            f.vn2 = 2.0 * std::tan(f.vert * (pi / 180.0 / 2.0));
            break;
        case 'a':
            f.hn2 = f.horiz * (pi / 180.0);
            f.vn2 = f.vert * (pi / 180.0);
            break;
        case 'h':
            f.hn2 = 2.0 * std::sin(f.horiz * (pi / 180.0 / 2.0));
            f.vn2 = 2.0 * std::sin(f.vert * (pi / 180.0 / 2.0));
            break;
        case 's':
            f.hn2 = 2. * std::sin(f.horiz * (pi / 180.0 / 2.0)) / (1.0 + std::cos(f.horiz * (pi / 180.0 / 2.0)));
            f.vn2 = 2. * std::sin(f.vert * (pi / 180.0 / 2.0)) / (1.0 + std::cos(f.vert * (pi / 180.0 / 2.0)));
            break;
        default:
            return false;
    }
    if (f.type != 'a' && f.type != 's') {
        if (f.type != 'c')
            for (double& c : f.hvec) c *= f.hn2;
        for (double& c : f.vvec) c *= f.vn2;
    }
    f.hn2 *= f.hn2;
    f.vn2 *= f.vn2;
    return true;
}

bool view_ray(const Frame& f, double x, double y, Vec direc) {
    x += f.hoff - 0.5;
    y += f.voff - 0.5;
    double d = 0, z = 0;
    auto combine = [&](double along) {
        for (int k = 0; k < 3; ++k) direc[k] = along * f.vdir[k] + x * f.hvec[k] + y * f.vvec[k];
    };
    switch (f.type) {
        case 'v':
            for (int k = 0; k < 3; ++k) direc[k] = f.vdir[k] + x * f.hvec[k] + y * f.vvec[k];
            normalise3(direc);
            return true;
        case 'h':
            z = 1.0 - x * x * f.hn2 - y * y * f.vn2;
            if (z < 0.0) return false;
            combine(std::sqrt(z));
            return true;
        case 'c':
            d = x * f.horiz * (pi / 180.0);
            z = std::cos(d);
            x = std::sin(d);
            combine(z);
            normalise3(direc);
            return true;
        case 'a':
            x *= (1.0 / 180.0) * f.horiz;
            y *= (1.0 / 180.0) * f.vert;
            d = x * x + y * y;
            if (d > 1.0) return false;
            d = std::sqrt(d);
            z = std::cos(pi * d);
            d = d <= tiny ? pi : std::sqrt(1.0 - z * z) / d;
            x *= d;
            y *= d;
            combine(z);
            return true;
        case 's':
            x *= std::sqrt(f.hn2);
            y *= std::sqrt(f.vn2);
            d = x * x + y * y;
            z = (1. - d) / (1. + d);
            d = d <= tiny * tiny ? pi : std::sqrt((1.0 - z * z) / d);
            x *= d;
            y *= d;
            combine(z);
            return true;
        default:
            return false;
    }
}

// The unit normal of the plane through the eye and the directions of two
// image points; false when one of them has no direction. Radiance starts
// both from zero vectors and leaves a failed direction so.
bool plane_normal(const Frame& f, double x1, double y1, double x2, double y2, Vec n) {
    Vec e1{0, 0, 0}, e2{};
    view_ray(f, x1, y1, e1);
    view_ray(f, x2, y2, n);
    for (int k = 0; k < 3; ++k) e2[k] = n[k] - e1[k];
    cross3(n, e1, e2);
    return normalise3(n) != 0.0;
}

// The solid angle of the pixel whose lower left corner is at image point
// (x, y), w by h: the spherical quadrilateral's angle excess from the four
// planes through its sides; -1 where that comes out impossible.
double pixel_solid_angle(const Frame& f, double x, double y, double w, double h) {
    Vec n[4] = {{0, 0, 0}, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}};
    bool ok = plane_normal(f, x, y, x, y + 2.0 * h, n[0]);
    ok &= plane_normal(f, x, y + 2.0 * h, x + 2.0 * w, y + 2.0 * h, n[1]);
    ok &= plane_normal(f, x + 2.0 * w, y + 2.0 * h, x + 2.0 * w, y, n[2]);
    ok &= plane_normal(f, x + 2.0 * w, y, x, y, n[3]);
    if (!ok) return 0;
    double angle = 0;
    for (int k = 0; k < 4; ++k) angle += pi - std::fabs(std::acos(dot3(n[k], n[(k + 1) % 4])));
    angle = angle - 2.0 * pi;
    return angle > 2.0 * pi || angle < 0 ? -1.0 : angle;
}

}  // namespace

std::optional<std::vector<double>> radiance_solid_angles(const View& view, const RowLayout& layout) {
    Frame frame;
    if (!set_frame(view, frame)) return std::nullopt;
    std::vector<double> omega(size_t(layout.width) * size_t(layout.height), 0.0);
    const double half_x = 0.5 / layout.width, half_y = 0.5 / layout.height;
    for (int y = 0; y < layout.height; ++y)
        for (int x = 0; x < layout.width; ++x) {
            // evalglare places the pixel by its row number without turning
            // it into the row of the view first: upside down where the two
            // run the same way.
            const double lx = (layout.column_in_view(x) + .5) / layout.width - half_x;
            const double ly = (layout.height - 1 - layout.row_in_view(y) + .5) / layout.height - half_y;
            omega[size_t(y) * size_t(layout.width) + size_t(x)] = pixel_solid_angle(frame, lx, ly, half_x, half_y);
        }
    return omega;
}

std::vector<uint8_t> pixels_not_near_themselves(const View& view, const RowLayout& layout) {
    std::vector<uint8_t> flags(size_t(layout.width) * size_t(layout.height), 0);
    Frame frame;
    if (!set_frame(view, frame)) return flags;
    for (int y = 0; y < layout.height; ++y)
        for (int x = 0; x < layout.width; ++x) {
            const double lx = (layout.column_in_view(x) + .5) / layout.width;
            const double ly = (layout.row_in_view(y) + .5) / layout.height;
            Vec d{};
            if (view_ray(frame, lx, ly, d) && dot3(d, d) > 1.0)
                flags[size_t(y) * size_t(layout.width) + size_t(x)] = 1;
        }
    return flags;
}
