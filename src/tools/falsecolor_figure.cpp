#include "tools/falsecolor_figure.h"

#include <algorithm>
#include <cmath>

#include "common/text_format.h"
#include "tools/bitmap_font.h"

namespace {

constexpr Rgb8 black{0, 0, 0};
constexpr Rgb8 white{255, 255, 255};

void fill(BgrRaster& r, int x0, int y0, int x1, int y1, const Rgb8& c) {
    for (int y = std::max(0, y0); y < std::min(r.height, y1); ++y)
        for (int x = std::max(0, x0); x < std::min(r.width, x1); ++x) r.put(x, y, c.r, c.g, c.b);
}

void frame(BgrRaster& r, int x0, int y0, int x1, int y1, const Rgb8& c) {
    fill(r, x0, y0, x1, y0 + 1, c);
    fill(r, x0, y1 - 1, x1, y1, c);
    fill(r, x0, y0, x0 + 1, y1, c);
    fill(r, x1 - 1, y0, x1, y1, c);
}

int text_height(int size) { return glyph_height * size; }

std::vector<std::string> level_labels(const FalsecolorScale& scale) {
    std::vector<std::string> labels;
    for (float v : step_values(scale)) labels.push_back(legend_number(v));
    return labels;
}

int panel_width(const FalsecolorScale& scale, int size) {
    int widest = text_width(units_text(scale.units), size);
    for (const std::string& label : level_labels(scale)) widest = std::max(widest, text_width(label, size) + 6 * size);
    return 8 * size + 16 * size + 4 * size + widest + 8 * size;
}

int legend_min_height(const FalsecolorScale& scale, int size) {
    // Room for every label at a little more than a text line apart.
    return 6 * size + text_height(size) + 8 * size + (scale.steps + 1) * (text_height(size) + 3 * size) + 8 * size;
}

struct Box {
    int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    bool overlaps(const Box& o) const { return x0 < o.x1 && o.x0 < x1 && y0 < o.y1 && o.y0 < y1; }
};

// A mark on one pixel: a black and white square around it and its value in
// a white box beside it, kept inside the picture part and off `taken` (the
// other mark's box). Returns the box.
Box mark(BgrRaster& figure, int picture_width, int picture_height, int x, int y, const std::string& text, int size,
         const Box& taken) {
    const int r = 4 * size;
    frame(figure, x - r - 1, y - r - 1, x + r + 2, y + r + 2, white);
    frame(figure, x - r, y - r, x + r + 1, y + r + 1, black);
    const int w = text_width(text, size) + 4 * size, h = text_height(size) + 4 * size;
    int bx = x + r + 3 * size;
    if (bx + w > picture_width) bx = x - r - 3 * size - w;
    bx = std::clamp(bx, 0, std::max(0, picture_width - w));
    int by = std::clamp(y - h / 2, 0, std::max(0, picture_height - h));
    if (Box{bx, by, bx + w, by + h}.overlaps(taken)) {
        // Below the other box, or above it when there is no room below.
        by = taken.y1 + size;
        if (by + h > picture_height) by = std::max(0, taken.y0 - size - h);
    }
    fill(figure, bx, by, bx + w, by + h, white);
    frame(figure, bx, by, bx + w, by + h, black);
    draw_text(figure, bx + 2 * size, by + 2 * size, text, size, black);
    return {bx, by, bx + w, by + h};
}

}  // namespace

std::string legend_number(float value) {
    if (value == 0 || !std::isfinite(value)) return format_default(value);
    const double a = std::fabs(static_cast<double>(value));
    if (a >= 1e5 || a < 1e-3) return strprintf("%.2e", static_cast<double>(value));
    const int decimals = std::max(0, 2 - static_cast<int>(std::floor(std::log10(a))));
    std::string text = strprintf("%.*f", decimals, static_cast<double>(value));
    if (text.find('.') != std::string::npos) {
        while (text.back() == '0') text.pop_back();
        if (text.back() == '.') text.pop_back();
    }
    return text;
}

int figure_text_size(int picture_height) { return std::clamp((picture_height + 100) / 300, 1, 4); }

LegendLayout legend_layout(const BgrRaster& picture, const FalsecolorScale& scale) {
    LegendLayout l;
    l.text_size = figure_text_size(picture.height);
    const int s = l.text_size;
    const int height = std::max(picture.height, legend_min_height(scale, s));
    l.panel_x = picture.width;
    l.bar_x0 = l.panel_x + 8 * s;
    l.bar_x1 = l.bar_x0 + 16 * s;
    l.bar_top = 6 * s + text_height(s) + 8 * s;
    l.bar_bottom = height - 8 * s - 1;
    return l;
}

BgrRaster falsecolor_figure(const BgrRaster& picture, const FalsecolorScale& scale, const FigureOptions& options) {
    if (!options.legend && !options.extrema) return picture;
    const int s = figure_text_size(picture.height);
    const int width = picture.width + (options.legend ? panel_width(scale, s) : 0);
    const int height = options.legend ? std::max(picture.height, legend_min_height(scale, s)) : picture.height;
    BgrRaster figure(width, height, 255);
    for (int y = 0; y < picture.height; ++y)
        std::copy_n(picture.at(0, y), 3 * static_cast<size_t>(picture.width), figure.at(0, y));

    if (options.extrema && options.marks.found) {
        const auto text = [&](const char* what, float value) {
            std::string t = what;
            t += legend_number(value);
            t += ' ';
            t += units_text(scale.units);
            return t;
        };
        const Box first = mark(figure, picture.width, picture.height, options.marks.max_x, options.marks.max_y,
                               text("max ", options.marks.maximum), s, {});
        mark(figure, picture.width, picture.height, options.marks.min_x, options.marks.min_y,
             text("min ", options.marks.minimum), s, first);
    }
    if (!options.legend) return figure;

    const LegendLayout l = legend_layout(picture, scale);
    draw_text(figure, l.bar_x0, 6 * s, units_text(scale.units), s, black);
    const int span = l.bar_bottom - l.bar_top;
    const auto& palette = palette_colours(scale.palette);
    const bool swatches = scale.display == FalsecolorDisplay::contours || scale.display == FalsecolorDisplay::bands;
    if (!swatches) {
        for (int y = l.bar_top; y <= l.bar_bottom; ++y) {
            const float t = static_cast<float>(l.bar_bottom - y) / static_cast<float>(span);
            Rgb8 c;
            if (scale.display == FalsecolorDisplay::posterised) {
                const int step = std::min(scale.steps - 1, static_cast<int>(t * static_cast<float>(scale.steps)));
                c = step_colour(scale, step);
            } else if (scale.classic()) {
                // The original rule, so that the bar matches the picture.
                const LogRange range = falsecolor_log_range(scale.bottom, scale.top);
                c = falsecolor_palette()[static_cast<size_t>(
                    falsecolor_index(range.lo + t * (range.hi - range.lo), range))];
            } else {
                c = palette[static_cast<size_t>(ScaleAxis::index(t))];
            }
            fill(figure, l.bar_x0, y, l.bar_x1, y + 1, c);
        }
        frame(figure, l.bar_x0 - 1, l.bar_top - 1, l.bar_x1 + 1, l.bar_bottom + 2, black);
    }
    const std::vector<std::string> labels = level_labels(scale);
    int last_label_y = 1 << 30;
    for (int k = 0; k <= scale.steps; ++k) {
        const int y = l.bar_bottom - static_cast<int>(std::lround(static_cast<double>(span) * k / scale.steps));
        if (swatches) {
            const int half = std::max(1, text_height(s) / 2);
            fill(figure, l.bar_x0, y - half, l.bar_x1, y + half + 1, level_colour(scale, k));
            frame(figure, l.bar_x0 - 1, y - half - 1, l.bar_x1 + 1, y + half + 2, black);
        }
        fill(figure, l.bar_x1, y, l.bar_x1 + 4 * s, y + std::max(1, s / 2), black);
        const int text_y = y - text_height(s) / 2;
        // Labels that would overlap the one below are left out.
        if (last_label_y - text_y < text_height(s) + 2 * s) continue;
        draw_text(figure, l.bar_x1 + 6 * s, text_y, labels[static_cast<size_t>(k)], s, black);
        last_label_y = text_y;
    }
    return figure;
}
