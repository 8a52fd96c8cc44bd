#include "lib/veiling_glare.h"

namespace {

constexpr float least_cosine = 1e-6f;

}  // namespace

ColourGrid veil_image(const ColourGrid& fovea, const std::vector<Direction>& directions) {
    const size_t n = fovea.size();
    std::vector<float> x(n), y(n), z(n);
    for (size_t i = 0; i < n; ++i) {
        x[i] = static_cast<float>(directions[i][0]);
        y[i] = static_cast<float>(directions[i][1]);
        z[i] = static_cast<float>(directions[i][2]);
    }
    // Sums for both ends of each pair at once: the weight is symmetric.
    std::vector<float> sum_r(n, 0.0f), sum_g(n, 0.0f), sum_b(n, 0.0f), sum_w(n, 0.0f);
    const float* __restrict fr = fovea.red.data();
    const float* __restrict fg = fovea.green.data();
    const float* __restrict fb = fovea.blue.data();
    for (size_t p = 0; p < n; ++p) {
        const float px = x[p], py = y[p], pz = z[p];
        const float pr = fr[p], pg = fg[p], pb = fb[p];
        float acc_r = 0, acc_g = 0, acc_b = 0, acc_w = 0;
        float* __restrict qr = sum_r.data();
        float* __restrict qg = sum_g.data();
        float* __restrict qb = sum_b.data();
        float* __restrict qw = sum_w.data();
        for (size_t q = p + 1; q < n; ++q) {
            const float c = px * x[q] + py * y[q] + pz * z[q];
            // 1 - c for unit vectors, without cancellation: half the squared
            // chord between them.
            const float dx = px - x[q], dy = py - y[q], dz = pz - z[q];
            const float chord = dx * dx + dy * dy + dz * dz;
            const float w = (c > least_cosine && chord > 0.0f) ? c / chord : 0.0f;
            acc_r += w * fr[q];
            acc_g += w * fg[q];
            acc_b += w * fb[q];
            acc_w += w;
            qr[q] += w * pr;
            qg[q] += w * pg;
            qb[q] += w * pb;
            qw[q] += w;
        }
        sum_r[p] += acc_r;
        sum_g[p] += acc_g;
        sum_b[p] += acc_b;
        sum_w[p] += acc_w;
    }
    ColourGrid veil(fovea.width, fovea.height);
    for (size_t i = 0; i < n; ++i) {
        if (!(sum_w[i] > 0)) continue;
        const float scale = static_cast<float>(veil_share) / sum_w[i];
        veil.red[i] = scale * sum_r[i];
        veil.green[i] = scale * sum_g[i];
        veil.blue[i] = scale * sum_b[i];
    }
    return veil;
}

void add_veil(ColourGrid& image, const ColourGrid& veil) {
    const float keep = static_cast<float>(1.0 - veil_share);
    for (size_t i = 0; i < image.size(); ++i) {
        image.red[i] = keep * image.red[i] + veil.red[i];
        image.green[i] = keep * image.green[i] + veil.green[i];
        image.blue[i] = keep * image.blue[i] + veil.blue[i];
    }
}
