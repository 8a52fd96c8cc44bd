#include "lib/pixel_sampling.h"

double Rand48::next() {
    constexpr uint64_t multiplier = 0x5DEECE66DULL, increment = 0xB, mask = (1ULL << 48) - 1;
    state_ = (multiplier * state_ + increment) & mask;
    return static_cast<double>(state_) / static_cast<double>(1ULL << 48);
}

std::vector<size_t> random_pixel_indices(size_t length, size_t rows, size_t count, Rand48& random) {
    std::vector<size_t> indices(count);
    if (length == 0 || rows == 0) return {};
    long long left = static_cast<long long>(length * rows);  // pixels not yet passed
    long long row = -1;
    long long x = 0;  // pixels of this scanline not yet passed
    size_t n = count;
    while (n > 0) {
        if (x <= 0) {
            if (++row >= static_cast<long long>(rows)) break;
            x = static_cast<long long>(length);
        }
        const double draw = random.next();
        long long skip = 0;
        double chance = 0;
        // Each pixel is passed over with the chance that none of the n
        // samples left falls on it.
        while ((chance += (1.0 - chance) * static_cast<double>(n) / static_cast<double>(left - skip)) < draw) ++skip;
        if (x < ++skip) {
            left -= x;
            x = 0;
            continue;
        }
        x -= skip;
        indices[--n] = static_cast<size_t>(row) * length + static_cast<size_t>(x);
        left -= skip;
    }
    // Only a count above the number of pixels leaves places unfilled.
    indices.erase(indices.begin(), indices.begin() + static_cast<long long>(n));
    return indices;
}
