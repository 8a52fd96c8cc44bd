#pragma once
// Sums of a per-pixel value over discs of one radius in pixels, from running
// sums along each row: one row segment per disc row. A disc reaching past
// the last column or row leaves that column or row out altogether, as
// evalglare's smoothing has always clipped its window.

#include <algorithm>
#include <cmath>
#include <vector>

class DiscSums {
public:
    // Pixels (i', j') belong to the disc around (i, j) when
    // (i' - i)² + (j' - j)² ≤ radius².
    struct Box {
        int i0 = 0, j0 = 0, i1 = -1, j1 = -1;  // inclusive
    };

    DiscSums(double radius, int width, int height) : radius_(radius), width_(width), height_(height) {
        reach_ = int(std::floor(radius));
        for (int d = -reach_; d <= reach_; ++d)
            half_width_.push_back(int(std::floor(std::sqrt(std::max(0.0, radius * radius - double(d) * d)))));
    }

    int reach() const { return reach_; }

    // Running sums of `values` over the box, row by row: entry
    // (j - j0) * (i1 - i0 + 2) + (i - i0) is the sum of the row's values
    // left of column i; `value(i, j)` gives a pixel's value.
    template <typename Value>
    std::vector<double> running_sums(const Box& box, Value&& value) const {
        const int row_width = box.i1 - box.i0 + 2;
        std::vector<double> sums(size_t(row_width) * size_t(box.j1 - box.j0 + 1), 0.0);
        for (int j = box.j0; j <= box.j1; ++j) {
            double* row = sums.data() + size_t(j - box.j0) * size_t(row_width);
            for (int i = box.i0; i <= box.i1; ++i) row[i - box.i0 + 1] = row[i - box.i0] + value(i, j);
        }
        return sums;
    }

    // The disc sum around (i, j), the disc clipped to the box the running
    // sums cover.
    double sum(const std::vector<double>& sums, const Box& box, int i, int j) const {
        const int row_width = box.i1 - box.i0 + 2;
        const int last_column = int(i + radius_) > width_ - 1 ? width_ - 2 : width_ - 1;
        const int last_row = int(j + radius_) > height_ - 1 ? height_ - 2 : height_ - 1;
        double total = 0;
        for (int d = -reach_; d <= reach_; ++d) {
            const int row = j + d;
            if (row < box.j0 || row > std::min(box.j1, last_row)) continue;
            const int a = std::max(i - half_width_[size_t(d + reach_)], box.i0);
            const int b = std::min({i + half_width_[size_t(d + reach_)], box.i1, last_column});
            if (a > b) continue;
            const double* r = sums.data() + size_t(row - box.j0) * size_t(row_width);
            total += r[b - box.i0 + 1] - r[a - box.i0];
        }
        return total;
    }

private:
    double radius_;
    int width_, height_;
    int reach_ = 0;
    std::vector<int> half_width_;
};
