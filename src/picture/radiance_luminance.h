#pragma once
// A picture's luminance weighed the way Radiance's programs and evalglare
// weigh colour (Radiance 5's primaries), for figures a user compares with
// theirs. The application's own readout and statistics keep the BT.709
// weights of load_luminance_map; on a grey picture the two agree, on
// strongly coloured daylight they differ by a few per cent.

#include <optional>
#include <string>

#include "common/result.h"
#include "picture/luminance_map.h"

enum class LuminanceWeights { bt709, radiance };

// "bt709" or "radiance"; nothing for any other word.
std::optional<LuminanceWeights> luminance_weights_named(const std::string& name);

// Reads `path` into luminance (cd/m², divided by the exposure product, row 0
// the first scanline) with Radiance's weights: 179 · (r R + g G + b B), a
// pixel with a zero exponent black.
Result<LuminanceMap> load_radiance_luminance_map(const std::string& path);
