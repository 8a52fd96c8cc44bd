#pragma once
// Whole-number dialog fields (sizes, offsets): read as an unsigned 32-bit
// number, the way a dialog reads an integer field.

#include <cstdint>
#include <optional>
#include <string_view>

// The decimal digits of `text` (white space around them allowed) as a number
// up to 4294967295; nothing for an empty field, a sign, a fraction, any other
// character or a larger number.
std::optional<uint32_t> parse_unsigned_field(std::string_view text);
