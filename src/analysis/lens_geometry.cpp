#include "analysis/lens_geometry.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <thread>
#include <utility>

#include "picture/view_projection.h"

namespace {

constexpr double pi = std::numbers::pi;
// Sub-divisions of a pixel the rim cuts, each way (columns for the
// hemispherical fisheye, whose columns are integrated exactly).
constexpr int rim_steps = 32;
constexpr int rim_columns = 256;

double radians(double degrees) { return degrees * pi / 180.0; }

bool is_fisheye(char type) { return type == 'a' || type == 'h' || type == 's'; }

// A fisheye's image plane: u, w = (x + shift, y + lift) times the type's
// scale, and ρ = √(u² + w²) relates to the angle off axis θ as ρ = θ
// (angular), ρ = sin θ (hemispherical) or ρ = tan(θ/2) (planisphere).
struct FisheyePlane {
    char type;
    double scale_x, scale_y, shift, lift;
    double rho_limit;  // the rim of the image circle

    // dω per unit of plane area at ρ, and cos θ there.
    double jacobian(double rho) const {
        switch (type) {
        case 'a': return rho > 0 ? std::sin(rho) / rho : 1.0;
        case 'h': return 1.0 / std::sqrt(std::max(1e-300, 1.0 - rho * rho));
        default: return 4.0 / ((1.0 + rho * rho) * (1.0 + rho * rho));
        }
    }
    double cosine(double rho) const {
        switch (type) {
        case 'a': return std::cos(rho);
        case 'h': return std::sqrt(std::max(0.0, 1.0 - rho * rho));
        default: return (1.0 - rho * rho) / (1.0 + rho * rho);
        }
    }
};

struct PartInView {
    double solid_angle = 0;
    double weight = 0;
};

// The hemispherical fisheye's rim pixel: over each column u, ∫ dw / √(1 − u² − w²)
// is asin(w / √(1 − u²)), exact even where the integrand grows without bound
// at 90° off axis; cos θ dω is plain plane area there.
PartInView hemispherical_part(const FisheyePlane& p, double u0, double u1, double w0, double w1) {
    PartInView part;
    const double du = (u1 - u0) / rim_columns;
    for (int k = 0; k < rim_columns; ++k) {
        const double u = u0 + (k + 0.5) * du;
        const double b2 = p.rho_limit * p.rho_limit - u * u;
        if (b2 <= 0) continue;
        const double b = std::sqrt(b2), a = std::sqrt(std::max(0.0, 1.0 - u * u));
        const double lo = std::max(w0, -b), hi = std::min(w1, b);
        if (hi <= lo || a <= 0) continue;
        part.solid_angle += std::fabs(du) * (std::asin(std::clamp(hi / a, -1.0, 1.0)) -
                                             std::asin(std::clamp(lo / a, -1.0, 1.0)));
        part.weight += std::fabs(du) * (hi - lo);
    }
    return part;
}

PartInView sampled_part(const FisheyePlane& p, double u0, double u1, double w0, double w1) {
    PartInView part;
    const double du = (u1 - u0) / rim_steps, dw = (w1 - w0) / rim_steps;
    const double area = std::fabs(du * dw);
    for (int a = 0; a < rim_steps; ++a)
        for (int b = 0; b < rim_steps; ++b) {
            const double u = u0 + (a + 0.5) * du, w = w0 + (b + 0.5) * dw;
            const double rho = std::sqrt(u * u + w * w);
            if (rho > p.rho_limit) continue;
            const double omega = p.jacobian(rho) * area;
            part.solid_angle += omega;
            part.weight += std::max(0.0, p.cosine(rho)) * omega;
        }
    return part;
}

// The corner directions of one row of pixel corners (y = j / height − 0.5),
// computed once for the two rows of pixels that share them.
struct CornerRow {
    std::vector<Vector3> direction;
    std::vector<char> ok;

    void fill(const ViewProjection& projection, int j) {
        const int w = projection.width(), h = projection.height();
        direction.resize(size_t(w) + 1);
        ok.assign(size_t(w) + 1, 0);
        for (int i = 0; i <= w; ++i)
            if (const auto d = projection.direction(double(i) / w - 0.5, double(j) / h - 0.5)) {
                direction[size_t(i)] = *d;
                ok[size_t(i)] = 1;
            }
    }
};

// Pixel (i, j) between corner rows `below` and `above`: its exact solid
// angle (0 when a corner or the centre has no direction) and its centre's
// cosine to the view direction.
struct WholePixel {
    double solid_angle = 0;
    double cosine = 0;
};

WholePixel whole_pixel(const ViewProjection& projection, const CornerRow& below, const CornerRow& above, int i, int j) {
    WholePixel pixel;
    const auto centre = projection.pixel_direction(i, j);
    if (!centre) return pixel;
    pixel.cosine = dot(*centre, projection.frame().forward);
    const size_t k = size_t(i);
    if (!below.ok[k] || !below.ok[k + 1] || !above.ok[k] || !above.ok[k + 1]) return pixel;
    pixel.solid_angle = triangle_solid_angle(below.direction[k], below.direction[k + 1], above.direction[k + 1]) +
                        triangle_solid_angle(below.direction[k], above.direction[k + 1], above.direction[k]);
    return pixel;
}

// Calls visit(i, j, below, above) for every pixel, rows from the bottom, or
// with `quadrant` for the pixels of the lower left quarter only (the middle
// row and column included). A camera's 24 million pixels take seconds on one
// core, and each pixel depends only on its own corners, so bands of rows run
// side by side (each band works out its first corner row itself); `visit`
// writes only its own pixel's entries (and their mirror images). The result
// is the same on any number of cores.
template <class Visit>
void each_pixel(const ViewProjection& projection, bool quadrant, Visit visit) {
    const int height = quadrant ? (projection.height() + 1) / 2 : projection.height();
    const int width = quadrant ? (projection.width() + 1) / 2 : projection.width();
    auto band = [&](int first, int last) {
        CornerRow below, above;
        below.fill(projection, first);
        for (int j = first; j < last; ++j) {
            above.fill(projection, j + 1);
            for (int i = 0; i < width; ++i) visit(i, j, below, above);
            std::swap(below, above);
        }
    };
    constexpr int64_t pixels_per_band = 1 << 20;
    const int64_t pixels = int64_t(height) * width;
    const int64_t cores = std::thread::hardware_concurrency();
    const int bands = int(std::clamp<int64_t>(std::min(cores, pixels / pixels_per_band), 1, 16));
    std::vector<std::thread> others;
    for (int b = 1; b < bands; ++b) others.emplace_back(band, height * b / bands, height * (b + 1) / bands);
    band(0, height / bands);
    for (std::thread& other : others) other.join();
}

// A view centred on its axis (no shift or lift) maps the picture plane
// symmetrically: the pixel mirrored across the middle column or row sees
// the same solid angle at the same angle off axis, whatever the view's
// direction and up vector. Working out a quarter and mirroring it is four
// times less work.
bool mirrored_quarters(const View& view) { return view.shift == 0 && view.lift == 0; }

// Stores pixel (i, j)'s figures (rows from the bottom) in the map's order,
// and in its mirror images when only a quarter is worked out.
void store(LensGeometry& lens, bool quadrant, int i, int j, double solid_angle, double weight) {
    const int w = lens.width, h = lens.height;
    auto put = [&](int x, int y) {
        const size_t out = size_t(h - 1 - y) * size_t(w) + size_t(x);  // the map counts rows from the top
        lens.solid_angle[out] = float(solid_angle);
        lens.illuminance_weight[out] = float(weight);
    };
    put(i, j);
    if (!quadrant) return;
    put(w - 1 - i, j);
    put(i, h - 1 - j);
    put(w - 1 - i, h - 1 - j);
}

void fill_fisheye(const ViewProjection& projection, const FisheyePlane& p, bool quadrant, LensGeometry& lens) {
    const int w = lens.width, h = lens.height;
    each_pixel(projection, quadrant, [&](int i, int j, const CornerRow& below, const CornerRow& above) {
        const double w0 = (double(j) / h - 0.5 + p.lift) * p.scale_y, w1 = (double(j + 1) / h - 0.5 + p.lift) * p.scale_y;
        const double u0 = (double(i) / w - 0.5 + p.shift) * p.scale_x;
        const double u1 = (double(i + 1) / w - 0.5 + p.shift) * p.scale_x;
        const double far_u = std::max(std::fabs(u0), std::fabs(u1)), far_w = std::max(std::fabs(w0), std::fabs(w1));
        const double near_u = u0 <= 0 && u1 >= 0 ? 0.0 : std::min(std::fabs(u0), std::fabs(u1));
        const double near_w = w0 <= 0 && w1 >= 0 ? 0.0 : std::min(std::fabs(w0), std::fabs(w1));
        // Squares rather than hypot: no overflow is possible here, and
        // hypot's care costs a tenth of the whole pass.
        const double limit2 = p.rho_limit * p.rho_limit;
        if (near_u * near_u + near_w * near_w >= limit2) return;
        // A pixel whose far corner lies on the rim itself (to rounding) is
        // integrated as well: there the hemispherical fisheye's dω grows
        // without bound and the corner solid angle is off by a third, and
        // rounding alone would treat a pixel and its mirror image unalike.
        if (far_u * far_u + far_w * far_w <= limit2 * (1 - 1e-9)) {
            const WholePixel pixel = whole_pixel(projection, below, above, i, j);
            if (pixel.solid_angle > 0) {
                // A hemispherical fisheye weighs every pixel alike (cos θ dω
                // is plane area); the centre's cosine would overweigh the rim.
                store(lens, quadrant, i, j, pixel.solid_angle,
                      p.type == 'h' ? (u1 - u0) * (w1 - w0) : std::max(0.0, pixel.cosine) * pixel.solid_angle);
                return;
            }
        }
        const PartInView part = p.type == 'h' ? hemispherical_part(p, u0, u1, w0, w1) : sampled_part(p, u0, u1, w0, w1);
        store(lens, quadrant, i, j, part.solid_angle, part.weight);
    });
}

void fill_frame(const ViewProjection& projection, bool quadrant, LensGeometry& lens) {
    each_pixel(projection, quadrant, [&](int i, int j, const CornerRow& below, const CornerRow& above) {
        const WholePixel pixel = whole_pixel(projection, below, above, i, j);
        if (!(pixel.solid_angle > 0)) return;
        store(lens, quadrant, i, j, pixel.solid_angle, std::max(0.0, pixel.cosine) * pixel.solid_angle);
    });
}

}  // namespace

double image_circle_angle(const View& view) {
    if (!is_fisheye(view.type)) return 0;
    const double half = radians(std::max(view.horizontal, view.vertical)) / 2;
    return view.type == 'h' ? std::min(half, pi / 2) : std::min(half, pi);
}

std::optional<LensGeometry> lens_geometry(const std::optional<View>& view, int width, int height) {
    return lens_geometry(view, width, height, LensSymmetry::use);
}

std::optional<LensGeometry> lens_geometry(const std::optional<View>& view, int width, int height,
                                          LensSymmetry symmetry) {
    if (!view) return std::nullopt;
    const auto projection = ViewProjection::make(*view, width, height);
    if (!projection) return std::nullopt;
    LensGeometry lens;
    lens.width = width;
    lens.height = height;
    lens.view = *view;
    const size_t n = size_t(width) * size_t(height);
    lens.solid_angle.assign(n, 0.0);
    lens.illuminance_weight.assign(n, 0.0);
    const bool quadrant = symmetry == LensSymmetry::use && mirrored_quarters(*view);
    if (is_fisheye(view->type)) {
        const double limit = image_circle_angle(*view);
        FisheyePlane plane{view->type,
                           image_plane_scale(view->type, radians(view->horizontal), false),
                           image_plane_scale(view->type, radians(view->vertical), true),
                           view->shift,
                           view->lift,
                           view->type == 'a' ? limit : view->type == 'h' ? std::sin(limit) : std::tan(limit / 2)};
        fill_fisheye(*projection, plane, quadrant, lens);
        lens.full_hemisphere = std::min(view->horizontal, view->vertical) >= 180;
    } else {
        fill_frame(*projection, quadrant, lens);
    }
    lens.looks_up = dot(projection->frame().forward, Vector3{0, 0, 1}) >= std::cos(radians(1));
    return lens;
}
