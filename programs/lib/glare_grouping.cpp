#include "lib/glare_grouping.h"

#include <algorithm>
#include <cmath>
#include <tuple>

#include "lib/disc_sums.h"

namespace {

// Smoothing asks for more than this share of a pixel's surroundings.
constexpr double smoothing_share = 0.2;

// Pixels column by column, each column from row 0 up, once each: the order
// evalglare visits them in.
void sort_by_columns(std::vector<uint32_t>& pixels, int width) {
    const auto w = uint32_t(width);
    std::sort(pixels.begin(), pixels.end(),
              [w](uint32_t a, uint32_t b) { return std::tuple(a % w, a / w) < std::tuple(b % w, b / w); });
    pixels.erase(std::unique(pixels.begin(), pixels.end()), pixels.end());
}

}  // namespace

SourceGrouping::SourceGrouping(const GlareField& field, double search_radius)
    : field_(field), width_(field.geometry.width), height_(field.geometry.height) {
    // evalglare hands the radius to its neighbour search as a float.
    link_cos_ = std::cos(double(float(search_radius)) / 2);
    split_cos_ = std::cos(search_radius / 4);
    const size_t n = size_t(width_) * size_t(height_);
    source_.assign(n, 0);
    primary_.assign(n, 0);
    stats_.resize(1);
    members_.resize(1);
}

bool SourceGrouping::near(size_t a, size_t b, double cos_limit) const {
    const auto& d = field_.geometry.direction;
    if (a == b) return !(field_.not_near_self && (*field_.not_near_self)[a]);
    return dot(d[a], d[b]) >= cos_limit;
}

// The pixels near `p` in the order evalglare meets them: rows from p's own
// downwards, then from the one above upwards; in each row leftwards from
// the middle of the stretch found in range on the row before, then
// rightwards from the middle again, each way up to the first pixel out of
// range. `visit` returning true ends the walk in that vertical direction.
template <typename Visit>
void SourceGrouping::walk(size_t p, int last_column, double cos_limit, Visit&& visit) const {
    const int x = int(p % size_t(width_)), y = int(p / size_t(width_));
    for (const int dy : {-1, 1}) {
        int reach[2] = {x, x};
        bool done = false;
        for (int row = dy < 0 ? y : y + 1; row >= 0 && row < height_ && !done; row += dy)
            for (int side = 0; side < 2 && !done; ++side) {
                const int dx = side == 0 ? -1 : 1;
                for (int column = (reach[0] + reach[1]) / 2; column >= 0 && column <= last_column; column += dx) {
                    const size_t q = at(column, row);
                    if (!near(p, q, cos_limit)) {
                        reach[side] = column - dx;
                        break;
                    }
                    if (visit(q)) {
                        done = true;
                        break;
                    }
                }
            }
    }
}

int SourceGrouping::new_source() {
    stats_.emplace_back();
    members_.emplace_back();
    return int(stats_.size()) - 1;
}

// Running means, as evalglare keeps them: the order of additions is part of
// the result, since ties in solid angle decide which sources join.
void SourceGrouping::add_pixel(size_t p, int source) {
    SourceStats& s = stats_[size_t(source)];
    const double omega = field_.geometry.solid_angle[p], l = field_.luminance[p];
    const double x = double(p % size_t(width_)), y = double(p / size_t(width_));
    const double total = s.solid_angle + omega;
    s.pixels += 1;
    s.x = (s.x * s.solid_angle + x * omega) / total;
    s.y = (s.y * s.solid_angle + y * omega) / total;
    s.luminance = (s.luminance * s.solid_angle + l * omega) / total;
    s.solid_angle = total;
    s.max_luminance = std::max(s.max_luminance, l);
    source_[p] = source;
    members_[size_t(source)].push_back(uint32_t(p));
    largest_ = std::max(largest_, total);
}

double SourceGrouping::first_scan(double threshold) {
    double brightest = 0;
    for (int x = 0; x < width_; ++x)
        for (int y = 0; y < height_; ++y) {
            const size_t p = at(x, y);
            if (!field_.valid[p] || !(field_.luminance[p] > threshold)) continue;
            brightest = std::max(brightest, double(field_.luminance[p]));
            int found = 0;
            walk(p, x, link_cos_, [&](size_t q) {
                if (source_[q] == 0) return false;
                found = source_[q];
                return true;
            });
            primary_[p] = 1;
            add_pixel(p, found != 0 ? found : new_source());
        }
    return brightest;
}

int SourceGrouping::join_larger(size_t p, int first, int last) {
    const int old = source_[p];
    int chosen = old;
    walk(p, width_ - 1, link_cos_, [&](size_t q) {
        const int s = source_[q];
        if (s <= 0) return false;
        const double omega = stats_[size_t(s)].solid_angle;
        if (!(stats_[size_t(old)].solid_angle < omega && omega > stats_[size_t(chosen)].solid_angle && s >= first &&
              s <= last))
            return false;
        chosen = s;
        return true;
    });
    if (chosen == old) return old;

    SourceStats& gone = stats_[size_t(old)];
    gone.luminance = gone.solid_angle = gone.pixels = gone.max_luminance = 0;
    std::vector<uint32_t> moving;
    moving.swap(members_[size_t(old)]);
    std::erase_if(moving, [&](uint32_t q) { return source_[q] != old; });
    sort_by_columns(moving, width_);
    for (uint32_t q : moving) add_pixel(q, chosen);
    return chosen;
}

void SourceGrouping::join_until_settled(int first, int last, bool skip_interior) {
    std::vector<uint32_t> pixels;
    for (int s = first; s <= last; ++s)
        for (uint32_t q : members_[size_t(s)])
            if (source_[q] == s) pixels.push_back(q);
    sort_by_columns(pixels, width_);
    const auto w = uint32_t(width_);

    auto interior = [&](uint32_t q, int s) {
        const int x = int(q % w), y = int(q / w);
        if (x <= 1 || x >= width_ - 2 || y <= 1 || y >= height_ - 2) return false;
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx)
                if (source_[at(x + dx, y + dy)] != s) return false;
        return true;
    };
    for (bool changed = true; changed;) {
        changed = false;
        for (uint32_t q : pixels) {
            const int before = source_[q];
            if (skip_interior && interior(q, before)) continue;
            // Nothing can be strictly larger than the largest source.
            if (stats_[size_t(before)].solid_angle >= largest_) continue;
            if (join_larger(q, first, last) != before) changed = true;
        }
    }
}

void SourceGrouping::join_neighbours() { join_until_settled(1, int(stats_.size()) - 1, true); }

void SourceGrouping::smooth(double radius) {
    const DiscSums discs(double(float(radius)), width_, height_);
    const int count = int(stats_.size()) - 1;
    if (discs.reach() < 1 || count == 0) return;
    const auto& omega = field_.geometry.solid_angle;
    const DiscSums::Box whole{0, 0, width_ - 1, height_ - 1};
    // Every pixel's solid angle counts in the surroundings, inside the view
    // or not.
    const auto all_sums = discs.running_sums(whole, [&](int i, int j) { return omega[at(i, j)]; });

    std::vector<double> total(omega.size(), -1.0);  // disc sums, computed when first needed
    std::vector<std::pair<uint32_t, int>> joins;
    for (int s = 1; s <= count; ++s) {
        if (!(stats_[size_t(s)].pixels > 0)) continue;
        DiscSums::Box b{width_, height_, -1, -1};
        for (uint32_t q : members_[size_t(s)]) {
            if (source_[q] != s) continue;
            const int i = int(q % size_t(width_)), j = int(q / size_t(width_));
            b.i0 = std::min(b.i0, i), b.i1 = std::max(b.i1, i), b.j0 = std::min(b.j0, j), b.j1 = std::max(b.j1, j);
        }
        if (b.i1 < b.i0) continue;
        const int r = discs.reach();
        const DiscSums::Box grown{std::max(0, b.i0 - r), std::max(0, b.j0 - r), std::min(width_ - 1, b.i1 + r),
                                  std::min(height_ - 1, b.j1 + r)};
        const auto own = discs.running_sums(grown, [&](int i, int j) {
            const size_t q = at(i, j);
            return source_[q] == s && primary_[q] ? omega[q] : 0.0;
        });
        for (int j = grown.j0; j <= grown.j1; ++j)
            for (int i = grown.i0; i <= grown.i1; ++i) {
                const size_t q = at(i, j);
                if (!field_.valid[q] || source_[q] != 0) continue;
                const double part = discs.sum(own, grown, i, j);
                if (!(part > 0)) continue;
                if (total[q] < 0) total[q] = discs.sum(all_sums, whole, i, j);
                if (part / total[q] > smoothing_share) joins.emplace_back(uint32_t(q), s);
            }
    }
    // Pixel by pixel, column by column, each to its sources in number
    // order: a pixel joins every source it qualifies for and keeps the last.
    const auto w = uint32_t(width_);
    std::sort(joins.begin(), joins.end(), [w](const auto& a, const auto& b) {
        return std::tuple(a.first % w, a.first / w, a.second) < std::tuple(b.first % w, b.first / w, b.second);
    });
    for (const auto& [q, s] : joins) add_pixel(q, s);
}

int SourceGrouping::nearest_split(size_t p, int first, int last) const {
    const int x = int(p % size_t(width_)), y = int(p / size_t(width_));
    // evalglare bounds this walk's columns by the picture's height.
    const int last_column = std::min(width_, height_) - 1;
    int found = 0;
    for (const int dy : {-1, 1})
        for (int row = dy < 0 ? y : y + 1; row >= 0 && row < height_; row += dy) {
            bool any = false;
            for (const int dx : {-1, 1})
                for (int column = dx < 0 ? x : x + 1; column >= 0 && column <= last_column; column += dx) {
                    const size_t q = at(column, row);
                    if (!near(p, q, split_cos_)) break;
                    any = true;
                    if (source_[q] >= first && source_[q] <= last) found = source_[q];
                }
            if (!any) break;
        }
    return found;
}

void SourceGrouping::extract_peaks(double limit) {
    const int existing = int(stats_.size()) - 1;
    const auto w = uint32_t(width_);
    for (int i = 1; i <= existing; ++i) {
        if (!(stats_[size_t(i)].pixels > 0)) continue;
        const int first = int(stats_.size());
        if (stats_[size_t(i)].max_luminance >= limit) {
            std::vector<uint32_t> peaks;
            for (uint32_t q : members_[size_t(i)])
                if (source_[q] == i && field_.valid[q] && field_.luminance[q] >= limit) peaks.push_back(q);
            sort_by_columns(peaks, width_);
            for (uint32_t q : peaks) {
                const int last = int(stats_.size()) - 1;
                int target = last >= first ? nearest_split(q, first, last) : 0;
                if (target == 0) target = new_source();
                // Out of its old source, by the same running means.
                SourceStats& s = stats_[size_t(i)];
                const double omega = field_.geometry.solid_angle[q], l = field_.luminance[q];
                const double total = s.solid_angle - omega;
                s.pixels -= 1;
                s.x = (s.x * s.solid_angle - double(q % w) * omega) / total;
                s.y = (s.y * s.solid_angle - double(q / w) * omega) / total;
                s.luminance = (s.luminance * s.solid_angle - l * omega) / total;
                s.solid_angle = total;
                add_pixel(q, target);
            }
        }
        if (int(stats_.size()) > first) join_until_settled(first, int(stats_.size()) - 1, false);
    }
}

GlareSources SourceGrouping::result(bool radius_below_pixel) const {
    GlareSources g;
    g.source_of.resize(source_.size());
    for (size_t p = 0; p < source_.size(); ++p) g.source_of[p] = source_[p] - 1;
    g.stats.assign(stats_.begin() + 1, stats_.end());
    g.count = int(g.stats.size());
    g.radius_below_pixel = radius_below_pixel;
    return g;
}
