#include "profiles/vignetting_fit.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int ring_count = 49;
constexpr double outermost = 0.98;

// Solves the small normal equations in place (Gaussian elimination with
// partial pivoting); false when singular.
bool solve(std::vector<std::vector<double>> m, std::vector<double> rhs, std::vector<double>& x) {
    const size_t n = rhs.size();
    for (size_t c = 0; c < n; ++c) {
        size_t pivot = c;
        for (size_t r = c + 1; r < n; ++r)
            if (std::abs(m[r][c]) > std::abs(m[pivot][c])) pivot = r;
        if (std::abs(m[pivot][c]) < 1e-300) return false;
        std::swap(m[c], m[pivot]);
        std::swap(rhs[c], rhs[pivot]);
        for (size_t r = c + 1; r < n; ++r) {
            const double f = m[r][c] / m[c][c];
            for (size_t k = c; k < n; ++k) m[r][k] -= f * m[c][k];
            rhs[r] -= f * rhs[c];
        }
    }
    x.assign(n, 0);
    for (size_t c = n; c-- > 0;) {
        double sum = rhs[c];
        for (size_t k = c + 1; k < n; ++k) sum -= m[c][k] * x[k];
        x[c] = sum / m[c][c];
    }
    return true;
}

}  // namespace

ImageCircle measuring_circle(const LuminanceMap& map, const ImageCircle& circle) {
    if (circle.radius > 0) return circle;
    return {map.width / 2.0, map.height / 2.0, std::hypot(map.width, map.height) / 2};
}

Result<VignettingFit> fit_vignetting(const LuminanceMap& map, const ImageCircle& given) {
    const ImageCircle circle = measuring_circle(map, given);
    std::vector<std::vector<float>> rings(ring_count);
    for (int y = 0; y < map.height; ++y)
        for (int x = 0; x < map.width; ++x) {
            const double r = std::hypot(x + 0.5 - circle.centre_x, y + 0.5 - circle.centre_y) / circle.radius;
            if (r >= outermost) continue;
            const float value = map.at(x, y);
            if (!std::isfinite(value) || !(value > 0)) continue;
            rings[static_cast<size_t>(r / outermost * ring_count)].push_back(value);
        }
    VignettingFit fit;
    for (int i = 0; i < ring_count; ++i) {
        auto& values = rings[i];
        // A ring of a few pixels near the centre is noise, not a level.
        if (values.size() < 8) continue;
        std::nth_element(values.begin(), values.begin() + values.size() / 2, values.end());
        fit.rings.push_back({(i + 0.5) / ring_count * outermost, values[values.size() / 2], 0, values.size()});
    }
    if (fit.rings.size() < ring_count / 2)
        return Failure{-1, "too little of the picture lies inside the image circle to fit its fall-off"};
    // L = L0 + b1 r^2 + b2 r^4 + b3 r^6, least squares over the rings.
    const size_t n = vignetting_terms + 1;
    std::vector<std::vector<double>> m(n, std::vector<double>(n, 0));
    std::vector<double> rhs(n, 0);
    for (const VignettingRing& ring : fit.rings) {
        std::vector<double> basis(n, 1);
        for (size_t k = 1; k < n; ++k) basis[k] = basis[k - 1] * ring.radius * ring.radius;
        for (size_t a = 0; a < n; ++a) {
            for (size_t b = 0; b < n; ++b) m[a][b] += basis[a] * basis[b];
            rhs[a] += basis[a] * ring.measured;
        }
    }
    std::vector<double> b;
    if (!solve(m, rhs, b) || !(b[0] > 0)) return Failure{-1, "the fall-off could not be fitted"};
    fit.centre_level = b[0];
    for (size_t k = 1; k < n; ++k) fit.coefficients.push_back(b[k] / b[0]);
    double squares = 0;
    for (VignettingRing& ring : fit.rings) {
        ring.measured /= fit.centre_level;
        ring.fitted = vignetting_falloff(fit.coefficients, ring.radius);
        const double miss = (ring.measured - ring.fitted) / ring.fitted * 100;
        squares += miss * miss;
    }
    fit.rms_percent = std::sqrt(squares / fit.rings.size());
    for (int i = 0; i <= 100; ++i)
        if (!(vignetting_falloff(fit.coefficients, i / 100.0) > 0.01))
            return Failure{-1, "the fitted fall-off leaves no light inside the image circle: is the scene uniform?"};
    return fit;
}

void store_vignetting_fit(CameraProfile& profile, const VignettingFit& fit) {
    profile.vignetting = fit.coefficients;
    profile.vignetting_data.clear();
    for (const VignettingRing& ring : fit.rings) profile.vignetting_data.emplace_back(ring.radius, ring.measured);
}
