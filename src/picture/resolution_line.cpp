#include "picture/resolution_line.h"

#include <cctype>
#include <climits>

#include "common/text_format.h"

namespace {

// Decimal integer after `pos`: white space skipped, optional sign, digits.
std::optional<long> integer_after(std::string_view line, size_t pos) {
    size_t i = pos;
    while (i < line.size() && std::isspace(static_cast<unsigned char>(line[i]))) ++i;
    bool negative = false;
    if (i < line.size() && (line[i] == '+' || line[i] == '-')) negative = line[i++] == '-';
    if (i >= line.size() || !std::isdigit(static_cast<unsigned char>(line[i]))) return std::nullopt;
    long value = 0;
    while (i < line.size() && std::isdigit(static_cast<unsigned char>(line[i]))) {
        value = value * 10 + (line[i] - '0');
        if (value > INT_MAX) return std::nullopt;
        ++i;
    }
    return negative ? -value : value;
}

}  // namespace

std::optional<ResolutionLine> parse_resolution_line(std::string_view line) {
    const size_t x = line.rfind('X');
    const size_t y = line.rfind('Y');
    if (x == std::string_view::npos || y == std::string_view::npos) return std::nullopt;

    ResolutionLine result;
    if (y < x) result.flags |= ResolutionLine::y_major;
    if (x > 0 && line[x - 1] == '-') result.flags |= ResolutionLine::x_decreasing;
    if (y > 0 && line[y - 1] == '-') result.flags |= ResolutionLine::y_decreasing;

    const auto x_number = integer_after(line, x + 1);
    if (!x_number || *x_number <= 0) return std::nullopt;
    const auto y_number = integer_after(line, y + 1);
    if (!y_number || *y_number <= 0) return std::nullopt;

    if (result.flags & ResolutionLine::y_major) {
        result.scanline_length = static_cast<int>(*x_number);
        result.scanline_count = static_cast<int>(*y_number);
    } else {
        result.scanline_length = static_cast<int>(*y_number);
        result.scanline_count = static_cast<int>(*x_number);
    }
    return result;
}

std::string ResolutionLine::to_string() const {
    const char x_sign = (flags & x_decreasing) ? '-' : '+';
    const char y_sign = (flags & y_decreasing) ? '-' : '+';
    if (flags & y_major)
        return strprintf("%cY %d %cX %d", y_sign, scanline_count, x_sign, scanline_length);
    return strprintf("%cX %d %cY %d", x_sign, scanline_count, y_sign, scanline_length);
}
