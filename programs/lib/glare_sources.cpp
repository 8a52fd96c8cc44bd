#include "lib/glare_sources.h"

#include <algorithm>
#include <cmath>

#include "lib/angular_grouping.h"
#include "lib/position_index.h"

namespace {

// Smoothing asks for more than this share of a pixel's surroundings.
constexpr double smoothing_share = 0.2;
// The smoothing disc is the linkage distance in pixels divided by this.
constexpr double smoothing_divisor = 1.75;

struct Box {
    int i0 = 0, j0 = 0, i1 = -1, j1 = -1;  // inclusive
};

// Sums of solid angle over discs of a fixed pixel radius, from running sums
// along each row: one row segment per disc row.
class DiscSums {
public:
    DiscSums(double radius, int width, int height) : width_(width), height_(height) {
        reach_ = int(std::floor(radius));
        for (int d = -reach_; d <= reach_; ++d)
            half_width_.push_back(int(std::floor(std::sqrt(std::max(0.0, radius * radius - double(d) * d)))));
    }

    // Running sums of `values` (over the whole picture) row by row:
    // sums[j * (width + 1) + i] = Σ values of row j before column i.
    std::vector<double> running_sums(const std::vector<double>& values) const {
        std::vector<double> sums(size_t(width_ + 1) * size_t(height_), 0.0);
        for (int j = 0; j < height_; ++j) {
            double* row = sums.data() + size_t(j) * size_t(width_ + 1);
            const double* v = values.data() + size_t(j) * size_t(width_);
            for (int i = 0; i < width_; ++i) row[i + 1] = row[i] + v[i];
        }
        return sums;
    }

    // The disc sum around (i, j), the disc clipped to the picture and to
    // the rows and columns the running sums cover (box, offsets into it).
    double sum(const std::vector<double>& sums, const Box& box, int i, int j) const {
        const int row_width = box.i1 - box.i0 + 2;
        double total = 0;
        for (int d = -reach_; d <= reach_; ++d) {
            const int row = j + d;
            if (row < box.j0 || row > box.j1) continue;
            const int a = std::max(i - half_width_[size_t(d + reach_)], box.i0);
            const int b = std::min(i + half_width_[size_t(d + reach_)], box.i1);
            if (a > b) continue;
            const double* r = sums.data() + size_t(row - box.j0) * size_t(row_width);
            total += r[b - box.i0 + 1] - r[a - box.i0];
        }
        return total;
    }

    int reach() const { return reach_; }

private:
    int width_, height_;
    int reach_ = 0;
    std::vector<int> half_width_;
};

void smooth_sources(const GlareField& field, double radius_pixels, const std::vector<uint8_t>& glare,
                    GlareSources& sources) {
    const PixelGeometry& g = field.geometry;
    const int w = g.width, h = g.height;
    const DiscSums discs(radius_pixels, w, h);
    if (discs.reach() < 1 || sources.count == 0) return;

    std::vector<double> valid_omega(g.solid_angle.size(), 0.0);
    for (size_t p = 0; p < valid_omega.size(); ++p)
        if (field.valid[p]) valid_omega[p] = g.solid_angle[p];
    const auto all_sums = discs.running_sums(valid_omega);
    const Box whole{0, 0, w - 1, h - 1};

    std::vector<Box> boxes(size_t(sources.count), Box{w, h, -1, -1});
    for (size_t p = 0; p < sources.source_of.size(); ++p) {
        const int s = sources.source_of[p];
        if (s < 0) continue;
        const int i = int(p % size_t(w)), j = int(p / size_t(w));
        Box& b = boxes[size_t(s)];
        b.i0 = std::min(b.i0, i), b.i1 = std::max(b.i1, i), b.j0 = std::min(b.j0, j), b.j1 = std::max(b.j1, j);
    }

    std::vector<double> total(g.solid_angle.size(), -1.0);  // disc sums, computed when first needed
    std::vector<double> best(g.solid_angle.size(), 0.0);
    std::vector<int> joins(g.solid_angle.size(), -1);
    std::vector<double> local;
    for (int s = 0; s < sources.count; ++s) {
        const Box& b = boxes[size_t(s)];
        if (b.i1 < b.i0) continue;
        const int r = discs.reach();
        const Box grown{std::max(0, b.i0 - r), std::max(0, b.j0 - r), std::min(w - 1, b.i1 + r),
                        std::min(h - 1, b.j1 + r)};
        // Running sums of this source's glare solid angle over the grown box.
        const int row_width = grown.i1 - grown.i0 + 2;
        local.assign(size_t(row_width) * size_t(grown.j1 - grown.j0 + 1), 0.0);
        for (int j = grown.j0; j <= grown.j1; ++j) {
            double* row = local.data() + size_t(j - grown.j0) * size_t(row_width);
            for (int i = grown.i0; i <= grown.i1; ++i) {
                const size_t p = size_t(j) * size_t(w) + size_t(i);
                const bool own = sources.source_of[p] == s;
                row[i - grown.i0 + 1] = row[i - grown.i0] + (own ? g.solid_angle[p] : 0.0);
            }
        }
        for (int j = grown.j0; j <= grown.j1; ++j)
            for (int i = grown.i0; i <= grown.i1; ++i) {
                const size_t p = size_t(j) * size_t(w) + size_t(i);
                if (!field.valid[p] || glare[p]) continue;
                const double own = discs.sum(local, grown, i, j);
                if (!(own > 0)) continue;
                if (total[p] < 0) total[p] = discs.sum(all_sums, whole, i, j);
                const double share = own / total[p];
                if (share > smoothing_share && share > best[p]) {
                    best[p] = share;
                    joins[p] = s;
                }
            }
    }
    for (size_t p = 0; p < joins.size(); ++p)
        if (joins[p] >= 0) sources.source_of[p] = joins[p];
}

// The pixels (of a picture `width` wide) that pass `wanted`, top row first:
// sources are then numbered, and coloured in the check picture, in the
// order a person reads the picture.
template <typename Wanted>
std::vector<uint32_t> pixels_top_first(int width, size_t count, Wanted wanted) {
    std::vector<uint32_t> pixels;
    const size_t w = size_t(width);
    for (size_t row = count / w; row-- > 0;)
        for (size_t p = row * w; p < row * w + w; ++p)
            if (wanted(p)) pixels.push_back(uint32_t(p));
    return pixels;
}

void extract_peaks(const GlareField& field, double max_angle, double limit, GlareSources& sources) {
    float brightest = 0;
    for (size_t p = 0; p < sources.source_of.size(); ++p)
        if (sources.source_of[p] >= 0) brightest = std::max(brightest, field.luminance[p]);
    if (!(brightest > limit)) return;
    const auto peaks = pixels_top_first(field.geometry.width, field.luminance.size(), [&](size_t p) {
        return sources.source_of[p] >= 0 && field.luminance[p] >= limit;
    });
    const auto group = group_by_angle(peaks, field.geometry, max_angle);
    int groups = 0;
    for (size_t k = 0; k < peaks.size(); ++k) {
        sources.source_of[peaks[k]] = sources.count + group[k];
        groups = std::max(groups, group[k] + 1);
    }
    sources.count += groups;
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
    const size_t n = field.luminance.size();
    GlareSources sources;
    sources.source_of.assign(n, -1);
    std::vector<uint8_t> glare(n, 0);
    const auto pixels = pixels_top_first(field.geometry.width, field.luminance.size(), [&](size_t p) {
        return field.valid[p] && field.luminance[p] > search.threshold;
    });
    for (uint32_t p : pixels) glare[p] = 1;
    const double linkage = search.search_radius / 2;
    const auto group = group_by_angle(pixels, field.geometry, linkage);
    for (size_t k = 0; k < pixels.size(); ++k) {
        sources.source_of[pixels[k]] = group[k];
        sources.count = std::max(sources.count, group[k] + 1);
    }

    const double step = central_pixel_step(field.geometry);
    const double linkage_pixels = step > 0 ? linkage / step : 0.0;
    sources.radius_below_pixel = linkage_pixels < 1;
    if (sources.radius_below_pixel) return sources;
    if (search.smoothing) smooth_sources(field, linkage_pixels / smoothing_divisor, glare, sources);
    if (search.peak_extraction) extract_peaks(field, linkage, search.peak_limit, sources);
    return sources;
}

std::vector<SourceSummary> summarise_sources(const GlareField& field, const GlareSources& sources,
                                             const ViewFrame& frame) {
    const PixelGeometry& g = field.geometry;
    std::vector<SourceSummary> all(size_t(sources.count));
    std::vector<double> weighted(size_t(sources.count), 0.0);
    std::vector<Vector3> mean_direction(size_t(sources.count));
    for (size_t p = 0; p < sources.source_of.size(); ++p) {
        const int s = sources.source_of[p];
        if (s < 0) continue;
        SourceSummary& a = all[size_t(s)];
        const double omega = g.solid_angle[p], l = field.luminance[p];
        a.pixels += 1;
        a.solid_angle += omega;
        weighted[size_t(s)] += l * omega;
        a.max_luminance = std::max(a.max_luminance, l);
        a.illuminance += l * dot(g.direction[p], frame.forward) * omega;
        a.x += omega * double(p % size_t(g.width));
        a.y += omega * double(p / size_t(g.width));
        mean_direction[size_t(s)] = mean_direction[size_t(s)] + omega * g.direction[p];
    }
    std::vector<SourceSummary> kept;
    for (int s = 0; s < sources.count; ++s) {
        SourceSummary a = all[size_t(s)];
        if (a.pixels == 0) continue;
        a.number = s;
        if (a.solid_angle > 0) {
            a.luminance = weighted[size_t(s)] / a.solid_angle;
            a.x /= a.solid_angle;
            a.y /= a.solid_angle;
        }
        const size_t at = size_t(a.y) * size_t(g.width) + size_t(a.x);
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
