#include "tools/falsecolor_render.h"

#include <algorithm>
#include <cmath>

namespace {

void put(BgrRaster& raster, size_t i, const Rgb8& c) {
    raster.bgr[3 * i] = c.b;
    raster.bgr[3 * i + 1] = c.g;
    raster.bgr[3 * i + 2] = c.r;
}

}  // namespace

std::vector<float> scale_positions(const LuminanceMap& map, const FalsecolorScale& scale) {
    const ScaleAxis axis(scale);
    std::vector<float> positions(map.data.size());
    for (size_t i = 0; i < positions.size(); ++i) positions[i] = axis.position(map.data[i]);
    return positions;
}

std::vector<int> contour_levels(const std::vector<float>& positions, int width, int height, int steps,
                                int line_width) {
    const size_t count = static_cast<size_t>(width) * static_cast<size_t>(height);
    std::vector<int> levels(count, -1);
    if (positions.size() < count || steps < 1) return levels;
    const float n = static_cast<float>(steps);
    // The levels crossed between a and b, each marked on the nearer pixel.
    auto cross = [&](size_t a, size_t b) {
        const float ta = positions[a] * n, tb = positions[b] * n;
        const size_t low = ta <= tb ? a : b, high = ta <= tb ? b : a;
        const float tl = std::fmin(ta, tb), th = std::fmax(ta, tb);
        // Level k lies between them when tl < k <= th.
        int first = static_cast<int>(std::floor(std::fmax(tl, -1.0f))) + 1;
        const int last = static_cast<int>(std::floor(std::fmin(th, n + 1.0f)));
        if (first < 0) first = 0;
        for (int k = first; k <= last && k <= steps; ++k) {
            const float level = static_cast<float>(k);
            levels[level - tl <= th - level ? low : high] = k;
        }
    };
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const size_t i = static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x);
            if (x + 1 < width) cross(i, i + 1);
            if (y + 1 < height) cross(i, i + static_cast<size_t>(width));
        }
    }
    const int reach = line_width > 1 ? line_width / 2 : 0;
    if (reach == 0) return levels;
    std::vector<int> thick = levels;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const int k = levels[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)];
            if (k < 0) continue;
            for (int dy = -reach; dy <= reach; ++dy)
                for (int dx = -reach; dx <= reach; ++dx) {
                    const int px = x + dx, py = y + dy;
                    if (px < 0 || py < 0 || px >= width || py >= height) continue;
                    int& to = thick[static_cast<size_t>(py) * static_cast<size_t>(width) + static_cast<size_t>(px)];
                    if (to < 0) to = k;
                }
        }
    }
    return thick;
}

std::vector<int> band_levels(const std::vector<float>& positions, int steps) {
    std::vector<int> levels(positions.size(), -1);
    const float n = static_cast<float>(steps);
    for (size_t i = 0; i < positions.size(); ++i) {
        const float t = positions[i] * n;
        if (!(t > -0.25f) || !(t < n + 0.25f)) continue;
        const float k = std::round(t);
        if (std::fabs(t - k) <= 0.25f) levels[i] = static_cast<int>(k);
    }
    return levels;
}

BgrRaster tone_mapped_grey(const LuminanceMap& map) {
    BgrRaster grey(map.width, map.height);
    std::vector<float> logs;
    logs.reserve(map.data.size());
    for (float v : map.data)
        if (v > 0 && std::isfinite(v)) logs.push_back(std::log10(v));
    if (logs.empty()) return grey;
    std::sort(logs.begin(), logs.end());
    const float last = static_cast<float>(std::max<size_t>(logs.size() - 1, 1));
    for (size_t i = 0; i < map.data.size(); ++i) {
        const float v = map.data[i];
        float t = 0;
        if (v > 0 && std::isfinite(v)) {
            const auto rank = std::lower_bound(logs.begin(), logs.end(), std::log10(v)) - logs.begin();
            t = static_cast<float>(rank) / last;
        }
        // Never quite black or white, so that every line colour shows.
        const auto level = static_cast<uint8_t>(24.0f + 200.0f * t + 0.5f);
        grey.bgr[3 * i] = grey.bgr[3 * i + 1] = grey.bgr[3 * i + 2] = level;
    }
    return grey;
}

int contour_line_width(int width, int height) { return 1 + 2 * (std::min(width, height) / 800); }

Rgb8 level_colour(const FalsecolorScale& scale, int level) {
    return palette_colours(scale.palette)[static_cast<size_t>(
        ScaleAxis::index(static_cast<float>(level) / static_cast<float>(scale.steps)))];
}

Rgb8 step_colour(const FalsecolorScale& scale, int step) {
    return palette_colours(scale.palette)[static_cast<size_t>(
        ScaleAxis::index((static_cast<float>(step) + 0.5f) / static_cast<float>(scale.steps)))];
}

BgrRaster render_on_scale(const LuminanceMap& map, const FalsecolorScale& scale, const BgrRaster& base,
                          int line_width) {
    BgrRaster out;
    out.width = map.width;
    out.height = map.height;
    if (scale.classic()) {
        out.bgr = render_falsecolor(log_luminance(map), map.width, map.height,
                                    falsecolor_log_range(scale.bottom, scale.top));
        return out;
    }
    const size_t count = static_cast<size_t>(map.width) * static_cast<size_t>(map.height);
    const std::vector<float> positions = scale_positions(map, scale);
    const auto& palette = palette_colours(scale.palette);
    switch (scale.display) {
    case FalsecolorDisplay::smooth:
        out.bgr.resize(count * 3);
        for (size_t i = 0; i < count; ++i) put(out, i, palette[static_cast<size_t>(ScaleAxis::index(positions[i]))]);
        return out;
    case FalsecolorDisplay::posterised:
        out.bgr.resize(count * 3);
        for (size_t i = 0; i < count; ++i) {
            const float t = positions[i] * static_cast<float>(scale.steps);
            int step = t > 0 ? static_cast<int>(std::fmin(t, static_cast<float>(scale.steps - 1))) : 0;
            put(out, i, step_colour(scale, step));
        }
        return out;
    case FalsecolorDisplay::contours:
    case FalsecolorDisplay::bands: break;
    }
    out.bgr = base.width == map.width && base.height == map.height && base.bgr.size() == count * 3
                  ? base.bgr
                  : std::vector<uint8_t>(count * 3, 0);
    const std::vector<int> levels = scale.display == FalsecolorDisplay::contours
                                        ? contour_levels(positions, map.width, map.height, scale.steps, line_width)
                                        : band_levels(positions, scale.steps);
    for (size_t i = 0; i < count; ++i)
        if (levels[i] >= 0) put(out, i, level_colour(scale, levels[i]));
    return out;
}

std::vector<uint8_t> falsecolor_legend(const FalsecolorScale& choice) {
    if (choice.palette == FalsecolorPalette::classic && choice.display != FalsecolorDisplay::posterised)
        return falsecolor_legend();
    const auto& palette = palette_colours(choice.palette);
    return legend_bitmap([&](int index) {
        if (choice.display != FalsecolorDisplay::posterised) return palette[static_cast<size_t>(index)];
        return step_colour(choice, std::min(choice.steps - 1, index * choice.steps / legend_height));
    });
}

PictureExtrema find_extrema(const LuminanceMap& map) {
    // Black pixels (the corners outside a fisheye's image circle, masked-out
    // parts) read as a vanishing value, not as scene; the darkest mark goes
    // to the darkest lit pixel, and to black only when nothing is lit.
    constexpr float unlit = 1e-30f;
    PictureExtrema e;
    bool lit = false;
    for (int y = 0; y < map.height; ++y) {
        for (int x = 0; x < map.width; ++x) {
            const float v = map.at(x, y);
            if (std::isnan(v)) continue;
            const bool is_lit = v > unlit;
            if (!e.found || (is_lit && (!lit || v < e.minimum)) || (!lit && v < e.minimum)) {
                e.minimum = v, e.min_x = x, e.min_y = y;
                lit = lit || is_lit;
            }
            if (!e.found || v > e.maximum) e.maximum = v, e.max_x = x, e.max_y = y;
            e.found = true;
        }
    }
    return e;
}
