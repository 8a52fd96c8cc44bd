#include "lib/glare_sources.h"

#include <algorithm>
#include <cmath>

#include "lib/glare_grouping.h"
#include "lib/position_index.h"

namespace {

// The smoothing disc is the linkage distance in pixels divided by this.
constexpr double smoothing_divisor = 1.75;

// evalglare takes a source's direction through the pixel at its mean
// position, the position passed on as a float.
size_t pixel_at(const PixelGeometry& g, double x, double y) {
    const int i = int(float(x)), j = int(float(y));
    if (i < 0 || j < 0 || i >= g.width || j >= g.height) return g.direction.size();
    return size_t(j) * size_t(g.width) + size_t(i);
}

}  // namespace

double central_pixel_step(const PixelGeometry& g) {
    const int i = g.width / 2, j = g.height / 2;
    const int steps = std::min({10, g.width - 1 - i, g.height - 1 - j});
    if (steps < 1) return 0.0;
    const size_t a = size_t(j) * size_t(g.width) + size_t(i);
    const size_t b = size_t(j + steps) * size_t(g.width) + size_t(i + steps);
    if (!g.has_direction(a) || !g.has_direction(b)) return 0.0;
    return angle_between(g.direction[a], g.direction[b]) / steps;
}

GlareSources find_glare_sources(const GlareField& field, const SourceSearch& search) {
    SourceGrouping grouping(field, search.search_radius);
    const double brightest = grouping.first_scan(search.threshold);
    const double step = central_pixel_step(field.geometry);
    const double linkage_pixels = step > 0 ? search.search_radius / 2 / step : 0.0;
    // Below one pixel the neighbour search means nothing; at exactly one
    // evalglare still smooths and extracts peaks.
    if (linkage_pixels > 1) grouping.join_neighbours();
    if (linkage_pixels < 1) return grouping.result(true);
    if (search.smoothing) grouping.smooth(linkage_pixels / smoothing_divisor);
    if (search.peak_extraction && brightest > search.peak_limit) grouping.extract_peaks(search.peak_limit);
    return grouping.result(false);
}

std::vector<SourceSummary> summarise_sources(const GlareField& field, const GlareSources& sources,
                                             const SightFrame& frame) {
    const PixelGeometry& g = field.geometry;
    std::vector<double> illuminance(size_t(sources.count), 0.0);
    std::vector<Vector3> mean_direction(size_t(sources.count));
    for (size_t p = 0; p < sources.source_of.size(); ++p) {
        const int s = sources.source_of[p];
        if (s < 0) continue;
        const double omega = g.solid_angle[p];
        illuminance[size_t(s)] += field.luminance[p] * dot(g.direction[p], frame.forward) * omega;
        mean_direction[size_t(s)] = mean_direction[size_t(s)] + omega * g.direction[p];
    }
    std::vector<SourceSummary> kept;
    for (int s = 0; s < sources.count; ++s) {
        const SourceStats& st = sources.stats[size_t(s)];
        if (!(st.pixels > 0)) continue;
        SourceSummary a;
        a.number = s;
        a.pixels = int(st.pixels);
        a.solid_angle = st.solid_angle;
        a.luminance = st.luminance;
        a.max_luminance = st.max_luminance;
        a.illuminance = illuminance[size_t(s)];
        a.x = st.x;
        a.y = st.y;
        const size_t at = pixel_at(g, st.x, st.y);
        // The pixel at the mean position of a ring-shaped source may lie
        // outside the view; its mean direction serves there.
        a.direction = at < g.direction.size() && g.has_direction(at) ? g.direction[at]
                                                                       : normalised(mean_direction[size_t(s)]);
        a.angles = sight_angles(a.direction, frame);
        a.position_index = position_index(a.angles);
        kept.push_back(a);
    }
    return kept;
}
