#include "lib/picture_conditioning.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <numbers>
#include <optional>
#include <vector>

#include "common/text_format.h"
#include "lib/acuity_filter.h"
#include "lib/conditioning_scene.h"
#include "lib/file_handle.h"
#include "lib/human_vision.h"
#include "lib/picture_output.h"
#include "lib/rgbe_color.h"
#include "lib/veiling_glare.h"

namespace {

constexpr double veil_worth_range = 4.5;  // world brightness range (ln) below which glare is invisible
constexpr double acuity_share = 0.05;     // the darkest part of the scene that decides acuity and colour

const PictureMessages& messages() {
    static const PictureMessages m = {"{file}: {error}", "{file}: not a Radiance picture",
                                      "{file}: not a Radiance picture", "{file}: not a Radiance picture",
                                      "{file}: error reading picture"};
    return m;
}

// How world values become display values.
struct Mapping {
    bool linear = true;
    double factor = 1;  // linear: output = stored * factor
    ToneCurve curve;
};

// A scene fits the display when its world brightness range, as first
// sampled (before any veil narrows it), is no wider than the display's.
bool fits_display(const BrightnessHistogram& h, const DisplayRange& display) {
    return h.bmax - h.bmin <= std::log(display.ld_max / display.ld_min);
}

// `fits`: what fits_display() said of the scene before the veil; `h` is the
// histogram the tone curve is built from (with the veil, if any).
Mapping choose_mapping(const ConditionOptions& o, bool fits, const BrightnessHistogram& h, const Scene& s) {
    Mapping m;
    m.linear = o.linear || o.scale || fits;
    if (!m.linear) {
        m.curve = ToneCurve::from_histogram(h, o.display, o.sensitivity);
        m.linear = !m.curve.adjusted();
    }
    if (o.scale) {
        m.factor = *o.scale;
    } else {
        // The scene's log average goes to the middle of the display range
        // (or, with sensitivity, to where it keeps its visible contrasts).
        const double middle = std::sqrt(o.display.ld_min * o.display.ld_max);
        const double average = std::exp(h.mean_log);
        const double ratio =
            o.sensitivity ? threshold_contrast(middle) / threshold_contrast(average) : middle / average;
        m.factor = ratio * physics::luminous_efficacy / (s.picture.exposure * o.display.ld_max);
    }
    return m;
}

// Into [0, 1] by moving towards grey. The grey is the brightness the colour
// keeps once each channel is cut to the display's range, so a saturated
// highlight stays a highlight of its own hue rather than fading to white.
Colour clip_to_display(Colour c) {
    const float y = radiance_brightness(std::clamp(c.r, 0.0f, 1.0f), std::clamp(c.g, 0.0f, 1.0f),
                                        std::clamp(c.b, 0.0f, 1.0f));
    if (!(y > 0.0f)) return {0, 0, 0};
    float keep = 1.0f;
    for (float v : {c.r, c.g, c.b}) {
        if (v > 1.0f) keep = std::min(keep, (1.0f - y) / (v - y));
        if (v < 0.0f) keep = std::min(keep, y / (y - v));
    }
    return {y + keep * (c.r - y), y + keep * (c.g - y), y + keep * (c.b - y)};
}

bool has_primaries(const PictureHeader& header) {
    for (const auto& line : header.lines)
        if (starts_with(line, "PRIMARIES=")) return true;
    return false;
}

std::vector<std::string> output_header(const PictureHeader& header, const ConditionOptions& o,
                                       std::optional<double> exposure) {
    std::vector<std::string> lines;
    for (const auto& line : header.lines)
        if (!is_format_line(line) && !starts_with(line, "PRIMARIES=") && !contains(line, "EXPOSURE="))
            lines.push_back(line);
    lines.push_back(o.command);
    if (exposure) lines.push_back(exposure_line(*exposure));
    lines.push_back(std::string("FORMAT=") + std::string(rgbe_format_name));
    return lines;
}

struct Effects {
    bool acuity, veil, colour;
};

ProgramStatus write_picture(const ConditionOptions& o, const Scene& s, const Mapping* mapping, Effects effects,
                            const std::optional<AcuityFilter>& acuity) {
    PictureOutput out;
    if (o.output.empty())
        out.open_standard_output();
    else if (!out.open(o.output))
        return program_failure("cannot open output file " + o.output);
    const auto& p = s.picture;
    std::optional<double> exposure;
    if (mapping && mapping->linear) exposure = p.exposure * mapping->factor;
    out.write_header(output_header(p.header, o, exposure), p.resolution);

    const bool clip = has_primaries(p.header);
    const size_t n = static_cast<size_t>(p.width);
    std::vector<float> red(n), green(n), blue(n);
    std::vector<uint8_t> planes(4 * n);
    const double ld_span = o.display.ld_max - o.display.ld_min;
    for (int row = 0; row < p.height; ++row) {
        for (int column = 0; column < p.width; ++column) {
            Colour c;
            const size_t i = p.index(column, row);
            if (mapping) {
                c = effects.acuity ? acuity->sample(column, row) : Colour{p.red[i], p.green[i], p.blue[i]};
                if (effects.veil) c = s.veiled_pixel(i, c);
                const float y = radiance_brightness(c.r, c.g, c.b);
                const double lw = s.to_luminance * y;
                if (effects.colour) {
                    const float f = static_cast<float>(colour_sensitivity(lw));
                    if (f < 1.0f) {
                        const float grey = (1.0f - f) * static_cast<float>(scotopic_brightness(c.r, c.g, c.b));
                        c = {f * c.r + grey, f * c.g + grey, f * c.b + grey};
                    }
                }
                double scale = mapping->factor;
                if (!mapping->linear) {
                    const float mapped_y = radiance_brightness(c.r, c.g, c.b);
                    const double mapped_lw = s.to_luminance * mapped_y;
                    scale = mapped_lw < lowest_world_luminance
                                ? 0.0
                                : (mapping->curve.display_luminance(mapped_lw) - o.display.ld_min) / ld_span / mapped_y;
                }
                c = {static_cast<float>(c.r * scale), static_cast<float>(c.g * scale), static_cast<float>(c.b * scale)};
                if (clip) c = clip_to_display(c);
            }
            red[static_cast<size_t>(column)] = c.r;
            green[static_cast<size_t>(column)] = c.g;
            blue[static_cast<size_t>(column)] = c.b;
        }
        encode_colors(red.data(), green.data(), blue.data(), p.width, planes.data());
        out.write_planes(planes.data(), p.width);
    }
    if (!out.finish()) return program_failure("error writing " + (o.output.empty() ? "standard output" : o.output));
    return success();
}

ProgramStatus write_map_file(const ConditionOptions& o, const BrightnessHistogram& h, const Mapping& m,
                             const Scene& s) {
    FileHandle file = open_file(o.map_file, "w");
    if (!file) return program_failure("cannot open map file " + o.map_file);
    std::string text;
    for (int i = 0; i < histogram_bins; ++i) {
        const double lw = std::exp(h.bin_centre(i));
        const double ld = m.linear ? lw * m.factor * o.display.ld_max * s.picture.exposure / physics::luminous_efficacy
                                   : m.curve.display_luminance(lw);
        text += strprintf("%.6g\t%.6g\n", lw, ld);
    }
    const bool ok = std::fwrite(text.data(), 1, text.size(), file.get()) == text.size();
    if (std::fclose(file.release()) != 0 || !ok) return program_failure("error writing map file " + o.map_file);
    return success();
}

}  // namespace

ProgramStatus condition_picture(const ConditionOptions& o) {
    // The input must be a named file, and its absence is told apart.
    if (!open_file(o.input, "rb")) return {2, true, o.input + ": " + std::strerror(errno)};
    FloatPicture picture;
    if (auto status = read_float_picture(o.input, messages(), picture); !status.ok()) {
        status.prefix_program = true;
        return status;
    }
    Scene s = build_scene(std::move(picture), o.centre_weighted);
    BrightnessHistogram h = scene_histogram(s);
    if (h.empty()) return write_picture(o, s, nullptr, {}, std::nullopt);

    // What the scene makes visible at all: glare needs a wide range, and
    // acuity and colour losses need a dark part.
    Effects effects{o.acuity, o.veil, o.colour};
    const bool fits = fits_display(h, o.display);
    if (h.bmax - h.bmin < veil_worth_range) effects.veil = false;
    if (effects.acuity || effects.colour) {
        const double dark = histogram_percentile(h, acuity_share);
        const double per_degree = 180 / std::numbers::pi;
        const double resolvable = (s.picture.width / image_plane_extent(s.view, false) +
                                   s.picture.height / image_plane_extent(s.view, true)) /
                                  (2 * per_degree);
        if (visual_acuity(dark) >= resolvable) effects.acuity = false;
        if (dark >= mesopic_upper) effects.colour = false;
    }
    if (effects.veil) {
        s.veil = veil_image(s.fovea, s.directions);
        add_veil(s.fovea, *s.veil);
        h = scene_histogram(s);
    }
    const Mapping mapping = choose_mapping(o, fits, h, s);
    std::optional<AcuityFilter> acuity;
    if (effects.acuity)
        acuity.emplace(s.picture, acuity_rates(s.fovea, s.directions, s.picture.width, s.picture.height, s.to_luminance),
                       s.fovea.width, s.fovea.height);
    if (!o.map_file.empty())
        if (auto status = write_map_file(o, h, mapping, s); !status.ok()) return status;
    return write_picture(o, s, &mapping, effects, acuity);
}
