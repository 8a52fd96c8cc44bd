#pragma once
// The tone curves the simulated camera can encode its JPEGs with. Each maps
// the sensor's linear signal, 0 (black) to 1 (full well), onto the encoded
// value 0 to 1, and reaches 1 exactly at full well, so that the brightest
// unclipped code always stands for the same signal whatever the curve.
//
//   srgb     the sRGB transfer curve (the default, and what the camera did
//            before it had a choice)
//   gamma22  a pure power law, signal^(1/2.2)
//   filmic   an S-shaped film-like curve: the fitted ACES tone curve
//            x(2.51x + 0.03) / (x(2.43x + 0.59) + 0.14), scaled so that full
//            well is white, then sRGB-encoded; a toe in the shadows and a
//            shoulder in the highlights

#include <optional>
#include <string>

namespace sim {

enum class SensorResponse { srgb, gamma22, filmic };

// The curve named by EDSDK_SIM_RESPONSE ("srgb", "gamma22", "filmic"); sRGB
// when the variable is unset; nothing for any other name.
std::optional<SensorResponse> response_named(const std::string& name);

double encode_signal(SensorResponse response, double linear);

// The signal an encoded value stands for (the curve's inverse), 0 to 1.
double decode_signal(SensorResponse response, double encoded);

}  // namespace sim
