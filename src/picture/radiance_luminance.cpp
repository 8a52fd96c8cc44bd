#include "picture/radiance_luminance.h"

#include "common/physics.h"
#include "picture/rgbe_reader.h"

std::optional<LuminanceWeights> luminance_weights_named(const std::string& name) {
    if (name == "bt709") return LuminanceWeights::bt709;
    if (name == "radiance") return LuminanceWeights::radiance;
    return std::nullopt;
}

Result<LuminanceMap> load_radiance_luminance_map(const std::string& path) {
    auto picture = ra2picarray(path);
    if (!picture) return picture.failure();
    const RgbePicture& rgbe = picture.value();
    LuminanceMap map;
    map.width = rgbe.scanline_length;
    map.height = rgbe.scanline_count;
    map.exposure = exposure_product(rgbe.exposures);
    map.data.resize(rgbe.pixels.size());
    const double scale = physics::luminous_efficacy / map.exposure;
    for (size_t i = 0; i < rgbe.pixels.size(); ++i) {
        const RgbColor c = decode_rgbe(rgbe.pixels[i]);
        map.data[i] = static_cast<float>(scale * (physics::radiance5_weight_red * c.r + physics::radiance5_weight_green * c.g +
                                                  physics::radiance5_weight_blue * c.b));
    }
    return map;
}
