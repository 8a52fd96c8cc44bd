#include "glare_scenes.h"

#include "common/physics.h"
#include "lib/rgbe_color.h"
#include "test_picture.h"

namespace {

double scene_value(int i, int row, double background, const std::vector<Disc>& discs) {
    double value = background;
    for (const auto& d : discs) {
        const double dx = i + 0.5 - d.column, dy = row + 0.5 - d.row;
        if (dx * dx + dy * dy < d.radius * d.radius) value = d.luminance;
    }
    return value;
}

RgbePixel grey(double luminance) {
    const float v = float(luminance / physics::luminous_efficacy);
    return encode_color(v, v, v);
}

}  // namespace

double stored_luminance(double luminance) {
    const Color3 c = decode_color(grey(luminance));
    return physics::luminous_efficacy * (physics::radiance_weight_red * c.r + physics::radiance_weight_green * c.g +
                                         physics::radiance_weight_blue * c.b);
}

std::vector<RgbePixel> scene_pixels(int width, int height, double background, const std::vector<Disc>& discs) {
    std::vector<RgbePixel> pixels;
    for (int row = 0; row < height; ++row)
        for (int i = 0; i < width; ++i) pixels.push_back(grey(scene_value(i, row, background, discs)));
    return pixels;
}

std::vector<float> scene_luminance(int width, int height, double background, const std::vector<Disc>& discs) {
    std::vector<float> luminance(size_t(width) * size_t(height));
    for (int j = 0; j < height; ++j)
        for (int i = 0; i < width; ++i)
            luminance[size_t(j) * size_t(width) + size_t(i)] =
                float(stored_luminance(scene_value(i, height - 1 - j, background, discs)));
    return luminance;
}

std::string scene_file(const std::vector<std::string>& lines, int width, int height, double background,
                       const std::vector<Disc>& discs) {
    return picture_file(lines, "-Y " + std::to_string(height) + " +X " + std::to_string(width),
                        scene_pixels(width, height, background, discs), width);
}

std::string reference_scene(int number) {
    const std::string view = number == 2 ? "VIEW= -vta -vh 180 -vv 180" : "VIEW= -vth -vh 180 -vv 180";
    std::vector<Disc> discs;
    // (c - 200.5)² + (r - 99.5)² < 400 over pixel indices: centres at c + 0.5.
    if (number == 3) discs.push_back({201.0, 100.0, 20.0, 20000.0});
    return scene_file({"FORMAT=32-bit_rle_rgbe", view}, 400, 400, 1000.0, discs);
}
