#include "analysis/sample_file.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <algorithm>
#include <vector>

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

bool write_sample_file(const std::string& path, std::span<const float> samples) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    constexpr size_t block = 1 << 20;
    std::vector<char> buffer(block + max_fixed6_chars + 1);
    char* at = buffer.data();
    bool ok = true;
    for (float value : samples) {
        at = put_fixed6(at, value);
        *at++ = '\n';
        if (static_cast<size_t>(at - buffer.data()) >= block) {
            const size_t size = static_cast<size_t>(at - buffer.data());
            ok = ok && std::fwrite(buffer.data(), 1, size, file) == size;
            at = buffer.data();
        }
    }
    const size_t size = static_cast<size_t>(at - buffer.data());
    ok = ok && std::fwrite(buffer.data(), 1, size, file) == size;
    return std::fclose(file) == 0 && ok;
}
