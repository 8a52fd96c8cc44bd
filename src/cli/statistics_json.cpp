#include "cli/statistics_json.h"

#include <charconv>
#include <cmath>

#include "analysis/histogram_run.h"
#include "common/json_value.h"
#include "common/text_format.h"

std::string json_string(const std::string& text) { return json_quoted(text); }

std::string json_number(float value) {
    if (!std::isfinite(value)) return "null";
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

namespace {

std::string lens_keys(const LensFigures& f) {
    auto viewed = [&](const std::string& number) { return f.has_view ? number : std::string("null"); };
    std::string json = ",\"count_in_view\":" + viewed(strprintf("%lld", static_cast<long long>(f.count_in_view)));
    json += ",\"solid_angle_sr\":" + viewed(json_number(f.solid_angle));
    json += ",\"weighted_mean\":" + viewed(json_number(f.weighted_mean));
    json += ",\"vertical_illuminance_lx\":" + viewed(json_number(f.vertical_illuminance));
    json += ",\"illuminance_share\":" + viewed(json_number(f.illuminance_share));
    return json + ",\"ceiling_pixels\":" + strprintf("%lld", static_cast<long long>(f.ceiling_pixels));
}

std::string picture_key(const PictureLens& lens) {
    return ",\"picture_vertical_illuminance_lx\":" +
           (lens.has_view() ? json_number(lens.vertical_illuminance) : std::string("null"));
}

}  // namespace

std::string statistics_json(const RegionAnalysis& analysis, const PictureLens* lens) {
    const RegionStatistics& s = analysis.statistics;
    std::string lo = "null", hi = "null";
    if (analysis.count() > 0) {
        const HistogramRange range = histogram_range(s.minimum, s.maximum);
        lo = json_string(range.lo);
        hi = json_string(range.hi);
    }
    std::string json = "{\"count\":" + strprintf("%d", analysis.count());
    json += ",\"minimum\":" + json_number(s.minimum);
    json += ",\"maximum\":" + json_number(s.maximum);
    json += ",\"mean\":" + json_number(s.mean);
    json += ",\"median\":" + json_number(s.median);
    json += ",\"standard_deviation\":" + json_number(s.standard_deviation);
    json += ",\"criterion_percentage\":" + json_number(s.criterion_percentage);
    json += ",\"percentile_ratio\":" + json_number(s.percentile_ratio);
    json += ",\"histogram_lo\":" + lo + ",\"histogram_hi\":" + hi + ",\"histogram\":[";
    for (size_t i = 0; i < analysis.histogram.size(); ++i) {
        if (i > 0) json += ',';
        json += json_number(analysis.histogram[i].count);
    }
    json += "]";
    if (lens) json += lens_keys(analysis.lens) + picture_key(*lens);
    return json + "}";
}

namespace {

// A region's object with its lens keys, but not the picture's.
std::string region_json(const RegionAnalysis& r, const std::string& first_keys = "") {
    std::string json = statistics_json(r);
    json.pop_back();
    return "{" + first_keys + json.substr(1) + lens_keys(r.lens) + "}";
}

}  // namespace

std::string region_table_json(const RegionTable& table) {
    std::string json = "{\"regions\":[";
    for (size_t i = 0; i < table.rows.size(); ++i) {
        if (i > 0) json += ',';
        json += region_json(table.rows[i].analysis, "\"name\":" + json_string(table.rows[i].name) + ",");
    }
    return json + "]" + picture_key(table.lens) + "}";
}

std::string two_region_json(const RegionAnalysis& a, const RegionAnalysis& b, float contrast,
                            const PictureLens& lens) {
    auto region = [](const RegionAnalysis& r) { return region_json(r); };
    return "{\"a\":" + region(a) + ",\"b\":" + region(b) + ",\"contrast\":" + json_number(contrast) +
           picture_key(lens) + "}";
}
