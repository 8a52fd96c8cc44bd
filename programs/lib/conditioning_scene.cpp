#include "lib/conditioning_scene.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "lib/rgbe_color.h"
#include "lib/veiling_glare.h"

namespace {

constexpr int samples_per_foveal_pixel = 16;
constexpr double centre_weight_radius = 90;  // foveal pixels (degrees) to zero centre weight

int foveal_size(const View& view, bool vertical) {
    return std::max(2, static_cast<int>(std::lround(image_plane_extent(view, vertical) / fovea_angle)));
}

}  // namespace

Colour Scene::veiled_pixel(size_t i, Colour c) const {
    if (!veil) return c;
    const int column = static_cast<int>(i % static_cast<size_t>(picture.width));
    const int row = static_cast<int>(i / static_cast<size_t>(picture.width));
    const Colour v = sample_bilinear(*veil, (column + 0.5) / picture.width * fovea.width - 0.5,
                                     (row + 0.5) / picture.height * fovea.height - 0.5);
    const float keep = static_cast<float>(1.0 - veil_share);
    return {keep * c.r + v.r, keep * c.g + v.g, keep * c.b + v.b};
}

double Scene::luminance(float r, float g, float b) const {
    static const double wr = static_cast<float>(physics::radiance_weight_red),
                        wg = static_cast<float>(physics::radiance_weight_green),
                        wb = static_cast<float>(physics::radiance_weight_blue);
    return physics::luminous_efficacy * (r * wr + g * wg + b * wb) / picture.exposure;
}

namespace {

// The colours as they read back from RGBE.
void store_as_rgbe(ColourGrid& grid) {
    for (size_t i = 0; i < grid.size(); ++i) {
        const Color3 c = decode_color(encode_color(grid.red[i], grid.green[i], grid.blue[i]));
        grid.red[i] = c.r;
        grid.green[i] = c.g;
        grid.blue[i] = c.b;
    }
}

}  // namespace

Scene build_scene(FloatPicture&& picture, bool centre_weighted) {
    Scene s;
    s.picture = std::move(picture);
    s.to_luminance = physics::luminous_efficacy / s.picture.exposure;
    // Views describe the picture's x and y; when scanlines run along y the
    // scan grid is the picture transposed.
    const bool scanlines_along_x = (s.picture.resolution.flags & ResolutionLine::y_major) != 0;
    const int x_size = scanlines_along_x ? s.picture.width : s.picture.height;
    const int y_size = scanlines_along_x ? s.picture.height : s.picture.width;
    s.view = conditioning_view(s.picture.header, x_size, y_size);
    if (!scanlines_along_x) std::swap(s.view.horizontal, s.view.vertical);

    const int fw = foveal_size(s.view, false), fh = foveal_size(s.view, true);
    s.fovea = box_resize(s.picture, fw, fh);
    store_as_rgbe(s.fovea);
    s.directions.resize(s.fovea.size());
    s.foveal_weights.assign(s.fovea.size(), 1.0f);
    for (int j = 0; j < fh; ++j)
        for (int i = 0; i < fw; ++i) {
            const size_t k = s.fovea.index(i, j);
            image_direction(s.view, (i + 0.5) / fw - 0.5, 0.5 - (j + 0.5) / fh, s.directions[k]);
            // Kept in single precision, as the reference keeps them.
            for (double& component : s.directions[k]) component = static_cast<float>(component);
            if (centre_weighted) {
                const double xr = (i - (fw - 1) / 2.0) / centre_weight_radius;
                const double yr = (j - (fh - 1) / 2.0) / centre_weight_radius;
                s.foveal_weights[k] = static_cast<float>(std::max(0.0, 1 - xr * xr - yr * yr));
            }
        }
    s.point_count = std::min(s.picture.size(), size_t(samples_per_foveal_pixel) * s.fovea.size());
    return s;
}

// The foveal pixels carry the veil, if any; the point samples stand for the
// picture's own detail and are taken as they are.
BrightnessHistogram scene_histogram(Scene& s) {
    std::vector<double> foveal(s.fovea.size());
    for (size_t i = 0; i < foveal.size(); ++i) foveal[i] = s.luminance(s.fovea, i);
    const auto& p = s.picture;
    const auto indices = random_pixel_indices(static_cast<size_t>(p.width), static_cast<size_t>(p.height),
                                              s.point_count, s.random);
    std::vector<float> points(indices.size());
    for (size_t k = 0; k < points.size(); ++k) {
        const size_t i = indices[k];
        points[k] = static_cast<float>(s.luminance(p, i));
    }
    return brightness_histogram(foveal, s.foveal_weights, points);
}

