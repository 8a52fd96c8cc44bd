// The plot layout as SVG text and as a PNG picture.

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "common/regular_file.h"
#include "common/text_format.h"
#include "picture/bgr_raster.h"
#include "picture/png_writer.h"
#include "series/series_plot.h"
#include "tools/bitmap_font.h"

namespace {

std::string svg_escaped(const std::string& text) {
    std::string escaped;
    for (char c : text) {
        switch (c) {
        case '&': escaped += "&amp;"; break;
        case '<': escaped += "&lt;"; break;
        case '>': escaped += "&gt;"; break;
        case '"': escaped += "&quot;"; break;
        default: escaped += c;
        }
    }
    return escaped;
}

std::string colour_text(PlotColour c) { return strprintf("#%02x%02x%02x", c.r, c.g, c.b); }

std::string coordinate(double v) { return strprintf("%.1f", v); }

void draw_line(BgrRaster& raster, double x0, double y0, double x1, double y1, PlotColour c) {
    int ax = static_cast<int>(std::lround(x0)), ay = static_cast<int>(std::lround(y0));
    const int bx = static_cast<int>(std::lround(x1)), by = static_cast<int>(std::lround(y1));
    const int dx = std::abs(bx - ax), dy = -std::abs(by - ay);
    const int sx = ax < bx ? 1 : -1, sy = ay < by ? 1 : -1;
    int error = dx + dy;
    for (;;) {
        raster.put(ax, ay, c.r, c.g, c.b);
        if (ax == bx && ay == by) return;
        const int twice = 2 * error;
        if (twice >= dy) error += dy, ax += sx;
        if (twice <= dx) error += dx, ay += sy;
    }
}

// The built-in font has small letters only.
std::string small_letters(std::string text) {
    for (char& c : text) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    return text;
}

}  // namespace

std::string plot_svg(const PlotLayout& layout) {
    std::string svg = strprintf("<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"%d\" height=\"%d\" viewBox=\"0 0 %d "
                                "%d\">\n",
                                layout.width, layout.height, layout.width, layout.height);
    svg += strprintf("<rect x=\"0\" y=\"0\" width=\"%d\" height=\"%d\" fill=\"#ffffff\"/>\n", layout.width,
                     layout.height);
    for (const PlotLine& line : layout.lines)
        svg += "<line x1=\"" + coordinate(line.x0) + "\" y1=\"" + coordinate(line.y0) + "\" x2=\"" +
               coordinate(line.x1) + "\" y2=\"" + coordinate(line.y1) + "\" stroke=\"" + colour_text(line.colour) +
               "\" stroke-width=\"1\"/>\n";
    for (const PlotCurve& curve : layout.curves) {
        const std::string colour = colour_text(curve.colour);
        for (const auto& run : curve.runs) {
            std::string points;
            for (const PlotCurve::Point& p : run) points += (points.empty() ? "" : " ") + coordinate(p.x) + "," + coordinate(p.y);
            svg += "<polyline fill=\"none\" stroke=\"" + colour + "\" stroke-width=\"1.5\" points=\"" + points + "\"/>\n";
            for (const PlotCurve::Point& p : run)
                svg += "<circle cx=\"" + coordinate(p.x) + "\" cy=\"" + coordinate(p.y) + "\" r=\"2.5\" fill=\"" +
                       colour + "\"/>\n";
        }
    }
    for (const PlotText& text : layout.texts) {
        const char* anchor = text.anchor == TextAnchor::start ? "start" : text.anchor == TextAnchor::middle ? "middle" : "end";
        svg += "<text x=\"" + coordinate(text.x) + "\" y=\"" + coordinate(text.y) + "\" text-anchor=\"" + anchor +
               "\" font-family=\"sans-serif\" font-size=\"" + coordinate(layout.font_size) + "\" fill=\"" +
               colour_text(text.colour) + "\">" + svg_escaped(text.text) + "</text>\n";
    }
    return svg + "</svg>\n";
}

bool write_plot_png(const PlotLayout& layout, const std::string& path) {
    BgrRaster raster(layout.width, layout.height, 255);
    for (const PlotLine& line : layout.lines) draw_line(raster, line.x0, line.y0, line.x1, line.y1, line.colour);
    for (const PlotCurve& curve : layout.curves)
        for (const auto& run : curve.runs) {
            for (size_t i = 0; i + 1 < run.size(); ++i) {
                draw_line(raster, run[i].x, run[i].y, run[i + 1].x, run[i + 1].y, curve.colour);
                draw_line(raster, run[i].x, run[i].y + 1, run[i + 1].x, run[i + 1].y + 1, curve.colour);
            }
            for (const PlotCurve::Point& p : run)
                for (int dy = -2; dy <= 2; ++dy)
                    for (int dx = -2; dx <= 2; ++dx)
                        if (dx * dx + dy * dy <= 5)
                            raster.put(static_cast<int>(std::lround(p.x)) + dx, static_cast<int>(std::lround(p.y)) + dy,
                                       curve.colour.r, curve.colour.g, curve.colour.b);
        }
    const int size = layout.font_size >= 14 ? 2 : 1;
    for (const PlotText& text : layout.texts) {
        const std::string shown = small_letters(text.text);
        const int w = text_width(shown, size);
        int x = static_cast<int>(std::lround(text.x));
        if (text.anchor == TextAnchor::middle) x -= w / 2;
        if (text.anchor == TextAnchor::end) x -= w;
        const int top = static_cast<int>(std::lround(text.y)) - glyph_height * size;
        draw_text(raster, x, top, shown, size, Rgb8{text.colour.r, text.colour.g, text.colour.b});
    }
    return write_png24(path, raster.width, raster.height, raster.bgr);
}

Result<bool> write_plot(const PlotLayout& layout, const std::string& path) {
    std::string extension = path.size() >= 4 ? path.substr(path.size() - 4) : "";
    for (char& c : extension) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    if (extension == ".png") {
        if (!write_plot_png(layout, path)) return Failure{-1, "cannot write " + path};
        return true;
    }
    if (extension != ".svg") return Failure{-2, path + ": a plot is written as .svg or .png"};
    const std::string svg = plot_svg(layout);
    std::FILE* file = create_regular_file(path);
    bool ok = file && std::fwrite(svg.data(), 1, svg.size(), file) == svg.size();
    if (file) ok = std::fclose(file) == 0 && ok;
    if (!ok) return Failure{-1, "cannot write " + path};
    return true;
}
