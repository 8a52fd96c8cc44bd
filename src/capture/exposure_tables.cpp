#include "capture/exposure_tables.h"

#include <array>

namespace {

// In the camera's order, from long to short; nothing slower than 2 seconds.
constexpr std::array<ExposureRow, 57> shutter_rows{{
    {"2\"", 0x30},     {"1\"6", 0x33},    {"1\"5", 0x34},    {"1\"3", 0x35},    {"1\"", 0x38},
    {"0\"8", 0x3B},    {"0\"7", 0x3C},    {"0\"6", 0x3D},    {"0\"5", 0x40},    {"0\"4", 0x43},
    {"0\"3", 0x44},    {"0\"3", 0x45},    {"1/4", 0x48},     {"1/5", 0x4B},     {"1/6", 0x4C},
    {"1/6", 0x4D},     {"1/8", 0x50},     {"1/10", 0x53},    {"1/10", 0x54},    {"1/13", 0x55},
    {"1/15", 0x58},    {"1/20", 0x5B},    {"1/20", 0x5C},    {"1/25", 0x5D},    {"1/30", 0x60},
    {"1/40", 0x63},    {"1/45", 0x64},    {"1/50", 0x65},    {"1/60", 0x68},    {"1/80", 0x6B},
    {"1/90", 0x6C},    {"1/100", 0x6D},   {"1/125", 0x70},   {"1/160", 0x73},   {"1/180", 0x74},
    {"1/200", 0x75},   {"1/250", 0x78},   {"1/320", 0x7B},   {"1/350", 0x7C},   {"1/400", 0x7D},
    {"1/500", 0x80},   {"1/640", 0x83},   {"1/750", 0x84},   {"1/800", 0x85},   {"1/1000", 0x88},
    {"1/1250", 0x8B},  {"1/1500", 0x8C},  {"1/1600", 0x8D},  {"1/2000", 0x90},  {"1/2500", 0x93},
    {"1/3000", 0x94},  {"1/3200", 0x95},  {"1/4000", 0x98},  {"1/5000", 0x9B},  {"1/6000", 0x9C},
    {"1/6400", 0x9D},  {"1/8000", 0xA0},
}};

constexpr std::array<ExposureRow, 53> aperture_rows{{
    {"1", 0x08},   {"1.1", 0x0B}, {"1.2", 0x0C}, {"1.2", 0x0D}, {"1.4", 0x10}, {"1.6", 0x13}, {"1.8", 0x14},
    {"1.8", 0x15}, {"2", 0x18},   {"2.2", 0x1B}, {"2.5", 0x1C}, {"2.5", 0x1D}, {"2.8", 0x20}, {"3.2", 0x23},
    {"3.5", 0x24}, {"3.5", 0x25}, {"4", 0x28},   {"4.5", 0x2B}, {"4.5", 0x2C}, {"5.0", 0x2D}, {"5.6", 0x30},
    {"6.3", 0x33}, {"6.7", 0x34}, {"7.1", 0x35}, {"8", 0x38},   {"9", 0x3B},   {"9.5", 0x3C}, {"10", 0x3D},
    {"11", 0x40},  {"13", 0x43},  {"13", 0x44},  {"14", 0x45},  {"16", 0x48},  {"18", 0x4B},  {"19", 0x4C},
    {"20", 0x4D},  {"22", 0x50},  {"25", 0x53},  {"27", 0x54},  {"29", 0x55},  {"32", 0x58},  {"36", 0x5B},
    {"38", 0x5C},  {"40", 0x5D},  {"45", 0x60},  {"51", 0x63},  {"54", 0x64},  {"57", 0x65},  {"64", 0x68},
    {"72", 0x6B},  {"76", 0x6C},  {"80", 0x6D},  {"91", 0x70},
}};

const char* label_of(std::span<const ExposureRow> rows, uint32_t code) {
    for (const ExposureRow& row : rows)
        if (row.code == code) return row.label;
    return "";
}

uint32_t code_of(std::span<const ExposureRow> rows, std::string_view label) {
    for (const ExposureRow& row : rows)
        if (label == row.label) return row.code;
    return 0;
}

// The length in bytes of the UTF-8 character that `text` starts with, so that
// a prefix such as "ƒ" is dropped whole.
size_t first_character_length(std::string_view text) {
    const auto lead = static_cast<unsigned char>(text.front());
    size_t length = lead < 0xC0 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    return length < text.size() ? length : text.size();
}

}  // namespace

std::span<const ExposureRow> shutter_speed_table() { return shutter_rows; }
std::span<const ExposureRow> aperture_table() { return aperture_rows; }

std::string shutter_label(uint32_t code) { return label_of(shutter_rows, code); }

uint32_t shutter_code(std::string_view label) { return code_of(shutter_rows, label); }

std::string aperture_label(uint32_t code) { return std::string("F") + label_of(aperture_rows, code); }

uint32_t aperture_code(std::string_view text) {
    if (text.empty()) return 0;
    return code_of(aperture_rows, text.substr(first_character_length(text)));
}
