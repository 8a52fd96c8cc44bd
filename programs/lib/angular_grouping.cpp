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

// The boundary pixels of one grid cell: a range of the sorted list.
struct Cell {
    uint32_t begin = 0, end = 0;
    std::array<int64_t, 3> at{};
    bool uniform = false;    // all in one group, `root` (a member then)
    uint32_t root = 0;
    uint64_t checked_at = 0;  // the union count when last found mixed
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
    // (Cells wider than the chord stay correct; the floor keeps the cell
    // numbers of a vanishing angle within the key's 21 bits.)
    const double cell = std::max(2.0 * std::sin(max_angle / 2.0), 1e-5);
    if (max_angle > 0 && boundary.size() > 1) {
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
        std::vector<Cell> cells;
        std::unordered_map<uint64_t, uint32_t> cell_index;
        for (uint32_t a = 0; a < keyed.size();) {
            uint32_t b = a;
            while (b < keyed.size() && keyed[b].first == keyed[a].first) ++b;
            cell_index.emplace(keyed[a].first, uint32_t(cells.size()));
            cells.push_back({a, b, cell_of(keyed[a].second)});
            a = b;
        }

        // Once all of a cell's pixels are in one group they stay so: two
        // such cells of the same group need no comparison at all, which
        // skips the inside of every large source.
        uint64_t unions = 1;
        auto uniform_root = [&](Cell& c) -> int64_t {
            if (c.uniform) return sets.find(c.root);
            if (c.checked_at == unions) return -1;
            c.checked_at = unions;
            const uint32_t root = sets.find(keyed[c.begin].second);
            for (uint32_t at = c.begin + 1; at < c.end; ++at)
                if (sets.find(keyed[at].second) != root) return -1;
            c.uniform = true;
            c.root = root;
            return root;
        };
        for (uint32_t a = 0; a < cells.size(); ++a)
            for (int dz = -1; dz <= 1; ++dz)
                for (int dy = -1; dy <= 1; ++dy)
                    for (int dx = -1; dx <= 1; ++dx) {
                        const auto& at = cells[a].at;
                        const auto found = cell_index.find(cell_key(at[0] + dx, at[1] + dy, at[2] + dz));
                        if (found == cell_index.end() || found->second < a) continue;
                        Cell &near_cell = cells[found->second], &own = cells[a];
                        const int64_t own_root = uniform_root(own), other_root = uniform_root(near_cell);
                        if (own_root >= 0 && own_root == other_root) continue;
                        const bool same_cell = found->second == a;
                        for (uint32_t i = own.begin; i < own.end; ++i) {
                            const uint32_t k = keyed[i].second;
                            uint32_t root = sets.find(k);
                            if (int64_t(root) == other_root) continue;
                            const Vector3& d = dir[pixels[k]];
                            for (uint32_t j = same_cell ? i + 1 : near_cell.begin; j < near_cell.end; ++j) {
                                const uint32_t other = keyed[j].second;
                                if (sets.find(other) == root || dot(d, dir[pixels[other]]) < cos_limit) continue;
                                sets.unite(k, other);
                                root = sets.find(k);
                                ++unions;
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
