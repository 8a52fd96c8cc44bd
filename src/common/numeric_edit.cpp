#include "common/numeric_edit.h"

#include <cctype>
#include <charconv>
#include <cmath>

namespace {

bool is_c_space(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

// Length of the leading number (after white space and an optional sign), 0
// when there is none; `value` receives it.
size_t leading_number(std::string_view text, double& value) {
    size_t i = 0;
    while (i < text.size() && is_c_space(text[i])) ++i;
    size_t start = i;
    if (i < text.size() && text[i] == '+') start = ++i;
    // from_chars reads "inf", "nan" and the like; a field takes digits only.
    size_t j = start;
    if (j < text.size() && text[j] == '-') ++j;
    if (j >= text.size() || !(std::isdigit(static_cast<unsigned char>(text[j])) || text[j] == '.')) return 0;
    const auto [end, error] = std::from_chars(text.data() + start, text.data() + text.size(), value,
                                              std::chars_format::general);
    if (error != std::errc() || !std::isfinite(value)) return 0;
    if (!std::isfinite(static_cast<float>(value))) return 0;
    return static_cast<size_t>(end - text.data());
}

// Length of the leading run of digits (with one decimal point when
// `point` allows it), 0 when there is none or it is not a finite float.
size_t leading_digits(std::string_view text, bool point, double& value) {
    size_t end = 0;
    bool seen_point = false, seen_digit = false;
    for (; end < text.size(); ++end) {
        const char c = text[end];
        if (std::isdigit(static_cast<unsigned char>(c))) seen_digit = true;
        else if (c == '.' && point && !seen_point) seen_point = true;
        else break;
    }
    if (!seen_digit) {
        value = 0;
        return end;  // "" or a lone "." on its way to a number
    }
    const auto [stop, error] = std::from_chars(text.data(), text.data() + end, value, std::chars_format::fixed);
    if (error != std::errc() || stop != text.data() + end || !std::isfinite(static_cast<float>(value))) return 0;
    return end;
}

size_t leading(std::string_view text, NumberForm form, double& value) {
    switch (form) {
    case NumberForm::digits: return leading_digits(text, false, value);
    case NumberForm::decimal: return leading_digits(text, true, value);
    case NumberForm::number: break;
    }
    return leading_number(text, value);
}

}  // namespace

NumericEdit read_numeric_edit(std::string_view text, int caret, NumberForm form) {
    NumericEdit edit;
    edit.text = std::string(text);
    edit.caret = caret < 0 ? 0 : (caret > static_cast<int>(text.size()) ? static_cast<int>(text.size()) : caret);
    for (;;) {
        const std::string_view read = std::string_view(edit.text).substr(0, numeric_edit_max_chars);
        double value = 0;
        const size_t used = leading(read, form, value);
        edit.value = used ? static_cast<float>(value) : 0.0f;
        if (used == read.size() || edit.caret == 0) return edit;
        edit.text.erase(static_cast<size_t>(edit.caret - 1), 1);
        --edit.caret;
        edit.refused = true;
    }
}

std::optional<float> parse_numeric_field(std::string_view text) {
    double value = 0;
    const size_t used = leading_number(text, value);
    if (used == 0) return std::nullopt;
    for (size_t i = used; i < text.size(); ++i)
        if (!is_c_space(text[i])) return std::nullopt;
    return static_cast<float>(value);
}
