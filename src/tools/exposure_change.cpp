#include "tools/exposure_change.h"

#include <cmath>

#include "common/text_format.h"
#include "picture/rgbe_reader.h"

std::string exposure_command(const std::string& factor, const std::string& input, const std::string& output) {
    return "/C pfilt -1 -e " + factor + " " + input + " > " + output;
}

std::optional<float> exposure_factor(float wanted, float current) {
    const float factor = wanted / current;
    if (!std::isfinite(factor) || !(factor > 0)) return std::nullopt;
    return factor;
}

Result<float> header_exposure(const std::string& picture) {
    Result<float> exposure = read_picture_exposure(picture);
    if (!exposure) return Failure{-1, "Could not read the exposure of " + picture + ": " + exposure.failure().message};
    const float value = exposure.value();
    if (!std::isfinite(value) || !(value > 0))
        return Failure{-1, "The exposure of " + picture + " is not a positive number (" + format_default(value) + ")"};
    return value;
}

Result<double> batch_exposure_factor(double wanted, const std::string& picture) {
    Result<float> exposure = header_exposure(picture);
    if (!exposure) return exposure.failure();
    const double factor = wanted / static_cast<double>(exposure.value());
    if (!std::isfinite(factor) || !(factor > 0))
        return Failure{-1, "The exposure factor for " + picture + " is not a positive number: " +
                               strprintf("%g", wanted) + " / " + format_default(exposure.value())};
    return factor;
}
