#include "lib/angular_grouping.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numeric>
#include <unordered_map>

namespace {

class DisjointSets {
public:
    explicit DisjointSets(size_t n) : parent_(n) { std::iota(parent_.begin(), parent_.end(), 0u); }

    uint32_t find(uint32_t a) {
        while (parent_[a] != a) {
            parent_[a] = parent_[parent_[a]];
            a = parent_[a];
        }
        return a;
    }

    void unite(uint32_t a, uint32_t b) {
        a = find(a), b = find(b);
        if (a == b) return;
        // The smaller index stays the root: deterministic, and cheap enough
        // with path halving.
        if (a < b)
            parent_[b] = a;
        else
            parent_[a] = b;
    }

private:
    std::vector<uint32_t> parent_;
};

// Cell coordinates packed into one key; directions are unit vectors, so a
// coordinate's cell number is small and the offset keeps it positive.
constexpr int64_t cell_offset = int64_t(1) << 20;

uint64_t cell_key(int64_t cx, int64_t cy, int64_t cz) {
    return uint64_t(cx + cell_offset) << 42 | uint64_t(cy + cell_offset) << 21 | uint64_t(cz + cell_offset);
}

}  // namespace

std::vector<int> group_by_angle(const std::vector<uint32_t>& pixels, const PixelGeometry& geometry,
                                double max_angle) {
    const int w = geometry.width, h = geometry.height;
    const double cos_limit = std::cos(max_angle);
    const auto& dir = geometry.direction;
    std::vector<int32_t> slot(size_t(w) * size_t(h), -1);
    for (size_t k = 0; k < pixels.size(); ++k) slot[pixels[k]] = int32_t(k);
    auto near = [&](uint32_t a, uint32_t b) { return dot(dir[a], dir[b]) >= cos_limit; };

    // Picture neighbours first; a pixel with all eight joined is interior.
    DisjointSets sets(pixels.size());
    std::vector<uint32_t> boundary;
    for (size_t k = 0; k < pixels.size(); ++k) {
        const uint32_t p = pixels[k];
        const int i = int(p % uint32_t(w)), j = int(p / uint32_t(w));
        int joined = 0;
        for (int dj = -1; dj <= 1; ++dj)
            for (int di = -1; di <= 1; ++di) {
                if (di == 0 && dj == 0) continue;
                const int ni = i + di, nj = j + dj;
                if (ni < 0 || nj < 0 || ni >= w || nj >= h) continue;
                const int32_t other = slot[size_t(nj) * size_t(w) + size_t(ni)];
                if (other < 0 || !near(p, pixels[size_t(other)])) continue;
                ++joined;
                if (size_t(other) > k) sets.unite(uint32_t(k), uint32_t(other));
            }
        if (joined < 8) boundary.push_back(uint32_t(k));
    }

    // Boundary pixels across the sphere, through cells one chord wide: any
    // partner within the angle lies in one of the 27 cells around.
    const double cell = 2.0 * std::sin(max_angle / 2.0);
    if (cell > 0 && boundary.size() > 1) {
        auto cell_of = [&](uint32_t k) {
            const Vector3& d = dir[pixels[k]];
            return std::array<int64_t, 3>{int64_t(std::floor(d.x / cell)), int64_t(std::floor(d.y / cell)),
                                          int64_t(std::floor(d.z / cell))};
        };
        std::vector<std::pair<uint64_t, uint32_t>> keyed;
        keyed.reserve(boundary.size());
        for (uint32_t k : boundary) {
            const auto c = cell_of(k);
            keyed.emplace_back(cell_key(c[0], c[1], c[2]), k);
        }
        std::sort(keyed.begin(), keyed.end());
        std::unordered_map<uint64_t, std::pair<uint32_t, uint32_t>> cells;
        for (uint32_t a = 0; a < keyed.size();) {
            uint32_t b = a;
            while (b < keyed.size() && keyed[b].first == keyed[a].first) ++b;
            cells.emplace(keyed[a].first, std::make_pair(a, b));
            a = b;
        }
        for (const auto& [key, k] : keyed) {
            const auto c = cell_of(k);
            const uint32_t p = pixels[k];
            for (int dz = -1; dz <= 1; ++dz)
                for (int dy = -1; dy <= 1; ++dy)
                    for (int dx = -1; dx <= 1; ++dx) {
                        const auto found = cells.find(cell_key(c[0] + dx, c[1] + dy, c[2] + dz));
                        if (found == cells.end()) continue;
                        for (uint32_t at = found->second.first; at < found->second.second; ++at) {
                            const uint32_t other = keyed[at].second;
                            if (other <= k || sets.find(other) == sets.find(k)) continue;
                            if (near(p, pixels[other])) sets.unite(k, other);
                        }
                    }
        }
    }

    std::vector<int> group(pixels.size());
    std::unordered_map<uint32_t, int> number;
    for (size_t k = 0; k < pixels.size(); ++k) {
        const auto [it, added] = number.emplace(sets.find(uint32_t(k)), int(number.size()));
        group[k] = it->second;
    }
    return group;
}
