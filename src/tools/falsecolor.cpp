#include "tools/falsecolor.h"

#include <cmath>

#include "picture/bmp_writer.h"

std::vector<float> log_luminance(const LuminanceMap& map) {
    std::vector<float> values(map.data.size());
    for (size_t i = 0; i < values.size(); ++i) {
        const float v = std::log10(map.data[i]);
        // NaN (a negative value) and everything at or below the floor alike.
        values[i] = v > falsecolor_log_floor ? v : falsecolor_log_floor;
    }
    return values;
}

bool LogRange::degenerate() const { return !std::isfinite(lo) || !std::isfinite(hi) || !(hi - lo > 0); }

LogRange falsecolor_log_range(float bottom, float top) {
    auto end = [](float value) {
        const float v = std::log10(value);
        if (std::isnan(value)) return value;  // not a number: no range at all
        return v > falsecolor_log_floor ? v : falsecolor_log_floor;
    };
    return {end(bottom), end(top)};
}

int falsecolor_index(float v, const LogRange& range) {
    if (range.degenerate()) return 0;
    const float span = range.hi - range.lo;
    if (span >= falsecolor_direct_span) {
        if (v <= range.lo) return 0;
        if (v >= range.hi) return 255;
    }
    // Limited in floating point before the conversion, which is undefined for
    // values an int cannot hold.
    float x = (v - range.lo) * 256.0f / span + 0.01f;
    if (!(x > 0.0f)) return 0;
    if (x > 255.0f) x = 255.0f;
    return static_cast<int>(x);
}

std::vector<uint8_t> render_falsecolor(const std::vector<float>& log_values, int width, int height,
                                       const LogRange& range) {
    const auto& palette = falsecolor_palette();
    const size_t count = static_cast<size_t>(width) * static_cast<size_t>(height);
    std::vector<uint8_t> bgr(count * 3);
    for (size_t i = 0; i < count && i < log_values.size(); ++i) {
        const Rgb8 c = palette[static_cast<size_t>(falsecolor_index(log_values[i], range))];
        bgr[3 * i] = c.b;
        bgr[3 * i + 1] = c.g;
        bgr[3 * i + 2] = c.r;
    }
    return bgr;
}

bool write_falsecolor_bmp(const std::string& path, const std::vector<float>& log_values, int width, int height,
                          const LogRange& range) {
    return write_bmp24(path, width, height, render_falsecolor(log_values, width, height, range));
}

std::array<float, 6> falsecolor_labels(float minimum, float maximum) {
    const LogRange range = falsecolor_log_range(minimum, maximum);
    const float step = (range.hi - range.lo) / 256.0f;
    std::array<float, 6> labels{};
    const float steps[6] = {50.01f, 85.01f, 115.01f, 150.01f, 185.01f, 220.01f};
    for (size_t i = 0; i < labels.size(); ++i) labels[i] = std::pow(10.0f, range.lo + steps[i] * step);
    return labels;
}

std::vector<uint8_t> falsecolor_legend() {
    return legend_bitmap([](int index) { return falsecolor_palette()[static_cast<size_t>(index)]; });
}

std::vector<uint8_t> legend_bitmap(const std::function<Rgb8(int index)>& colour_of) {
    std::vector<uint8_t> bgr(static_cast<size_t>(legend_width) * legend_height * 3);
    for (int row = 0; row < legend_height; ++row) {
        const Rgb8 c = colour_of(legend_height - 1 - row);
        for (int x = 0; x < legend_width; ++x) {
            const size_t at = (static_cast<size_t>(row) * legend_width + static_cast<size_t>(x)) * 3;
            bgr[at] = c.b;
            bgr[at + 1] = c.g;
            bgr[at + 2] = c.r;
        }
    }
    return bgr;
}
