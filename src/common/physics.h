#pragma once
// Photometric constants used wherever a radiance value becomes a luminance.

namespace physics {

// Luminous efficacy (lm/W) that turns Radiance's watts/sr/m² into cd/m².
inline constexpr double luminous_efficacy = 179.0;

// ITU-R BT.709 luminance weights: the application's own readout and statistics.
inline constexpr double weight_red = 0.2126;
inline constexpr double weight_green = 0.7152;
inline constexpr double weight_blue = 0.0722;

// The brightness weights Radiance's own programs rank pixels with (pfilt's
// exposure average, pextrem, glare). Not the same as the BT.709 ones above.
inline constexpr double radiance_weight_red = 0.265074126;
inline constexpr double radiance_weight_green = 0.670114631;
inline constexpr double radiance_weight_blue = 0.064811243;

// The same weights as Radiance 5's colour routines derive them, from its
// standard primaries with the white point at exactly (1/3, 1/3): evalglare's
// luminance. They move coloured pictures' figures by a few parts in 10⁵
// against the rounded ones above.
inline constexpr double radiance5_weight_red = 0.26510582010582007;
inline constexpr double radiance5_weight_green = 0.6701058201058199;
inline constexpr double radiance5_weight_blue = 0.06478835978835978;

// RGBE: a channel is (mantissa + 0.5) * 2^(E - 136); 128 of the bias is the
// exponent's own, the other 8 scale the 8-bit mantissa.
inline constexpr int rgbe_exponent_bias = 136;

}  // namespace physics
