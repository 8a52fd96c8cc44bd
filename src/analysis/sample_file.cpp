#include "analysis/sample_file.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <algorithm>
#include <vector>

#include "common/parallel_bands.h"
#include "common/regular_file.h"
#include "common/text_format.h"

namespace {

// The longest text "%f" gives for a float, with room to spare.
constexpr size_t max_fixed6_chars = 64;

// Two decimal digits for every number below 100.
struct DigitPairs {
    char text[200];
    constexpr DigitPairs() : text() {
        for (int i = 0; i < 100; ++i) {
            text[2 * i] = static_cast<char>('0' + i / 10);
            text[2 * i + 1] = static_cast<char>('0' + i % 10);
        }
    }
};
constexpr DigitPairs digit_pairs;

// Writes "%f" of a non-negative float below 2^43 exactly as printf rounds it
// (to the nearest millionth, ties to even), with integer arithmetic only: the
// float is m 2^e with a 24-bit m, so its count of millionths is m 10^6 2^e.
// Returns the end of the text, or null when the value is out of that range.
char* put_fixed6_exactly(char* at, float value) {
    if (!(value >= 0.0f) || value >= 8.796093e12f) return nullptr;
    uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    const uint32_t biased = bits >> 23;
    const uint64_t mantissa = biased == 0 ? (bits & 0x7fffffu) : ((bits & 0x7fffffu) | 0x800000u);
    const int shift = biased == 0 ? 149 : 150 - static_cast<int>(biased);  // value = mantissa / 2^shift
    uint64_t millionths = mantissa * 1000000u;
    if (shift <= 0) {
        millionths <<= -shift;
    } else if (shift < 64) {
        const uint64_t kept = millionths >> shift;
        const uint64_t rest = millionths - (kept << shift);
        const uint64_t half = uint64_t{1} << (shift - 1);
        millionths = kept + ((rest > half || (rest == half && (kept & 1u))) ? 1u : 0u);
    } else {
        return nullptr;  // below 2^-40: no sample is that dark
    }
    uint64_t whole = millionths / 1000000u;
    auto fraction = static_cast<uint32_t>(millionths % 1000000u);
    // The whole part from the right, two digits at a time.
    char digits[24];
    char* d = digits + sizeof digits;
    while (whole >= 100) {
        d -= 2;
        std::memcpy(d, digit_pairs.text + 2 * (whole % 100), 2);
        whole /= 100;
    }
    if (whole >= 10) {
        d -= 2;
        std::memcpy(d, digit_pairs.text + 2 * whole, 2);
    } else {
        *--d = static_cast<char>('0' + whole);
    }
    const size_t length = static_cast<size_t>(digits + sizeof digits - d);
    std::memcpy(at, d, length);
    at += length;
    *at++ = '.';
    std::memcpy(at, digit_pairs.text + 2 * (fraction / 10000), 2);
    std::memcpy(at + 2, digit_pairs.text + 2 * (fraction / 100 % 100), 2);
    std::memcpy(at + 4, digit_pairs.text + 2 * (fraction % 100), 2);
    return at + 6;
}

char* put_fixed6(char* at, float value) {
    if (char* end = put_fixed6_exactly(at, value)) return end;
    // to_chars with a precision rounds exactly as printf does, in the C form
    // whatever the locale.
    const auto [end, error] =
        std::to_chars(at, at + max_fixed6_chars, static_cast<double>(value), std::chars_format::fixed, 6);
    if (error == std::errc()) return end;
    const std::string text = format_fixed6(value);
    std::memcpy(at, text.data(), std::min(text.size(), max_fixed6_chars));
    return at + std::min(text.size(), max_fixed6_chars);
}

}  // namespace

void append_fixed6(std::string& out, float value) {
    char text[max_fixed6_chars];
    out.append(text, put_fixed6(text, value));
}

namespace {

// Samples formatted by one thread at a time, and how many such blocks are
// formatted in one round while the round before is written.
constexpr size_t samples_per_block = size_t{1} << 14;

// The lines of samples[first, last) appended at `at`; returns the end.
// Sorted samples repeat, and a repeated value repeats its text.
char* put_lines(char* at, std::span<const float> samples) {
    float previous = 0;
    char previous_text[max_fixed6_chars + 1];
    size_t previous_size = 0;
    for (const float value : samples) {
        if (previous_size > 0 && std::memcmp(&value, &previous, sizeof value) == 0) {
            std::memcpy(at, previous_text, previous_size);
            at += previous_size;
            continue;
        }
        char* end = put_fixed6(at, value);
        *end++ = '\n';
        previous = value;
        previous_size = static_cast<size_t>(end - at);
        std::memcpy(previous_text, at, previous_size);
        at = end;
    }
    return at;
}

}  // namespace

bool write_sample_file(const std::string& path, std::span<const float> samples) {
    std::FILE* file = create_output_file(path);
    if (!file) return false;
    const size_t blocks = (samples.size() + samples_per_block - 1) / samples_per_block;
    const size_t per_round = 2 * band_workers();
    // Two rounds of text: one being written while the next is formatted.
    std::vector<std::unique_ptr<char[]>> text[2];
    std::vector<size_t> used[2];
    for (int r = 0; r < 2; ++r) {
        for (size_t b = 0; b < per_round; ++b)
            text[r].emplace_back(new char[samples_per_block * (max_fixed6_chars + 1)]);
        used[r].assign(per_round, 0);
    }
    bool ok = true;
    auto write_round = [&](int r, size_t count) {
        for (size_t i = 0; i < count; ++i)
            ok = ok && std::fwrite(text[r][i].get(), 1, used[r][i], file) == used[r][i];
    };
    BandPool pool;
    size_t pending = 0;  // blocks of the other round still to write
    int round = 0;
    for (size_t first = 0; first < blocks; first += per_round, round ^= 1) {
        const size_t count = std::min(per_round, blocks - first);
        const std::function<void(size_t, size_t)> format = [&, first, round](size_t b, size_t) {
            const size_t begin = (first + b) * samples_per_block;
            const size_t end = std::min(samples.size(), begin + samples_per_block);
            char* start = text[round][b].get();
            used[round][b] = static_cast<size_t>(put_lines(start, samples.subspan(begin, end - begin)) - start);
        };
        pool.start(count, 1, format);
        write_round(round ^ 1, pending);
        pool.finish();
        pending = count;
    }
    write_round(round ^ 1, pending);
    return std::fclose(file) == 0 && ok;
}
