#include "lib/gaussian_blur.h"

#include <algorithm>
#include <cmath>

std::vector<float> gaussian_kernel(double sigma) {
    const int radius = std::max(1, static_cast<int>(std::ceil(3.0 * sigma)));
    std::vector<double> weights(2 * static_cast<size_t>(radius) + 1);
    double sum = 0;
    for (int k = -radius; k <= radius; ++k) {
        const double w = sigma > 0 ? std::exp(-0.5 * k * k / (sigma * sigma)) : (k == 0 ? 1.0 : 0.0);
        weights[static_cast<size_t>(k + radius)] = w;
        sum += w;
    }
    std::vector<float> kernel(weights.size());
    for (size_t i = 0; i < weights.size(); ++i) kernel[i] = static_cast<float>(weights[i] / sum);
    return kernel;
}

void gaussian_blur(const std::vector<float>& in, int width, int height, double sigma, std::vector<float>& out) {
    const auto kernel = gaussian_kernel(sigma);
    const int radius = static_cast<int>(kernel.size() / 2);
    const size_t w = static_cast<size_t>(width);
    std::vector<float> across(in.size());

    // Along the rows: each row padded with its end values, then one weighted
    // sum of shifted copies per kernel tap (loops the compiler vectorises).
    std::vector<float> padded(w + 2 * static_cast<size_t>(radius));
    for (int y = 0; y < height; ++y) {
        const float* row = in.data() + static_cast<size_t>(y) * w;
        std::fill(padded.begin(), padded.begin() + radius, row[0]);
        std::copy(row, row + w, padded.begin() + radius);
        std::fill(padded.begin() + radius + static_cast<long>(w), padded.end(), row[w - 1]);
        float* target = across.data() + static_cast<size_t>(y) * w;
        std::fill(target, target + w, 0.0f);
        for (size_t k = 0; k < kernel.size(); ++k) {
            const float weight = kernel[k];
            const float* source = padded.data() + k;
            for (size_t x = 0; x < w; ++x) target[x] += weight * source[x];
        }
    }

    // Down the columns: each output row is a weighted sum of whole rows.
    out.assign(in.size(), 0.0f);
    for (int y = 0; y < height; ++y) {
        float* target = out.data() + static_cast<size_t>(y) * w;
        for (int k = -radius; k <= radius; ++k) {
            const int source_row = std::clamp(y + k, 0, height - 1);
            const float weight = kernel[static_cast<size_t>(k + radius)];
            const float* source = across.data() + static_cast<size_t>(source_row) * w;
            for (size_t x = 0; x < w; ++x) target[x] += weight * source[x];
        }
    }
}
