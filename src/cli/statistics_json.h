#pragma once
// The figures of an analysis as one JSON object, for scripts.
//
// Keys: count, minimum, maximum, mean, median, standard_deviation,
// criterion_percentage, percentile_ratio, histogram_lo and histogram_hi (the
// range texts handed to histo, as strings) and histogram (the 256 counts).
// Two regions give {"a": {...}, "b": {...}, "contrast": c}. Numbers are in
// their shortest form that reads back to the same float; a figure that is
// not finite (the percentile ratio over a lower sum of 0) is null, and so is
// the histogram range of a region without samples.
//
// Through the lens, per region: count_in_view, solid_angle_sr,
// weighted_mean, vertical_illuminance_lx, illuminance_share (null without a
// usable view) and ceiling_pixels; at the top, picture_vertical_illuminance_lx.

#include <string>

#include "analysis/compute_statistics.h"
#include "common/json_value.h"  // json_number(double), json_quoted
#include "regions/region_table.h"

std::string json_number(float value);
// A JSON string: quotes, backslashes and control characters escaped.
std::string json_string(const std::string& text);
// With the picture's lens: the lens keys of the region (null where the
// picture has no usable view) and picture_vertical_illuminance_lx.
std::string statistics_json(const RegionAnalysis& analysis, const PictureLens* lens = nullptr);
std::string two_region_json(const RegionAnalysis& a, const RegionAnalysis& b, float contrast,
                            const PictureLens& lens);
// Every region of a table: {"regions": [{"name": ..., and the keys of a
// single region but picture_vertical_illuminance_lx}, ...],
// "picture_vertical_illuminance_lx": ...}.
std::string region_table_json(const RegionTable& table);
