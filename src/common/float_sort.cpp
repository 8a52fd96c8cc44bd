#include "common/float_sort.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <bit>
#include <cstdint>
#include <memory>
#include <vector>

#include "common/huge_pages.h"
#include "common/parallel_bands.h"

// One pass over memory sorts the values by their top bits into buckets (the
// sign, the exponent and a few mantissa bits: luminance values spread over
// many of them), then each bucket, most often small enough for a core's
// cache, is sorted on its own by its lower bits. Moving every value through
// memory twice costs much less than the four passes of a plain radix sort.

namespace {

constexpr int top_bits = 12;
constexpr size_t top_buckets = size_t{1} << top_bits;
constexpr int low_bits = 32 - top_bits;
constexpr int low_digit_bits = low_bits / 2;  // two passes over a bucket
constexpr size_t low_buckets = size_t{1} << low_digit_bits;
// Buckets sorted by std::sort rather than counted.
constexpr size_t small_bucket = 256;

uint32_t bits_of(float value) { return std::bit_cast<uint32_t>(value); }
uint32_t top_digit(float value) { return bits_of(value) >> low_bits; }

// Sorts `from` by the low bits into `to`, through `spare` (all of one size),
// in two stable counting passes.
void sort_bucket(const float* from, float* spare, float* to, size_t n) {
    if (n <= small_bucket) {
        std::copy(from, from + n, to);
        std::sort(to, to + n);
        return;
    }
    std::array<size_t, low_buckets> low{}, high{};
    for (size_t i = 0; i < n; ++i) {
        const uint32_t b = bits_of(from[i]);
        ++low[b & (low_buckets - 1)];
        ++high[(b >> low_digit_bits) & (low_buckets - 1)];
    }
    size_t at_low = 0, at_high = 0;
    for (size_t d = 0; d < low_buckets; ++d) {
        const size_t l = low[d], h = high[d];
        low[d] = at_low;
        high[d] = at_high;
        at_low += l;
        at_high += h;
    }
    for (size_t i = 0; i < n; ++i) spare[low[bits_of(from[i]) & (low_buckets - 1)]++] = from[i];
    for (size_t i = 0; i < n; ++i) to[high[(bits_of(spare[i]) >> low_digit_bits) & (low_buckets - 1)]++] = spare[i];
}

using TopCounts = std::array<size_t, top_buckets>;

}  // namespace

bool sort_positive_floats(std::span<float> values) {
    const size_t n = values.size();
    if (n < 2) return true;
    // Parts of at least a million values each: below that one core is as
    // quick as two.
    const size_t parts = std::clamp<size_t>(n / (size_t{1} << 20), 1, band_workers());
    const size_t part = (n + parts - 1) / parts;
    auto part_range = [&](size_t p) { return std::pair{p * part, std::min(n, (p + 1) * part)}; };

    std::vector<TopCounts> counts(parts);
    std::atomic<bool> all_positive{true};
    run_in_bands(parts, 1, [&](size_t p, size_t) {
        auto [first, last] = part_range(p);
        TopCounts& c = counts[p];
        c.fill(0);
        bool positive = true;
        for (size_t i = first; i < last; ++i) {
            positive &= values[i] > 0.0f;
            ++c[top_digit(values[i])];
        }
        if (!positive) all_positive = false;
    });
    if (!all_positive) return false;

    // Where each part's values of each bucket go: after every lower bucket,
    // and after the same bucket's values of the parts before (so the move is
    // stable whoever does it).
    std::vector<TopCounts> start(parts);
    std::vector<size_t> bucket_start(top_buckets + 1);
    size_t at = 0;
    for (size_t b = 0; b < top_buckets; ++b) {
        bucket_start[b] = at;
        for (size_t p = 0; p < parts; ++p) {
            start[p][b] = at;
            at += counts[p][b];
        }
    }
    bucket_start[top_buckets] = at;

    std::unique_ptr<float[]> moved(new float[n]);
    advise_huge_pages(moved.get(), n * sizeof(float));
    run_in_bands(parts, 1, [&](size_t p, size_t) {
        auto [first, last] = part_range(p);
        TopCounts& next = start[p];
        for (size_t i = first; i < last; ++i) moved[next[top_digit(values[i])]++] = values[i];
    });

    // Then each bucket, the buckets shared out one at a time.
    std::vector<size_t> filled;
    for (size_t b = 0; b < top_buckets; ++b) {
        const size_t size = bucket_start[b + 1] - bucket_start[b];
        if (size == 0) continue;
        filled.push_back(b);
    }
    run_in_bands(filled.size(), 1, [&](size_t first, size_t last) {
        for (size_t i = first; i < last; ++i) {
            const size_t b = filled[i];
            const size_t begin = bucket_start[b], size = bucket_start[b + 1] - begin;
            std::unique_ptr<float[]> spare(new float[size]);
            sort_bucket(moved.get() + begin, spare.get(), values.data() + begin, size);
        }
    });
    return true;
}
