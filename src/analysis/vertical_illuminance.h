#pragma once
// The vertical illuminance at the camera, in lux, from a fisheye picture's
// luminance: what illuminance calibration compares with a meter reading.
//
// Ev = Σ L·cos θ·ω over the picture, with θ and the solid angle ω of each
// pixel from the picture's view. For a 180° hemispherical (orthographic)
// fisheye every pixel inside the circle has cos θ·ω = 4 / (W·H), so Ev is π
// times the mean luminance of the lit pixels: that rule is kept exactly for
// full 180° hemispherical pictures and for pictures without a view. A
// narrower hemispherical view covers a disc of radius sin(angle / 2) only,
// and angular (equidistant) and stereographic fisheyes weigh their pixels
// differently: they need the sum, or they come out several per cent high or
// 14 to 41 % low.

#include <optional>
#include <string>
#include <vector>

#include "picture/luminance_map.h"
#include "picture/view_options.h"

inline constexpr float pi_float = 3.1415927f;
// Pixels at or below this luminance are not lit (the black corners of a fisheye).
inline constexpr float lit_luminance = 1e-6f;

// The view of a picture from its header's VIEW= lines (later ones add to and
// override earlier ones), or nothing when the header has none.
std::optional<View> picture_view(const std::vector<std::string>& header_lines);

struct VerticalIlluminance {
    float lux = 0;
    // The view type whose geometry was summed over, or 'h' for π × mean
    // (a full hemispherical view or none).
    char method = 'h';
    size_t pixels = 0;  // pixels that took part
    bool pi_times_mean = true;
};

// A hemispherical view of 180° both ways, centred: the one whose pixels all
// weigh the same, so that π × mean is exact.
bool full_hemispherical(const View& view);

// π × mean of the lit pixels, or the sum over the view's geometry. Pixels
// are row 0 at the top, as the luminance map stores them.
VerticalIlluminance vertical_illuminance(const LuminanceMap& map, const std::optional<View>& view);
