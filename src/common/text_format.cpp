#include "common/text_format.h"

#include <charconv>
#include <cmath>
#include <clocale>
#include <cstdarg>
#include <cstdio>
#include <locale>
#include <sstream>

#include <locale.h>

namespace {

// Switches this thread to the C locale for as long as it lives, so that
// numbers come out as "2.5" even when the user's locale writes "2,5".
class CLocaleScope {
public:
    CLocaleScope() : previous_(c_locale() ? uselocale(c_locale()) : nullptr) {}
    ~CLocaleScope() {
        if (previous_) uselocale(previous_);
    }
    CLocaleScope(const CLocaleScope&) = delete;
    CLocaleScope& operator=(const CLocaleScope&) = delete;

private:
    static locale_t c_locale() {
        static const locale_t locale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
        return locale;
    }
    locale_t previous_;
};

bool is_c_space(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

}  // namespace

std::string strprintf(const char* format, ...) {
    const CLocaleScope c_numbers;
    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    const int size = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    std::string out;
    if (size > 0) {
        out.resize(static_cast<size_t>(size) + 1);
        std::vsnprintf(out.data(), out.size(), format, args);
        out.resize(static_cast<size_t>(size));
    }
    va_end(args);
    return out;
}

std::string format_shortest(float value) {
    char text[64];
    const auto [end, error] = std::to_chars(text, text + sizeof text, value);
    if (error != std::errc()) return format_default(value);
    return std::string(text, end);
}

std::string format_default(float value) {
    std::ostringstream stream;
    stream.imbue(std::locale::classic());
    stream << value;
    return stream.str();
}

std::string format_fixed6(double value) { return strprintf("%f", value); }

size_t parse_decimal_prefix(std::string_view text, double& value) {
    size_t i = 0;
    while (i < text.size() && is_c_space(text[i])) ++i;
    if (i < text.size() && text[i] == '+') ++i;
    const auto [end, error] = std::from_chars(text.data() + i, text.data() + text.size(), value);
    if (error == std::errc::result_out_of_range) {
        // As strtod: an overflow is infinite, an underflow zero; the text is taken.
        const size_t digits_end = text.find_first_not_of("0123456789.eE+-", i);
        const std::string_view digits = text.substr(i, digits_end == std::string_view::npos ? std::string_view::npos : digits_end - i);
        const bool tiny = digits.find("e-") != std::string_view::npos || digits.find("E-") != std::string_view::npos;
        value = tiny ? 0.0 : (i < text.size() && text[i] == '-' ? -HUGE_VAL : HUGE_VAL);
        return i + digits.size();
    }
    if (error != std::errc()) return 0;
    return static_cast<size_t>(end - text.data());
}

float parse_decimal_float(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && is_c_space(text[i])) ++i;
    if (i < text.size() && text[i] == '+') ++i;
    float value = 0.0f;
    const auto [end, error] = std::from_chars(text.data() + i, text.data() + text.size(), value);
    if (error == std::errc::result_out_of_range) {
        // As strtof: an overflow is infinite, an underflow zero.
        const bool negative = i < text.size() && text[i] == '-';
        const std::string_view digits = text.substr(i);
        const bool tiny = digits.find("e-") != std::string_view::npos || digits.find("E-") != std::string_view::npos;
        if (tiny) return 0.0f;
        return negative ? -HUGE_VALF : HUGE_VALF;
    }
    if (error != std::errc()) return 0.0f;
    return value;
}
