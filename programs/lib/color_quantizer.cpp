#include "lib/color_quantizer.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <limits>
#include <unordered_map>

namespace {

constexpr int cell_bits = 5;
constexpr int cells_per_axis = 1 << cell_bits;
constexpr int max_error = 20;

int cell_of(int r, int g, int b) {
    return ((r >> 3) << (2 * cell_bits)) | ((g >> 3) << cell_bits) | (b >> 3);
}

struct Cell {
    uint32_t count = 0;
    uint64_t sum[3] = {0, 0, 0};
};

struct Box {
    int low[3];
    int high[3];  // inclusive cell coordinates
    uint64_t count = 0;
};

// Shrinks the box to the cells that hold pixels and counts them.
void fit(Box& box, const std::vector<Cell>& cells) {
    int low[3] = {cells_per_axis, cells_per_axis, cells_per_axis};
    int high[3] = {-1, -1, -1};
    box.count = 0;
    for (int r = box.low[0]; r <= box.high[0]; ++r)
        for (int g = box.low[1]; g <= box.high[1]; ++g)
            for (int b = box.low[2]; b <= box.high[2]; ++b) {
                const Cell& cell = cells[static_cast<size_t>((r << (2 * cell_bits)) | (g << cell_bits) | b)];
                if (cell.count == 0) continue;
                box.count += cell.count;
                const int at[3] = {r, g, b};
                for (int c = 0; c < 3; ++c) {
                    low[c] = std::min(low[c], at[c]);
                    high[c] = std::max(high[c], at[c]);
                }
            }
    if (box.count == 0) return;
    for (int c = 0; c < 3; ++c) {
        box.low[c] = low[c];
        box.high[c] = high[c];
    }
}

// Pixel count of each slice of the box along one axis.
std::vector<uint64_t> slice_counts(const Box& box, int axis, const std::vector<Cell>& cells) {
    std::vector<uint64_t> counts(cells_per_axis, 0);
    for (int r = box.low[0]; r <= box.high[0]; ++r)
        for (int g = box.low[1]; g <= box.high[1]; ++g)
            for (int b = box.low[2]; b <= box.high[2]; ++b) {
                const int at[3] = {r, g, b};
                counts[static_cast<size_t>(at[axis])] +=
                    cells[static_cast<size_t>((r << (2 * cell_bits)) | (g << cell_bits) | b)].count;
            }
    return counts;
}

// Splits the box at the median of its longest axis; false when it is a
// single cell.
bool split(Box& box, Box& other, const std::vector<Cell>& cells) {
    int axis = 0;
    for (int c = 1; c < 3; ++c)
        if (box.high[c] - box.low[c] > box.high[axis] - box.low[axis]) axis = c;
    if (box.high[axis] == box.low[axis]) return false;
    const auto counts = slice_counts(box, axis, cells);
    uint64_t below = 0;
    int cut = box.low[axis];
    for (int v = box.low[axis]; v < box.high[axis]; ++v) {
        below += counts[static_cast<size_t>(v)];
        cut = v;
        if (2 * below >= box.count) break;
    }
    other = box;
    box.high[axis] = cut;
    other.low[axis] = cut + 1;
    fit(box, cells);
    fit(other, cells);
    return true;
}

// The palette entry nearest to a colour; results are kept per 6-bit cell.
class NearestColour {
public:
    explicit NearestColour(const std::vector<uint8_t>& palette, int colours)
        : palette_(palette), colours_(colours), cache_(1 << 18, -1) {}

    int operator()(int r, int g, int b) {
        const size_t key = (static_cast<size_t>(r >> 2) << 12) | (static_cast<size_t>(g >> 2) << 6) |
                           static_cast<size_t>(b >> 2);
        int16_t& known = cache_[key];
        if (known < 0) known = static_cast<int16_t>(search((r & ~3) | 2, (g & ~3) | 2, (b & ~3) | 2));
        return known;
    }

private:
    int search(int r, int g, int b) const {
        int best = 0;
        int best_distance = std::numeric_limits<int>::max();
        for (int i = 0; i < colours_; ++i) {
            const int dr = r - palette_[3 * static_cast<size_t>(i)];
            const int dg = g - palette_[3 * static_cast<size_t>(i) + 1];
            const int db = b - palette_[3 * static_cast<size_t>(i) + 2];
            const int distance = dr * dr + dg * dg + db * db;
            if (distance < best_distance) {
                best_distance = distance;
                best = i;
            }
        }
        return best;
    }

    const std::vector<uint8_t>& palette_;
    int colours_;
    std::vector<int16_t> cache_;
};

}  // namespace

std::vector<uint8_t> median_cut_palette(const RgbImage& image, int colours) {
    std::vector<Cell> cells(static_cast<size_t>(cells_per_axis * cells_per_axis * cells_per_axis));
    const size_t pixels = image.rgb.size() / 3;
    for (size_t i = 0; i < pixels; ++i) {
        const uint8_t* p = image.rgb.data() + 3 * i;
        Cell& cell = cells[static_cast<size_t>(cell_of(p[0], p[1], p[2]))];
        ++cell.count;
        for (int c = 0; c < 3; ++c) cell.sum[c] += p[c];
    }
    std::vector<Box> boxes(1);
    boxes[0] = {{0, 0, 0}, {cells_per_axis - 1, cells_per_axis - 1, cells_per_axis - 1}, 0};
    fit(boxes[0], cells);
    if (boxes[0].count == 0) boxes.clear();
    while (static_cast<int>(boxes.size()) < colours) {
        // The most populous box that can still be split.
        int chosen = -1;
        for (size_t i = 0; i < boxes.size(); ++i) {
            const Box& box = boxes[i];
            const bool splittable =
                box.high[0] > box.low[0] || box.high[1] > box.low[1] || box.high[2] > box.low[2];
            if (splittable && (chosen < 0 || box.count > boxes[static_cast<size_t>(chosen)].count))
                chosen = static_cast<int>(i);
        }
        if (chosen < 0) break;
        Box other;
        if (!split(boxes[static_cast<size_t>(chosen)], other, cells)) break;
        boxes.push_back(other);
    }

    std::vector<uint8_t> palette(3 * 256, 0);
    for (size_t i = 0; i < boxes.size(); ++i) {
        const Box& box = boxes[i];
        uint64_t sum[3] = {0, 0, 0};
        for (int r = box.low[0]; r <= box.high[0]; ++r)
            for (int g = box.low[1]; g <= box.high[1]; ++g)
                for (int b = box.low[2]; b <= box.high[2]; ++b) {
                    const Cell& cell = cells[static_cast<size_t>((r << (2 * cell_bits)) | (g << cell_bits) | b)];
                    for (int c = 0; c < 3; ++c) sum[c] += cell.sum[c];
                }
        for (int c = 0; c < 3; ++c)
            palette[3 * i + static_cast<size_t>(c)] =
                static_cast<uint8_t>((sum[c] + box.count / 2) / std::max<uint64_t>(box.count, 1));
    }
    palette.resize(3 * 256);
    return palette;
}

// With no more colours than palette entries every colour gets its own
// entry, and the image is kept exactly.
bool exact_palette(const RgbImage& image, int colours, PaletteImage& out) {
    std::unordered_map<uint32_t, uint8_t> index;
    const size_t pixels = image.rgb.size() / 3;
    for (size_t i = 0; i < pixels; ++i) {
        const uint8_t* p = image.rgb.data() + 3 * i;
        const uint32_t key = (uint32_t{p[0]} << 16) | (uint32_t{p[1]} << 8) | p[2];
        auto found = index.find(key);
        if (found == index.end()) {
            if (static_cast<int>(index.size()) >= colours) return false;
            found = index.emplace(key, static_cast<uint8_t>(index.size())).first;
            out.palette.insert(out.palette.end(), p, p + 3);
        }
        out.indices.push_back(found->second);
    }
    out.palette.resize(3 * 256, 0);
    return true;
}

PaletteImage quantize(const RgbImage& image, int colours) {
    PaletteImage out;
    out.width = image.width;
    out.height = image.height;
    if (exact_palette(image, colours, out)) return out;
    out.indices.clear();
    out.palette = median_cut_palette(image, colours);
    out.indices.resize(static_cast<size_t>(image.width) * static_cast<size_t>(image.height));
    NearestColour nearest(out.palette, colours);

    // Errors for this row and the next, with one spare entry at each end.
    const size_t w = static_cast<size_t>(image.width);
    std::vector<std::array<int, 3>> here(w + 2), below(w + 2);
    for (int y = 0; y < image.height; ++y) {
        std::fill(below.begin(), below.end(), std::array<int, 3>{0, 0, 0});
        const uint8_t* row = image.row(y);
        for (size_t x = 0; x < w; ++x) {
            int want[3];
            for (int c = 0; c < 3; ++c) {
                const int error = std::clamp(here[x + 1][static_cast<size_t>(c)] / 16, -max_error, max_error);
                want[c] = std::clamp(row[3 * x + static_cast<size_t>(c)] + error, 0, 255);
            }
            const int index = nearest(want[0], want[1], want[2]);
            out.indices[static_cast<size_t>(y) * w + x] = static_cast<uint8_t>(index);
            for (int c = 0; c < 3; ++c) {
                const size_t k = static_cast<size_t>(c);
                const int error = want[c] - out.palette[3 * static_cast<size_t>(index) + k];
                here[x + 2][k] += 7 * error;
                below[x][k] += 3 * error;
                below[x + 1][k] += 5 * error;
                below[x + 2][k] += error;
            }
        }
        std::swap(here, below);
    }
    return out;
}
