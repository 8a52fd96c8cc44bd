#include "lib/glare_analysis.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "common/text_format.h"
#include "lib/sight_angles.h"

namespace {

// A perspective view of a fisheye picture: the corners outside the image
// circle are black. "Black" allows for sensor noise and flare.
constexpr double dark_corner_luminance = 7;
constexpr double dark_corner_share = 0.7;

// DGP was fitted to daylit offices; below these Ev it rests on the
// low-light correction alone, or means little at all, and a notice says so.
constexpr double low_light_illuminance = 380;
constexpr double very_low_illuminance = 100;

void mark_valid_pixels(const ViewProjection& projection, GlareAnalysis& a) {
    const auto& g = a.geometry;
    const Vector3 forward = projection.frame().forward;
    // An angular fisheye wider than 180° sees behind the observer; that
    // light cannot reach an eye looking forward.
    const bool forward_only = projection.type() == 'a';
    a.valid.assign(g.solid_angle.size(), 0);
    for (size_t p = 0; p < a.valid.size(); ++p) {
        const bool ok = g.has_direction(p) && g.solid_angle[p] > 0 &&
                        (!forward_only || dot(g.direction[p], forward) >= 0);
        a.valid[p] = ok;
        if (!ok) a.luminance[p] = 0;
    }
}

bool looks_like_fisheye(const GlareAnalysis& a) {
    const int w = a.geometry.width, h = a.geometry.height;
    const double cx = double(w / 2), cy = double(h / 2), radius = (w / 2.0 + h / 2.0) / 2.0;
    size_t outside = 0, dark = 0;
    for (int j = 0; j < h; ++j)
        for (int i = 0; i < w; ++i) {
            if ((i - cx) * (i - cx) + (j - cy) * (j - cy) <= radius * radius) continue;
            ++outside;
            if (a.luminance[size_t(j) * size_t(w) + size_t(i)] < dark_corner_luminance) ++dark;
        }
    return outside > 0 && double(dark) > dark_corner_share * double(outside);
}

void fill_rows(const RowFill& fill, int width, int height, std::vector<float>& luminance) {
    auto copy_row = [&](long to, long from) {
        std::copy_n(luminance.begin() + from * width, width, luminance.begin() + to * width);
    };
    for (long y = std::max(fill.top, 1L); y < height; ++y) copy_row(y, y - 1);
    for (long y = std::min(fill.bottom, long(height) - 2); y >= 1; --y) copy_row(y, y + 1);
}

void cut_to_guth_field(GuthField field, const ViewFrame& frame, GlareAnalysis& a) {
    for (size_t p = 0; p < a.valid.size(); ++p)
        if (a.valid[p] && outside_guth_field(sight_angles(a.geometry.direction[p], frame), field))
            a.luminance[p] = 0;
}

ProgramStatus measure_task(const TaskArea& task, GlareAnalysis& a) {
    const auto& g = a.geometry;
    if (task.x < 0 || task.y < 0 || task.x >= g.width || task.y >= g.height)
        return program_failure(strprintf("task position %d %d lies outside the picture (%d x %d)", task.x, task.y,
                                         g.width, g.height));
    const size_t centre = size_t(task.y) * size_t(g.width) + size_t(task.x);
    if (!g.has_direction(centre))
        return program_failure(strprintf("task position %d %d lies outside the view", task.x, task.y));
    const Vector3 d = g.direction[centre];
    const double cos_limit = std::cos(task.angle / 2);
    a.in_task.assign(a.valid.size(), 0);
    double omega = 0, weighted = 0;
    for (size_t p = 0; p < a.valid.size(); ++p) {
        if (!a.valid[p] || dot(g.direction[p], d) < cos_limit) continue;
        a.in_task[p] = 1;
        omega += g.solid_angle[p];
        weighted += g.solid_angle[p] * a.luminance[p];
    }
    a.task_luminance = omega > 0 ? weighted / omega : a.average;
    return success();
}

}  // namespace

ProgramStatus analyse_glare(std::vector<float> luminance, const ViewProjection& projection,
                            const GlareOptions& options, GlareAnalysis& a) {
    a.luminance = std::move(luminance);
    a.geometry = pixel_geometry(projection);
    const auto& g = a.geometry;
    const ViewFrame& frame = projection.frame();
    mark_valid_pixels(projection, a);
    if (projection.type() == 'v' && options.fisheye_check && looks_like_fisheye(a))
        return program_failure("the picture looks like a fisheye (its corners are black), not a perspective view");
    if (options.row_fill) fill_rows(*options.row_fill, g.width, g.height, a.luminance);

    double weighted = 0;
    for (size_t p = 0; p < a.valid.size(); ++p) {
        if (!a.valid[p]) continue;
        const double omega = g.solid_angle[p], l = a.luminance[p];
        a.illuminance += l * dot(g.direction[p], frame.forward) * omega;
        a.solid_angle += omega;
        weighted += l * omega;
    }
    if (!(a.solid_angle > 0)) return program_failure("no valid pixel in the view");
    a.average = weighted / a.solid_angle;
    const double dgp_illuminance = options.measured_illuminance.value_or(a.illuminance);
    if (dgp_illuminance < very_low_illuminance)
        a.notices.push_back("notice: very low vertical illuminance (below 100 lx): the glare figures mean little");
    else if (dgp_illuminance < low_light_illuminance)
        a.notices.push_back("notice: low vertical illuminance (below 380 lx): DGP is corrected for low light");
    if (options.illuminance_only) return success();

    if (options.guth_field != GuthField::none) cut_to_guth_field(options.guth_field, frame, a);
    a.task_luminance = a.average;
    if (options.task)
        if (auto status = measure_task(*options.task, a); !status.ok()) return status;

    const double f = options.threshold.value_or(options.task ? default_task_factor : default_threshold);
    a.threshold = f > absolute_threshold_above ? f : f * a.task_luminance;

    SourceSearch search;
    search.threshold = a.threshold;
    search.search_radius = options.search_radius;
    search.smoothing = options.smoothing;
    search.peak_extraction = options.peak_extraction;
    search.peak_limit = options.peak_limit;
    const GlareField field{g, a.luminance, a.valid};
    a.sources = find_glare_sources(field, search);
    if (a.sources.radius_below_pixel && (options.smoothing || options.peak_extraction))
        a.notices.push_back("warning: the search radius spans less than a pixel: no smoothing, no peak extraction");
    a.summaries = summarise_sources(field, a.sources, frame);

    for (const auto& s : a.summaries) a.direct_illuminance += s.illuminance;
    a.background = std::max(0.0, (a.illuminance - a.direct_illuminance) / std::numbers::pi);

    std::vector<SourceFigures> figures;
    for (const auto& s : a.summaries)
        figures.push_back({s.luminance, s.solid_angle, s.position_index, s.angles.off_axis});
    SceneFigures scene;
    scene.illuminance = a.illuminance;
    scene.dgp_illuminance = dgp_illuminance;
    scene.direct_illuminance = a.direct_illuminance;
    scene.background = a.background;
    scene.average = a.average;
    a.indices = glare_indices(scene, figures);
    return success();
}
