// Whole-number fields: digits only, up to the largest unsigned 32-bit number.

#include <gtest/gtest.h>

#include "common/unsigned_field.h"

namespace {

TEST(UnsignedField, ReadsDigitsWithBlanksAround) {
    EXPECT_EQ(parse_unsigned_field("1000"), 1000u);
    EXPECT_EQ(parse_unsigned_field(" 0 "), 0u);
    EXPECT_EQ(parse_unsigned_field("4294967295"), 4294967295u);
}

TEST(UnsignedField, RefusesEverythingElse) {
    for (const char* text : {"", " ", "-1", "+1", "1.5", "12a", "0x10", "4294967296", "1 2"})
        EXPECT_EQ(parse_unsigned_field(text), std::nullopt) << text;
}

}  // namespace
