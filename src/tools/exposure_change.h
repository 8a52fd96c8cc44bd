#pragma once
// Changing a picture's exposure with pfilt, by the factor that takes its
// exposure to the one asked for; and the exposure of a picture as batch
// replay needs it for that factor.

#include <optional>
#include <string>

#include "common/result.h"

// "/C pfilt -1 -e F I > O".
std::string exposure_command(const std::string& factor, const std::string& input, const std::string& output);

// wanted / current in single precision; nothing when that is not a positive
// finite number (pfilt would refuse it, or scale the picture to black).
std::optional<float> exposure_factor(float wanted, float current);

// The exposure product of a picture's header, read by the same rule as the
// luminance map's (every EXPOSURE= anywhere in a line). Fails with a message
// when the picture cannot be read or the product is not a positive finite
// number.
Result<float> header_exposure(const std::string& picture);

// The factor that gives `picture` the exposure `wanted` (a recorded exposure
// step replayed on another picture). Fails with a message when the picture's
// exposure cannot be read or the factor is not a positive finite number.
Result<double> batch_exposure_factor(double wanted, const std::string& picture);
