#pragma once
// The figures that need the lens: per region its pixels in view, solid angle,
// solid-angle-weighted mean luminance and share of the illuminance at the
// lens; for the whole picture that illuminance; and the pixels at the
// picture's ceiling (luminous overflow), whose light the picture lost.
//
// A region is its samples (the pixels above the sample threshold); the ones
// outside the view (beyond a fisheye's image circle) are not scene and count
// for none of these figures.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "analysis/analysis_settings.h"
#include "analysis/lens_geometry.h"
#include "analysis/region_scan.h"
#include "analysis/region_statistics.h"
#include "picture/luminance_map.h"

// A pixel is at the ceiling when it is within this fraction of the largest
// value and lies in a patch of at least ceiling_patch such pixels touching
// each other (sides or corners): one hot pixel is no clipped sun.
inline constexpr double ceiling_tolerance = 0.01;
inline constexpr int64_t ceiling_patch = 4;

// "SATURATED= <count> <share>%", the line the exposure assembly writes with
// the count of pixels clipped in every exposure.
struct SaturatedLine {
    int64_t count = 0;
    double share_percent = 0;
};
std::optional<SaturatedLine> saturated_line(const std::vector<std::string>& header_lines);

struct PictureLens {
    std::optional<LensGeometry> geometry;  // nothing: the picture has no usable view
    int64_t pixels_in_view = 0;            // all pixels without a view
    double vertical_illuminance = 0;       // lx; 0 without a view
    std::vector<uint8_t> ceiling;          // 1 for a pixel at the ceiling, map order
    int64_t ceiling_pixels = 0;
    double ceiling_share_percent = 0;      // of the pixels in view

    bool has_view() const { return geometry.has_value(); }
};

// The lens figures of the whole picture from its luminance and header (its
// VIEW= and SATURATED= lines).
PictureLens picture_lens(const LuminanceMap& map, const std::vector<std::string>& header_lines);

// Marks the pixels at the ceiling of `map` among those `in_view` (all when
// empty) by the patch rule; returns their count. A picture that is all
// ceiling (a flat one) has none.
int64_t mark_ceiling(const LuminanceMap& map, const std::vector<float>* solid_angle, std::vector<uint8_t>& ceiling);

struct LensFigures {
    bool has_view = false;
    int64_t count_in_view = 0;
    double solid_angle = 0;            // sr
    double weighted_mean = 0;          // cd/m²
    double vertical_illuminance = 0;   // lx, this region's part
    double illuminance_share = 0;      // of the whole picture's, 0 to 1
    int64_t ceiling_pixels = 0;        // counted also without a view
};

// The figures of the samples `values` taken at `positions`.
LensFigures lens_figures(const PictureLens& lens, std::span<const float> values,
                         std::span<const SamplePosition> positions, int32_t map_width);

// "Weight by solid angle": mean, standard deviation, median and percentile
// ratio of `statistics` taken again over the samples in view, each weighing
// its pixel's solid angle. Without a view nothing changes.
void weight_by_solid_angle(const PictureLens& lens, const AnalysisSettings& settings, int32_t map_width,
                           RegionStatistics& statistics);

// The luminous-overflow sentence, or "" when no pixel is at the ceiling.
std::string overflow_sentence(int64_t ceiling_pixels, double share_percent);
inline std::string overflow_sentence(const PictureLens& lens) {
    return overflow_sentence(lens.ceiling_pixels, lens.ceiling_share_percent);
}
