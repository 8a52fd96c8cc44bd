#include "profiles/image_circle.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

namespace {

constexpr int ray_count = 720;
constexpr double step = 0.25;          // along a ray, in pixels
constexpr double refine_reach = 5;     // pixels either side of a crossing for its two levels
constexpr double dark_factor = 4;      // lit: brighter than this many times the corners
constexpr double largest_contrast = 100;  // the half-way point's outside is at least lit/100

struct Point {
    double x, y;
};

double median(std::vector<double> values) {
    if (values.empty()) return 0;
    const size_t mid = values.size() / 2;
    std::nth_element(values.begin(), values.begin() + mid, values.end());
    return values[mid];
}

// Natural logarithm of the luminance at (x, y), bilinear between pixel centres.
double log_at(const LuminanceMap& map, double x, double y) {
    const double fx = std::clamp(x - 0.5, 0.0, map.width - 1.0);
    const double fy = std::clamp(y - 0.5, 0.0, map.height - 1.0);
    const int x0 = std::min(static_cast<int>(fx), map.width - 2 < 0 ? 0 : map.width - 2);
    const int y0 = std::min(static_cast<int>(fy), map.height - 2 < 0 ? 0 : map.height - 2);
    const int x1 = std::min(x0 + 1, map.width - 1), y1 = std::min(y0 + 1, map.height - 1);
    const double ax = fx - x0, ay = fy - y0;
    auto l = [&](int cx, int cy) { return std::log(std::max(map.at(cx, cy), 1e-30f)); };
    return (1 - ay) * ((1 - ax) * l(x0, y0) + ax * l(x1, y0)) + ay * ((1 - ax) * l(x0, y1) + ax * l(x1, y1));
}

double square_median(const LuminanceMap& map, int x0, int y0, int side, std::vector<double>& into) {
    for (int y = y0; y < y0 + side; ++y)
        for (int x = x0; x < x0 + side; ++x) into.push_back(map.at(x, y));
    return median(into);
}

// How far a ray from (cx, cy) along (dx, dy) stays on the picture's pixel centres.
double reach_of(const LuminanceMap& map, double cx, double cy, double dx, double dy) {
    double reach = 1e30;
    if (dx > 1e-12) reach = std::min(reach, (map.width - 0.5 - cx) / dx);
    if (dx < -1e-12) reach = std::min(reach, (0.5 - cx) / dx);
    if (dy > 1e-12) reach = std::min(reach, (map.height - 0.5 - cy) / dy);
    if (dy < -1e-12) reach = std::min(reach, (0.5 - cy) / dy);
    return std::max(reach, 0.0);
}

// The first crossing of `level` met going inward from `from` to 0; nothing
// when the ray starts above it or never reaches it.
bool inward_crossing(const LuminanceMap& map, double cx, double cy, double dx, double dy, double from, double to,
                     double level, double& at) {
    double previous = log_at(map, cx + from * dx, cy + from * dy);
    if (previous >= level) return false;
    for (double s = from - step; s >= to; s -= step) {
        const double value = log_at(map, cx + s * dx, cy + s * dy);
        if (value >= level) {
            at = s + step * (level - value) / (previous - value);
            return true;
        }
        previous = value;
    }
    return false;
}

std::vector<Point> edge_points(const LuminanceMap& map, double cx, double cy, double dark_level) {
    std::vector<Point> points;
    for (int k = 0; k < ray_count; ++k) {
        const double angle = 2 * std::numbers::pi * k / ray_count;
        const double dx = std::cos(angle), dy = std::sin(angle);
        const double reach = reach_of(map, cx, cy, dx, dy);
        double s = 0;
        if (!inward_crossing(map, cx, cy, dx, dy, reach, 0, dark_level, s)) continue;
        // Half-way, in log, between the dark outside and the lit inside.
        const double outer = std::min(s + refine_reach, reach);
        // A black outside (a mask, a JPEG's code 0) would put the half-way
        // point out in the blur of the rim; a contrast of 100 is plenty.
        const double inner = std::max(s - refine_reach, 0.0);
        const double in_level = log_at(map, cx + inner * dx, cy + inner * dy);
        const double out_level = std::max(log_at(map, cx + outer * dx, cy + outer * dy),
                                          in_level - std::log(largest_contrast));
        double refined = s;
        if (in_level - out_level > std::log(1.5) &&
            inward_crossing(map, cx, cy, dx, dy, outer, inner, (in_level + out_level) / 2, refined))
            s = refined;
        points.push_back({cx + s * dx, cy + s * dy});
    }
    return points;
}

// Least squares of x² + y² + a x + b y + c over the points (Kåsa's fit).
bool fit_circle(const std::vector<Point>& points, ImageCircle& circle) {
    if (points.size() < 3) return false;
    double mx = 0, my = 0;
    for (const Point& p : points) mx += p.x, my += p.y;
    mx /= points.size(), my /= points.size();
    // Centred coordinates keep the normal equations well conditioned.
    double suu = 0, suv = 0, svv = 0, su = 0, sv = 0, n = points.size(), suz = 0, svz = 0, sz = 0;
    for (const Point& p : points) {
        const double u = p.x - mx, v = p.y - my, z = u * u + v * v;
        suu += u * u, suv += u * v, svv += v * v, su += u, sv += v;
        suz += u * z, svz += v * z, sz += z;
    }
    const double m[3][3] = {{suu, suv, su}, {suv, svv, sv}, {su, sv, n}};
    const double rhs[3] = {-suz, -svz, -sz};
    const double det = m[0][0] * (m[1][1] * m[2][2] - m[1][2] * m[2][1]) -
                       m[0][1] * (m[1][0] * m[2][2] - m[1][2] * m[2][0]) +
                       m[0][2] * (m[1][0] * m[2][1] - m[1][1] * m[2][0]);
    if (std::abs(det) < 1e-12) return false;
    double solution[3];
    for (int c = 0; c < 3; ++c) {
        double t[3][3];
        for (int i = 0; i < 3; ++i)
            for (int j = 0; j < 3; ++j) t[i][j] = j == c ? rhs[i] : m[i][j];
        solution[c] = (t[0][0] * (t[1][1] * t[2][2] - t[1][2] * t[2][1]) -
                       t[0][1] * (t[1][0] * t[2][2] - t[1][2] * t[2][0]) +
                       t[0][2] * (t[1][0] * t[2][1] - t[1][1] * t[2][0])) / det;
    }
    const double ucx = -solution[0] / 2, vcy = -solution[1] / 2;
    const double r2 = ucx * ucx + vcy * vcy - solution[2];
    if (!(r2 > 0)) return false;
    circle = {ucx + mx, vcy + my, std::sqrt(r2)};
    return true;
}

bool robust_fit(std::vector<Point> points, ImageCircle& circle) {
    if (!fit_circle(points, circle)) return false;
    for (int round = 0; round < 6; ++round) {
        std::vector<double> residuals;
        for (const Point& p : points) residuals.push_back(std::abs(std::hypot(p.x - circle.centre_x, p.y - circle.centre_y) - circle.radius));
        const double limit = std::max(1.0, 3 * median(residuals));
        std::vector<Point> kept;
        for (size_t i = 0; i < points.size(); ++i)
            if (residuals[i] <= limit) kept.push_back(points[i]);
        if (kept.size() < ray_count / 8) return false;
        const bool same = kept.size() == points.size();
        points = std::move(kept);
        if (!fit_circle(points, circle)) return false;
        if (same) break;
    }
    return true;
}

}  // namespace

Result<ImageCircle> find_image_circle(const LuminanceMap& map) {
    const int shorter = std::min(map.width, map.height);
    if (shorter < 16) return Failure{-1, "the picture is too small to find an image circle on"};
    const int corner = std::max(2, shorter / 20);
    std::vector<double> corners;
    square_median(map, 0, 0, corner, corners);
    square_median(map, map.width - corner, 0, corner, corners);
    square_median(map, 0, map.height - corner, corner, corners);
    const double dark = square_median(map, map.width - corner, map.height - corner, corner, corners);
    std::vector<double> middle_values;
    const int middle = std::max(2, shorter / 4);
    const double lit = square_median(map, (map.width - middle) / 2, (map.height - middle) / 2, middle, middle_values);
    if (!(lit > 8 * dark) || !(lit > 0))
        return Failure{-1, "no lit disc: the picture's corners are not clearly darker than its middle"};
    const double dark_level = std::log(std::max(dark_factor * dark, lit * 1e-4));

    ImageCircle circle;
    double cx = map.width / 2.0, cy = map.height / 2.0;
    for (int pass = 0; pass < 2; ++pass) {
        if (!robust_fit(edge_points(map, cx, cy, dark_level), circle))
            return Failure{-1, "no circular edge of a lit disc was found"};
        cx = circle.centre_x, cy = circle.centre_y;
        if (cx < 0 || cy < 0 || cx > map.width || cy > map.height)
            return Failure{-1, "no circular edge of a lit disc was found"};
    }
    return circle;
}
