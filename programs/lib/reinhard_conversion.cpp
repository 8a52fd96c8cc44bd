#include "lib/reinhard_conversion.h"

#include <cmath>

#include "lib/float_picture.h"
#include "lib/jpeg_export.h"

uint8_t gamma_display_byte(double value, double gamma) {
    if (!(value > 0)) return 0;
    if (value >= 1) return 255;
    const double byte = std::trunc(256.0 * std::pow(value, 1.0 / gamma));
    return static_cast<uint8_t>(byte > 255 ? 255 : byte);
}

ProgramStatus convert_reinhard(const ReinhardOptions& options) {
    FloatPicture picture;
    if (auto status = read_float_picture(options.input, export_input_messages(), picture); !status.ok())
        return status;
    const size_t n = picture.size();
    // Brightness of the stored values; luminance differs from it by the
    // constant 179 / exposure, which matters for the key only.
    std::vector<float> brightness(n), world(n);
    const double to_world = physics::luminous_efficacy / picture.exposure;
    for (size_t i = 0; i < n; ++i) {
        brightness[i] = radiance_brightness(picture.red[i], picture.green[i], picture.blue[i]);
        world[i] = static_cast<float>(to_world * brightness[i]);
    }
    const auto display = reinhard_display_luminance(world, picture.width, picture.height, options.parameters);

    DisplayImage image(picture.width, picture.height);
    for (size_t i = 0; i < n; ++i) {
        const double ratio = brightness[i] > 0 && std::isfinite(world[i]) ? display[i] / brightness[i] : 0.0;
        image.rgb[3 * i] = gamma_display_byte(picture.red[i] * ratio, options.gamma);
        image.rgb[3 * i + 1] = gamma_display_byte(picture.green[i] * ratio, options.gamma);
        image.rgb[3 * i + 2] = gamma_display_byte(picture.blue[i] * ratio, options.gamma);
    }
    return save_display_image(options.output, image);
}
