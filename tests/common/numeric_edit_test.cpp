// The numeric field filter, keystroke by keystroke.

#include <gtest/gtest.h>

#include "common/numeric_edit.h"
#include "support/comma_locale.h"

namespace {

// Types `keys` one by one at the end of the field, filtering after each.
NumericEdit type(const std::string& keys) {
    NumericEdit edit;
    for (char key : keys) {
        edit.text.insert(static_cast<size_t>(edit.caret), 1, key);
        edit = read_numeric_edit(edit.text, edit.caret + 1);
    }
    return edit;
}

// The same, in a field that takes only the given form.
NumericEdit type_in(NumberForm form, const std::string& keys) {
    NumericEdit edit;
    bool refused = false;
    for (char key : keys) {
        edit.text.insert(static_cast<size_t>(edit.caret), 1, key);
        edit = read_numeric_edit(edit.text, edit.caret + 1, form);
        refused = refused || edit.refused;
    }
    edit.refused = refused;
    return edit;
}

TEST(NumericEdit, ADigitsFieldTakesDigitsOnly) {
    const NumericEdit edit = type_in(NumberForm::digits, "12.5");
    EXPECT_EQ(edit.text, "125");
    EXPECT_EQ(edit.value, 125.0f);
    EXPECT_TRUE(edit.refused);
    EXPECT_EQ(type_in(NumberForm::digits, "-3").text, "3");
    EXPECT_EQ(type_in(NumberForm::digits, "+3").text, "3");
    EXPECT_EQ(type_in(NumberForm::digits, "1e5").text, "15");
    EXPECT_EQ(type_in(NumberForm::digits, " 7").text, "7");
    EXPECT_FALSE(type_in(NumberForm::digits, "100").refused);
    EXPECT_EQ(type_in(NumberForm::digits, "").value, 0.0f);
}

TEST(NumericEdit, ADecimalFieldTakesOnePointAndNoSignOrExponent) {
    const NumericEdit edit = type_in(NumberForm::decimal, "12.5");
    EXPECT_EQ(edit.text, "12.5");
    EXPECT_EQ(edit.value, 12.5f);
    EXPECT_FALSE(edit.refused);
    EXPECT_EQ(type_in(NumberForm::decimal, "1.2.5").text, "1.25");
    EXPECT_EQ(type_in(NumberForm::decimal, "-2").text, "2");
    EXPECT_EQ(type_in(NumberForm::decimal, "2e3").text, "23");
    EXPECT_EQ(type_in(NumberForm::decimal, ".5").value, 0.5f);
    EXPECT_EQ(type_in(NumberForm::decimal, ".").value, 0.0f);
    EXPECT_TRUE(type_in(NumberForm::decimal, "x").refused);
}

TEST(NumericEdit, TakesBackAKeystrokeThatLeavesTextAfterTheNumber) {
    const NumericEdit edit = type("2.5x");
    EXPECT_EQ(edit.text, "2.5");
    EXPECT_EQ(edit.value, 2.5f);
    EXPECT_EQ(type("a").text, "");
    EXPECT_EQ(type("a").value, 0.0f);
    EXPECT_EQ(type("12a3").text, "123");
}

TEST(NumericEdit, RemovesTheCharacterBeforeTheCaretNotTheLastOne) {
    // "x" typed in the middle of "25" at position 1.
    const NumericEdit edit = read_numeric_edit("2x5", 2);
    EXPECT_EQ(edit.text, "25");
    EXPECT_EQ(edit.caret, 1);
    EXPECT_EQ(edit.value, 25.0f);
}

TEST(NumericEdit, AcceptsOnlyFiniteDecimals) {
    EXPECT_EQ(type("nan").text, "");
    EXPECT_EQ(type("inf").text, "");
    EXPECT_EQ(type("0x1").text, "01");
    EXPECT_EQ(read_numeric_edit("1e99", 4).text, "1e9");  // beyond single precision
    EXPECT_EQ(type("1e5").text, "15");  // "1e" is not yet a number, as in a plain C reader
    EXPECT_EQ(read_numeric_edit("1e5", 3).value, 100000.0f);
}

TEST(NumericEdit, ReadsAtMostFifteenCharacters) {
    const NumericEdit edit = read_numeric_edit("1234567890123456", 16);
    EXPECT_EQ(edit.value, 123456789012345.0f);
}

TEST(NumericEdit, ReadsTheCFormUnderACommaLocale) {
    CommaLocale german;
    SKIP_WITHOUT_COMMA_LOCALE(german);
    EXPECT_EQ(type("0.25").value, 0.25f);
    EXPECT_EQ(parse_numeric_field("2.5"), 2.5f);
}

TEST(ParseNumericField, WantsTheWholeTextToBeAFiniteNumber) {
    EXPECT_EQ(parse_numeric_field(" 2.5 "), 2.5f);
    EXPECT_EQ(parse_numeric_field("-3"), -3.0f);
    EXPECT_FALSE(parse_numeric_field(""));
    EXPECT_FALSE(parse_numeric_field("2.5x"));
    EXPECT_FALSE(parse_numeric_field("nan"));
    EXPECT_FALSE(parse_numeric_field("1e39"));  // beyond single precision
}

}  // namespace
