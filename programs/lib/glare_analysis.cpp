#include "lib/glare_analysis.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "common/text_format.h"
#include "lib/radiance_rays.h"
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

// The geometry of the picture's rows: each pixel looks where its place in
// the view says, and covers the solid angle evalglare's own arithmetic gives
// it (see radiance_rays.h; ours, the same place mirrored top to bottom, for a
// view type whose arithmetic is not reproduced).
PixelGeometry geometry_in_rows(const View& view, const ViewProjection& projection, const RowLayout& layout) {
    const PixelGeometry seen = pixel_geometry(projection);
    PixelGeometry g;
    g.width = layout.width;
    g.height = layout.height;
    g.direction.resize(seen.direction.size());
    g.solid_angle.resize(seen.solid_angle.size());
    const auto w = size_t(layout.width);
    for (int y = 0; y < layout.height; ++y)
        for (int x = 0; x < layout.width; ++x) {
            const size_t i = size_t(layout.column_in_view(x)), j = size_t(layout.row_in_view(y));
            g.direction[size_t(y) * w + size_t(x)] = seen.direction[j * w + i];
            g.solid_angle[size_t(y) * w + size_t(x)] = seen.solid_angle[(size_t(layout.height) - 1 - j) * w + i];
        }
    if (auto omega = radiance_solid_angles(view, layout)) g.solid_angle = std::move(*omega);
    return g;
}

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

// The corners are the pixels farther from the centre pixel than the mean of
// the half width and half height, all in whole pixels as evalglare counts.
bool looks_like_fisheye(const std::vector<float>& luminance, int w, int h) {
    const int cx = w / 2, cy = h / 2;
    const double radius = double((cx + cy) / 2);
    size_t outside = 0, dark = 0;
    for (int j = 0; j < h; ++j)
        for (int i = 0; i < w; ++i) {
            if (std::hypot(double(i - cx), double(j - cy)) <= radius) continue;
            ++outside;
            if (luminance[size_t(j) * size_t(w) + size_t(i)] < dark_corner_luminance) ++dark;
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

// evalglare leaves the last column and the last row uncut.
void cut_to_guth_field(GuthField field, const SightFrame& frame, GlareAnalysis& a) {
    const auto& g = a.geometry;
    for (int y = 0; y + 1 < g.height; ++y)
        for (int x = 0; x + 1 < g.width; ++x) {
            const size_t p = size_t(y) * size_t(g.width) + size_t(x);
            if (a.valid[p] && outside_guth_field(sight_angles(g.direction[p], frame), field)) a.luminance[p] = 0;
        }
}

// The task luminance is the ω-weighted mean over every pixel within half the
// task angle of its centre, as evalglare takes it: pixels behind an angular
// fisheye's observer count with their solid angle and no light. A task area
// without a valid pixel has no luminance of its own; the view's mean stands
// in, and a notice says so.
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
    bool any_valid = false;
    for (size_t p = 0; p < a.valid.size(); ++p) {
        const bool near = p == centre ? !a.not_near_self[p] : dot(g.direction[p], d) >= cos_limit;
        if (!g.has_direction(p) || !near) continue;
        a.in_task[p] = 1;
        any_valid = any_valid || a.valid[p];
        omega += g.solid_angle[p];
        weighted += g.solid_angle[p] * a.luminance[p];
    }
    if (any_valid && omega > 0) {
        a.task_luminance = weighted / omega;
    } else {
        a.task_luminance = a.average;
        a.notices.push_back(strprintf(
            "notice: the task area at %d %d holds no valid pixel; the mean luminance of the view (%.2f cd/m2) "
            "serves as task luminance",
            task.x, task.y, a.average));
    }
    return success();
}

}  // namespace

ProgramStatus analyse_glare(std::vector<float> luminance, const View& view, const ViewProjection& projection,
                            const RowLayout& layout, const GlareOptions& options, GlareAnalysis& a) {
    const SightFrame sight = sight_frame(view);
    a.luminance = std::move(luminance);
    if (projection.type() == 'v' && options.fisheye_check &&
        looks_like_fisheye(a.luminance, layout.width, layout.height))
        return program_failure("the picture looks like a fisheye (its corners are black), not a perspective view");
    a.geometry = geometry_in_rows(view, projection, layout);
    const auto& g = a.geometry;
    const ViewFrame& frame = projection.frame();
    mark_valid_pixels(projection, a);
    a.not_near_self = pixels_not_near_themselves(view, layout);
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

    if (options.guth_field != GuthField::none) cut_to_guth_field(options.guth_field, sight, a);
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
    const GlareField field{g, a.luminance, a.valid, &a.not_near_self};
    a.sources = find_glare_sources(field, search);
    if (a.sources.radius_below_pixel && (options.smoothing || options.peak_extraction))
        a.notices.push_back("warning: the search radius spans less than a pixel: no smoothing, no peak extraction");
    a.summaries = summarise_sources(field, a.sources, sight);

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
