#include "exif_block.h"

#include <cmath>
#include <vector>

namespace sim {

namespace {

enum Type : uint16_t { ascii = 2, short_type = 3, long_type = 4, rational = 5, undefined = 7 };

struct Entry {
    uint16_t tag;
    uint16_t type;
    uint32_t count;
    std::string data;  // the value's bytes, little-endian
};

void put16(std::string& out, uint16_t value) {
    out += static_cast<char>(value & 0xFF);
    out += static_cast<char>(value >> 8);
}

void put32(std::string& out, uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) out += static_cast<char>((value >> shift) & 0xFF);
}

Entry text(uint16_t tag, const std::string& value) {
    return {tag, ascii, static_cast<uint32_t>(value.size() + 1), value + '\0'};
}

Entry fraction(uint16_t tag, double value) {
    uint32_t numerator = 0, denominator = 1;
    exif_rational(value, numerator, denominator);
    std::string data;
    put32(data, numerator);
    put32(data, denominator);
    return {tag, rational, 1, data};
}

Entry whole(uint16_t tag, uint16_t value) {
    std::string data;
    put16(data, value);
    return {tag, short_type, 1, data};
}

// One IFD at `offset` (from the TIFF header) with values that do not fit in
// four bytes placed right after it. `next_ifd` links the following IFD.
std::string ifd(const std::vector<Entry>& entries, uint32_t offset) {
    std::string table, values;
    const uint32_t values_at = offset + 2 + 12 * static_cast<uint32_t>(entries.size()) + 4;
    put16(table, static_cast<uint16_t>(entries.size()));
    for (const Entry& entry : entries) {
        put16(table, entry.tag);
        put16(table, entry.type);
        put32(table, entry.count);
        if (entry.data.size() <= 4) {
            std::string inline_value = entry.data;
            inline_value.resize(4, '\0');
            table += inline_value;
        } else {
            put32(table, values_at + static_cast<uint32_t>(values.size()));
            values += entry.data;
            if (values.size() % 2) values += '\0';  // values start on word boundaries
        }
    }
    put32(table, 0);  // no next IFD
    return table + values;
}

}  // namespace

void exif_rational(double value, uint32_t& numerator, uint32_t& denominator) {
    if (!(value > 0)) {
        numerator = 0;
        denominator = 1;
        return;
    }
    const double inverse = 1.0 / value;
    if (value < 1 && std::abs(inverse - std::round(inverse)) < 1e-9 * inverse) {
        numerator = 1;
        denominator = static_cast<uint32_t>(std::lround(inverse));
        return;
    }
    denominator = 1;
    while (denominator < 100000000u && std::abs(value * denominator - std::round(value * denominator)) > 1e-9 &&
           value * denominator * 10 < 4.0e9)
        denominator *= 10;
    numerator = static_cast<uint32_t>(std::llround(value * denominator));
}

std::string exif_block(const ShotData& shot) {
    // IFD0 holds two texts and the pointer to the EXIF IFD.
    const std::vector<Entry> exif_entries = {
        fraction(0x829A, shot.exposure_seconds),
        fraction(0x829D, shot.f_number),
        whole(0x8827, static_cast<uint16_t>(shot.iso)),
        {0x9000, undefined, 4, "0230"},
        text(0x9003, shot.date_time),
        text(0xA434, shot.lens),
    };
    std::vector<Entry> main_entries = {text(0x010F, shot.make), text(0x0110, shot.model), {0x8769, long_type, 1, ""}};
    const uint32_t main_at = 8;
    std::string main_ifd = ifd(main_entries, main_at);
    const auto exif_at = static_cast<uint32_t>(main_at + main_ifd.size());
    std::string pointer;
    put32(pointer, exif_at);
    main_entries.back().data = pointer;
    main_ifd = ifd(main_entries, main_at);

    std::string block("Exif\0\0", 6);
    block += "II";
    put16(block, 42);
    put32(block, main_at);
    block += main_ifd;
    block += ifd(exif_entries, exif_at);
    return block;
}

}  // namespace sim
