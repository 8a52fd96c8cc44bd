#pragma once
// The working copy as a mask file lets it be seen, for the statistics of a
// region given as a mask: the mask is applied to a scratch copy in the cache
// folder (so the picture itself keeps what lies outside the mask), read back
// as a luminance map, and the scratch copy removed.

#include <optional>
#include <string>

#include "analysis/compute_statistics.h"

// The masked map, or nothing after the failure was shown. `scratch` is the
// scratch copy's name in the cache folder ("/...").
std::optional<LuminanceMap> masked_working_copy(const StatisticsContext& context, const std::string& mask_file,
                                                int mask_type, const char* scratch);
