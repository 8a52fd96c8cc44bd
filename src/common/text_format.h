#pragma once
// Number and text formatting with names that say what they produce. Values a
// person or a file reads are formatted only through these.

#include <string>
#include <string_view>

// printf into a std::string.
std::string strprintf(const char* format, ...) __attribute__((format(printf, 1, 2)));

// As a default C++ stream prints a float: at most six significant digits,
// fixed or exponent notation, whichever is shorter.
std::string format_default(float value);

// The fewest digits that read back as the same float ("0.33333334", "2000",
// "1e-07"): for a number a program reads again, so nothing is lost on the way.
std::string format_shortest(float value);

// "%f": six decimals.
std::string format_fixed6(double value);

// The decimal number at the start of `text` (after white space; a sign
// allowed), in the C locale's form whatever the user's locale; 0 when there
// is none. Hexadecimal is not read: "0x10" is 0.
float parse_decimal_float(std::string_view text);

// The decimal number at the start of `text` as strtod reads it in the C
// locale (white space and a sign allowed, hexadecimal not): how many
// characters it took, 0 when there is none.
size_t parse_decimal_prefix(std::string_view text, double& value);

// True when `text` contains `needle` anywhere.
inline bool contains(std::string_view text, std::string_view needle) {
    return text.find(needle) != std::string_view::npos;
}

inline bool starts_with(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}
