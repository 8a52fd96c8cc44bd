#pragma once
// The filter of every numeric text field: a keystroke that leaves text after
// the number is taken back, so a field never holds anything but a number
// (2.5x becomes 2.5, a letter in an empty field vanishes).

#include <optional>
#include <string>
#include <string_view>

inline constexpr size_t numeric_edit_max_chars = 15;

// What a field takes: any finite decimal in the C form, digits only (a
// whole number), or digits with at most one decimal point (no sign, no
// exponent).
enum class NumberForm { number, digits, decimal };

struct NumericEdit {
    std::string text;  // the field's text after the filter
    int caret = 0;     // where the caret stands afterwards
    float value = 0;   // the number, rounded to single precision; 0 without one
    bool refused = false;  // the filter took characters back
};

// Filters the text of a field whose caret (the end of its selection) stands
// at `caret`: while characters remain after the leading number, the
// character before the caret is removed. Only finite decimals in the C form
// count as numbers ("nan", "inf" and hexadecimal do not); at most 15
// characters are read. A field of digits or decimals refuses every other
// character the same way.
NumericEdit read_numeric_edit(std::string_view text, int caret, NumberForm form = NumberForm::number);

// The whole text as a finite decimal number, or nothing: for OK buttons that
// must refuse what is not a number.
std::optional<float> parse_numeric_field(std::string_view text);
