// A real line edit with the numeric filter, typed into with the keyboard.

#include <QLineEdit>
#include <QTest>
#include <QToolTip>
#include <gtest/gtest.h>

#include "desktop/ui/numeric_field.h"

namespace {

TEST(NumericField, KeepsTheNumberWhenALetterFollowsIt) {
    QLineEdit field;
    float value = -1;
    bind_numeric_field(&field, [&](float v) { value = v; });
    field.show();
    QTest::keyClicks(&field, "2.5x");
    EXPECT_EQ(field.text(), "2.5");
    EXPECT_EQ(value, 2.5f);
    QTest::keyClicks(&field, "7");
    EXPECT_EQ(field.text(), "2.57");
}

TEST(NumericField, LettersTypedIntoAnEmptyFieldVanish) {
    QLineEdit field;
    bind_numeric_field(&field);
    field.show();
    QTest::keyClicks(&field, "abc");
    EXPECT_EQ(field.text(), "");
}

TEST(NumericField, ALetterTypedInTheMiddleIsTakenBackThere) {
    QLineEdit field("25");
    bind_numeric_field(&field);
    field.show();
    field.setCursorPosition(1);
    QTest::keyClicks(&field, "q");
    EXPECT_EQ(field.text(), "25");
    EXPECT_EQ(field.cursorPosition(), 1);
}

TEST(NumericField, AWholeNumberFieldRefusesAPointAndSaysSo) {
    QLineEdit field;
    float value = -1;
    bind_numeric_field(&field, [&](float v) { value = v; }, NumberForm::digits);
    field.show();
    QTest::keyClicks(&field, "12");
    EXPECT_FALSE(QToolTip::isVisible());
    QTest::keyClicks(&field, ".");
    EXPECT_EQ(field.text(), "12");
    EXPECT_TRUE(QToolTip::isVisible());
    EXPECT_TRUE(QToolTip::text().startsWith("Unacceptable Character"));
    QTest::keyClicks(&field, "5");
    EXPECT_EQ(field.text(), "125");
    EXPECT_EQ(value, 125.0f);
    QToolTip::hideText();
}

TEST(NumericField, ADecimalFieldKeepsItsFraction) {
    QLineEdit field;
    float value = -1;
    bind_numeric_field(&field, [&](float v) { value = v; }, NumberForm::decimal);
    field.show();
    QTest::keyClicks(&field, "12.5");
    EXPECT_EQ(field.text(), "12.5");
    EXPECT_EQ(value, 12.5f);
    QTest::keyClicks(&field, "e");
    EXPECT_EQ(field.text(), "12.5");
    QToolTip::hideText();
}

}  // namespace
