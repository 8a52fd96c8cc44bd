#include "tools/falsecolor_scale.h"

#include <cmath>

#include "common/numeric_edit.h"
#include "common/text_file.h"
#include "common/text_format.h"

namespace {

// Far below any real position, yet a number that comparisons handle.
constexpr float below_everything = -1e30f;

constexpr const char* file_title = "candelux falsecolor scale 1";

struct Name {
    int value;
    const char* text;
};
constexpr Name palette_names[] = {{static_cast<int>(FalsecolorPalette::classic), "classic"},
                                  {static_cast<int>(FalsecolorPalette::viridis), "viridis"},
                                  {static_cast<int>(FalsecolorPalette::spectral), "spectral"}};
constexpr Name display_names[] = {{static_cast<int>(FalsecolorDisplay::smooth), "smooth"},
                                  {static_cast<int>(FalsecolorDisplay::contours), "contours"},
                                  {static_cast<int>(FalsecolorDisplay::bands), "bands"},
                                  {static_cast<int>(FalsecolorDisplay::posterised), "posterised"}};
constexpr Name units_names[] = {{static_cast<int>(FalsecolorUnits::candela), "cd/m2"},
                                {static_cast<int>(FalsecolorUnits::lux), "lx"}};
constexpr Name axis_names[] = {{1, "log"}, {0, "linear"}};

template <size_t N>
const char* name_of(const Name (&names)[N], int value) {
    for (const Name& n : names)
        if (n.value == value) return n.text;
    return names[0].text;
}

template <size_t N>
std::optional<int> value_of(const Name (&names)[N], const std::string& text) {
    for (const Name& n : names)
        if (text == n.text) return n.value;
    return std::nullopt;
}

std::string trimmed(const std::string& text) {
    const size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos) return {};
    const size_t last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

}  // namespace

std::string units_text(FalsecolorUnits units) { return units == FalsecolorUnits::lux ? "lx" : "cd/m\u00b2"; }

ScaleAxis::ScaleAxis(const FalsecolorScale& scale)
    : logarithmic_(scale.logarithmic), floored_(scale.classic()), lo_(scale.bottom), hi_(scale.top) {
    if (floored_) {
        const LogRange range = falsecolor_log_range(scale.bottom, scale.top);
        lo_ = range.lo;
        hi_ = range.hi;
        if (range.degenerate()) lo_ = hi_ = 0;
    } else if (logarithmic_) {
        lo_ = scale.bottom > 0 ? std::log10(scale.bottom) : 0;
        hi_ = scale.top > 0 ? std::log10(scale.top) : 0;
    }
    if (!std::isfinite(lo_) || !std::isfinite(hi_)) lo_ = hi_ = 0;
}

float ScaleAxis::position(float value) const {
    if (degenerate() || std::isnan(value)) return below_everything;
    float v = value;
    if (floored_) {
        v = std::log10(value);
        v = v > falsecolor_log_floor ? v : falsecolor_log_floor;
    } else if (logarithmic_) {
        if (!(value > 0)) return below_everything;
        v = std::log10(value);
    }
    const float t = (v - lo_) / (hi_ - lo_);
    return std::isfinite(t) ? t : (t > 0 ? 1e30f : below_everything);
}

float ScaleAxis::value(float position) const {
    const float v = lo_ + position * (hi_ - lo_);
    return logarithmic_ ? std::pow(10.0f, v) : v;
}

int ScaleAxis::index(float position) {
    if (!(position > 0)) return 0;
    if (position >= 1) return 255;
    const int i = static_cast<int>(position * 256.0f);
    return i > 255 ? 255 : i;
}

std::vector<float> step_values(const FalsecolorScale& scale) {
    const ScaleAxis axis(scale);
    std::vector<float> values;
    for (int k = 0; k <= scale.steps; ++k)
        values.push_back(axis.value(static_cast<float>(k) / static_cast<float>(scale.steps)));
    // The ends exactly as given, not as the logarithm gives them back.
    if (!scale.classic() && !values.empty() && scale_problem(scale).empty()) {
        values.front() = scale.bottom;
        values.back() = scale.top;
    }
    return values;
}

std::string scale_problem(const FalsecolorScale& scale) {
    if (!std::isfinite(scale.bottom) || !std::isfinite(scale.top)) return "the range must be two numbers";
    if (!(scale.top > scale.bottom)) return "the top of the range must lie above its bottom";
    if (scale.logarithmic && !(scale.bottom > 0)) return "a logarithmic scale must start above 0";
    if (scale.steps < falsecolor_min_steps || scale.steps > falsecolor_max_steps)
        return "the steps must be a whole number from 1 to 64";
    return {};
}

std::vector<std::string> scale_file_lines(const FalsecolorScale& scale) {
    return {
        file_title,
        "bottom " + format_default(scale.bottom),
        "top " + format_default(scale.top),
        std::string("axis ") + name_of(axis_names, scale.logarithmic ? 1 : 0),
        "steps " + std::to_string(scale.steps),
        std::string("palette ") + name_of(palette_names, static_cast<int>(scale.palette)),
        std::string("units ") + name_of(units_names, static_cast<int>(scale.units)),
        std::string("display ") + name_of(display_names, static_cast<int>(scale.display)),
    };
}

Result<FalsecolorScale> parse_scale_lines(const std::vector<std::string>& lines) {
    auto bad = [](size_t line, const std::string& why) {
        return Failure{-1, "line " + std::to_string(line + 1) + ": " + why};
    };
    if (lines.empty() || trimmed(lines[0]) != file_title)
        return Failure{-1, std::string("not a falsecolor scale file (its first line is not \"") + file_title + "\")"};
    FalsecolorScale scale;
    bool have_bottom = false, have_top = false;
    for (size_t i = 1; i < lines.size(); ++i) {
        std::string line = lines[i];
        if (const size_t hash = line.find('#'); hash != std::string::npos) line.resize(hash);
        line = trimmed(line);
        if (line.empty()) continue;
        const size_t blank = line.find_first_of(" \t");
        const std::string key = line.substr(0, blank);
        const std::string value = blank == std::string::npos ? "" : trimmed(line.substr(blank));
        if (key == "bottom" || key == "top") {
            const auto number = parse_numeric_field(value);
            if (!number || value.empty()) return bad(i, key + " needs a number, not \"" + value + "\"");
            (key == "bottom" ? scale.bottom : scale.top) = *number;
            (key == "bottom" ? have_bottom : have_top) = true;
        } else if (key == "steps") {
            const auto number = parse_numeric_field(value);
            if (!number || *number != std::floor(*number) || *number < falsecolor_min_steps ||
                *number > falsecolor_max_steps)
                return bad(i, "steps needs a whole number from 1 to 64, not \"" + value + "\"");
            scale.steps = static_cast<int>(*number);
        } else if (key == "axis") {
            const auto v = value_of(axis_names, value);
            if (!v) return bad(i, "axis is log or linear, not \"" + value + "\"");
            scale.logarithmic = *v == 1;
        } else if (key == "palette") {
            const auto v = value_of(palette_names, value);
            if (!v) return bad(i, "palette is classic, viridis or spectral, not \"" + value + "\"");
            scale.palette = static_cast<FalsecolorPalette>(*v);
        } else if (key == "units") {
            const auto v = value_of(units_names, value);
            if (!v) return bad(i, "units are cd/m2 or lx, not \"" + value + "\"");
            scale.units = static_cast<FalsecolorUnits>(*v);
        } else if (key == "display") {
            const auto v = value_of(display_names, value);
            if (!v) return bad(i, "display is smooth, contours, bands or posterised, not \"" + value + "\"");
            scale.display = static_cast<FalsecolorDisplay>(*v);
        } else {
            return bad(i, "unknown key \"" + key + "\"");
        }
    }
    if (!have_bottom || !have_top) return Failure{-1, "the file must give both bottom and top"};
    if (const std::string problem = scale_problem(scale); !problem.empty()) return Failure{-1, problem};
    return scale;
}

Result<FalsecolorScale> read_scale_file(const std::string& path) {
    const auto lines = read_text_lines(path);
    if (!lines) return Failure{-1, "cannot read " + path};
    auto scale = parse_scale_lines(*lines);
    if (!scale) return Failure{-1, path + ": " + scale.failure().message};
    return scale;
}

bool write_scale_file(const std::string& path, const FalsecolorScale& scale) {
    return write_text_lines(path, scale_file_lines(scale));
}
