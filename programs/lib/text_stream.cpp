#include "lib/text_stream.h"

#include <bit>
#include <charconv>
#include <cmath>
#include <cstring>

LineReader::LineReader(std::FILE* file, size_t block_size) : file_(file), buffer_(block_size) {}

bool LineReader::next(std::string_view& line) {
    for (;;) {
        const char* start = buffer_.data() + begin_;
        const void* newline = std::memchr(start, '\n', end_ - begin_);
        if (newline) {
            const size_t length = static_cast<size_t>(static_cast<const char*>(newline) - start);
            line = std::string_view(start, length);
            begin_ += length + 1;
            return true;
        }
        if (at_end_) {
            if (begin_ == end_) return false;
            line = std::string_view(start, end_ - begin_);
            begin_ = end_;
            return true;
        }
        // Move the partial line to the front, grow if one line fills the
        // whole buffer, and read more.
        const size_t kept = end_ - begin_;
        std::memmove(buffer_.data(), start, kept);
        begin_ = 0;
        end_ = kept;
        if (end_ == buffer_.size()) buffer_.resize(2 * buffer_.size());
        const size_t got = std::fread(buffer_.data() + end_, 1, buffer_.size() - end_, file_);
        if (got == 0) {
            at_end_ = true;
            failed_ = std::ferror(file_) != 0;
        }
        end_ += got;
    }
}

TextWriter::TextWriter(std::FILE* file, size_t block_size) : file_(file), buffer_(block_size) {}

void TextWriter::flush() {
    if (used_ > 0 && !failed_ && std::fwrite(buffer_.data(), 1, used_, file_) != used_) failed_ = true;
    used_ = 0;
    if (!failed_ && std::fflush(file_) != 0) failed_ = true;
}

namespace {

constexpr double powers_of_ten[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                    1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
constexpr int exact_powers = 22;
constexpr char digit_pairs[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";
constexpr int max_exact_digits = 15;
// 10^-30 .. 10^30, nearest doubles: enough to tell which decade a value is
// in, the scaling below checks it.
constexpr int decades = 30;
constexpr double decade_starts[2 * decades + 1] = {
    1e-30, 1e-29, 1e-28, 1e-27, 1e-26, 1e-25, 1e-24, 1e-23, 1e-22, 1e-21, 1e-20, 1e-19, 1e-18, 1e-17, 1e-16, 1e-15,
    1e-14, 1e-13, 1e-12, 1e-11, 1e-10, 1e-9,  1e-8,  1e-7,  1e-6,  1e-5,  1e-4,  1e-3,  1e-2,  1e-1,  1e0,   1e1,
    1e2,   1e3,   1e4,   1e5,   1e6,   1e7,   1e8,   1e9,   1e10,  1e11,  1e12,  1e13,  1e14,  1e15,  1e16,  1e17,
    1e18,  1e19,  1e20,  1e21,  1e22,  1e23,  1e24,  1e25,  1e26,  1e27,  1e28,  1e29,  1e30};

const char* read_number_slowly(const char* at, const char* end, double& value) {
    const char* from = at < end && *at == '+' ? at + 1 : at;
    const auto result = std::from_chars(from, end, value);
    return result.ec == std::errc() || result.ec == std::errc::result_out_of_range ? result.ptr : at;
}

// Strips trailing zeros (and a bare decimal point) from the digits just
// written after `point`.
char* strip_zeros(char* point, char* end) {
    while (end > point + 1 && end[-1] == '0') --end;
    if (end == point + 1) --end;
    return end;
}

// The `precision` significant digits of `magnitude` and its decimal
// exponent, found by scaling with one exact power of ten; false when that
// cannot be trusted (no exact power, or too close to a rounding tie).
bool decimal_digits(double magnitude, int precision, uint64_t& digits, int& exponent) {
    const double top = powers_of_ten[precision];
    // log10 from the binary exponent: at most one too small, which the
    // first comparison below corrects.
    const int binary = static_cast<int>((std::bit_cast<uint64_t>(magnitude) >> 52) & 0x7ff) - 1023;
    exponent = (binary * 78913) >> 18;  // floor(binary * log10(2)) for |binary| < 1700
    if (exponent + 1 >= -decades && exponent + 1 <= decades && magnitude >= decade_starts[exponent + 1 + decades])
        ++exponent;
    for (int attempt = 0; attempt < 3; ++attempt) {
        const int shift = precision - 1 - exponent;
        if (shift > exact_powers || shift < -exact_powers) return false;
        const double scaled = shift >= 0 ? magnitude * powers_of_ten[shift] : magnitude / powers_of_ten[-shift];
        if (scaled >= top) {
            ++exponent;
            continue;
        }
        if (scaled < top / 10) {
            --exponent;
            continue;
        }
        // One correct rounding leaves scaled within 1e-7 of the exact
        // product, so a fraction clear of one half rounds as printf does.
        const int64_t truncated = static_cast<int64_t>(scaled);  // below 10^9: fits
        const double rest = scaled - static_cast<double>(truncated);
        if (std::fabs(rest - 0.5) < 1e-6) return false;
        digits = static_cast<uint64_t>(truncated) + (rest > 0.5 ? 1 : 0);
        if (digits == static_cast<uint64_t>(top)) {
            digits /= 10;
            ++exponent;
        }
        return true;
    }
    return false;
}

}  // namespace

char* write_general(char* at, double value, int precision) {
    const double magnitude = std::fabs(value);
    uint64_t digits = 0;
    int exponent = 0;
    if (precision < 1 || precision > 9 || !(magnitude >= 1e-300 && magnitude < 1e300) ||
        !decimal_digits(magnitude, precision, digits, exponent))
        return std::to_chars(at, at + 32, value, std::chars_format::general, precision).ptr;

    char text[16];
    uint32_t rest = static_cast<uint32_t>(digits);  // below 10^9
    int i = precision;
    for (; i >= 2; i -= 2, rest /= 100) std::memcpy(text + i - 2, digit_pairs + 2 * (rest % 100), 2);
    if (i == 1) text[0] = static_cast<char>('0' + rest);
    if (value < 0) *at++ = '-';
    if (exponent < -4 || exponent >= precision) {
        *at++ = text[0];
        char* point = at;
        *at++ = '.';
        for (int i = 1; i < precision; ++i) *at++ = text[i];
        at = strip_zeros(point, at);
        *at++ = 'e';
        *at++ = exponent < 0 ? '-' : '+';
        const int e = exponent < 0 ? -exponent : exponent;
        if (e >= 100) *at++ = static_cast<char>('0' + e / 100);
        *at++ = static_cast<char>('0' + e / 10 % 10);
        *at++ = static_cast<char>('0' + e % 10);
        return at;
    }
    if (exponent < 0) {
        *at++ = '0';
        char* point = at;
        *at++ = '.';
        for (int i = 0; i < -exponent - 1; ++i) *at++ = '0';
        for (int i = 0; i < precision; ++i) *at++ = text[i];
        return strip_zeros(point, at);
    }
    for (int i = 0; i <= exponent; ++i) *at++ = text[i];
    char* point = at;
    *at++ = '.';
    for (int i = exponent + 1; i < precision; ++i) *at++ = text[i];
    return strip_zeros(point, at);
}

const char* read_number(const char* at, const char* end, double& value) {
    const char* p = at;
    bool negative = false;
    if (p < end && (*p == '+' || *p == '-')) negative = *p++ == '-';
    uint64_t digits = 0;
    int count = 0, fraction = 0;
    const char* first = p;
    while (p < end && *p >= '0' && *p <= '9') {
        digits = digits * 10 + static_cast<uint64_t>(*p++ - '0');
        if (digits != 0) ++count;
    }
    if (p < end && *p == '.') {
        ++p;
        while (p < end && *p >= '0' && *p <= '9') {
            digits = digits * 10 + static_cast<uint64_t>(*p++ - '0');
            if (digits != 0) ++count;
            ++fraction;
        }
    }
    const bool plain = p > first && !(p == first + 1 && *first == '.') && count <= max_exact_digits &&
                       fraction <= exact_powers && !(p < end && (*p == 'e' || *p == 'E'));
    if (!plain) return read_number_slowly(at, end, value);
    value = static_cast<double>(digits) / powers_of_ten[fraction];
    if (negative) value = -value;
    return p;
}
