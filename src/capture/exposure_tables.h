#pragma once
// The camera's 32-bit exposure codes and the texts the user sees for them.
//
// Shutter-speed labels are exposure times, where '"' stands for seconds
// ("0\"5" is half a second); aperture labels are f-numbers without the "F".
// Several labels occur twice (two codes round to the same text); a lookup by
// label returns the first row, so the second code of such a pair can be shown
// but never chosen by its label.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

struct ExposureRow {
    const char* label;
    uint32_t code;
};

std::span<const ExposureRow> shutter_speed_table();
std::span<const ExposureRow> aperture_table();

// The label of the first row with that code; "" when none.
std::string shutter_label(uint32_t code);
// The code of the first row whose label equals `label` exactly; 0 when none.
uint32_t shutter_code(std::string_view label);
// "F" and the label of the first row with that code ("F" alone when none).
std::string aperture_label(uint32_t code);
// `text` without its first character (normally the "F"), compared exactly
// with the labels; the code of the first match, 0 when none or when `text` is
// empty.
uint32_t aperture_code(std::string_view text);
