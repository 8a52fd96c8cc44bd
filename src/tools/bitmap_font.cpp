#include "tools/bitmap_font.h"

#include <array>
#include <cstdint>

namespace {

struct Glyph {
    char32_t c;
    std::array<uint8_t, glyph_height> rows;  // bit 4 is the leftmost column
};

constexpr Glyph glyphs[] = {
    {U'0', {0b01110, 0b10001, 0b10011, 0b10101, 0b11001, 0b10001, 0b01110}},
    {U'1', {0b00100, 0b01100, 0b00100, 0b00100, 0b00100, 0b00100, 0b01110}},
    {U'2', {0b01110, 0b10001, 0b00001, 0b00010, 0b00100, 0b01000, 0b11111}},
    {U'3', {0b11111, 0b00010, 0b00100, 0b00010, 0b00001, 0b10001, 0b01110}},
    {U'4', {0b00010, 0b00110, 0b01010, 0b10010, 0b11111, 0b00010, 0b00010}},
    {U'5', {0b11111, 0b10000, 0b11110, 0b00001, 0b00001, 0b10001, 0b01110}},
    {U'6', {0b00110, 0b01000, 0b10000, 0b11110, 0b10001, 0b10001, 0b01110}},
    {U'7', {0b11111, 0b00001, 0b00010, 0b00100, 0b01000, 0b01000, 0b01000}},
    {U'8', {0b01110, 0b10001, 0b10001, 0b01110, 0b10001, 0b10001, 0b01110}},
    {U'9', {0b01110, 0b10001, 0b10001, 0b01111, 0b00001, 0b00010, 0b01100}},
    {U'.', {0b00000, 0b00000, 0b00000, 0b00000, 0b00000, 0b01100, 0b01100}},
    {U'-', {0b00000, 0b00000, 0b00000, 0b01110, 0b00000, 0b00000, 0b00000}},
    {U'+', {0b00000, 0b00100, 0b00100, 0b11111, 0b00100, 0b00100, 0b00000}},
    {U'/', {0b00000, 0b00001, 0b00010, 0b00100, 0b01000, 0b10000, 0b00000}},
    {U':', {0b00000, 0b01100, 0b01100, 0b00000, 0b01100, 0b01100, 0b00000}},
    {U'a', {0b00000, 0b00000, 0b01110, 0b00001, 0b01111, 0b10001, 0b01111}},
    {U'c', {0b00000, 0b00000, 0b01110, 0b10000, 0b10000, 0b10001, 0b01110}},
    {U'd', {0b00001, 0b00001, 0b01101, 0b10011, 0b10001, 0b10001, 0b01111}},
    {U'e', {0b00000, 0b00000, 0b01110, 0b10001, 0b11111, 0b10000, 0b01110}},
    {U'i', {0b00100, 0b00000, 0b01100, 0b00100, 0b00100, 0b00100, 0b01110}},
    {U'l', {0b01100, 0b00100, 0b00100, 0b00100, 0b00100, 0b00100, 0b01110}},
    {U'm', {0b00000, 0b00000, 0b11010, 0b10101, 0b10101, 0b10001, 0b10001}},
    {U'n', {0b00000, 0b00000, 0b10110, 0b11001, 0b10001, 0b10001, 0b10001}},
    {U'x', {0b00000, 0b00000, 0b10001, 0b01010, 0b00100, 0b01010, 0b10001}},
    // The rest of the small letters and a few marks, for the series plot's
    // captions and region names.
    {U'b', {0b10000, 0b10000, 0b10110, 0b11001, 0b10001, 0b10001, 0b11110}},
    {U'f', {0b00110, 0b01001, 0b01000, 0b11100, 0b01000, 0b01000, 0b01000}},
    {U'g', {0b00000, 0b01111, 0b10001, 0b10001, 0b01111, 0b00001, 0b01110}},
    {U'h', {0b10000, 0b10000, 0b10110, 0b11001, 0b10001, 0b10001, 0b10001}},
    {U'j', {0b00010, 0b00000, 0b00110, 0b00010, 0b00010, 0b10010, 0b01100}},
    {U'k', {0b10000, 0b10000, 0b10010, 0b10100, 0b11000, 0b10100, 0b10010}},
    {U'o', {0b00000, 0b00000, 0b01110, 0b10001, 0b10001, 0b10001, 0b01110}},
    {U'p', {0b00000, 0b11110, 0b10001, 0b10001, 0b11110, 0b10000, 0b10000}},
    {U'q', {0b00000, 0b01111, 0b10001, 0b10001, 0b01111, 0b00001, 0b00001}},
    {U'r', {0b00000, 0b00000, 0b10110, 0b11001, 0b10000, 0b10000, 0b10000}},
    {U's', {0b00000, 0b00000, 0b01110, 0b10000, 0b01110, 0b00001, 0b11110}},
    {U't', {0b01000, 0b01000, 0b11100, 0b01000, 0b01000, 0b01001, 0b00110}},
    {U'u', {0b00000, 0b00000, 0b10001, 0b10001, 0b10001, 0b10011, 0b01101}},
    {U'v', {0b00000, 0b00000, 0b10001, 0b10001, 0b10001, 0b01010, 0b00100}},
    {U'w', {0b00000, 0b00000, 0b10001, 0b10001, 0b10101, 0b10101, 0b01010}},
    {U'y', {0b00000, 0b10001, 0b10001, 0b10001, 0b01111, 0b00001, 0b01110}},
    {U'z', {0b00000, 0b00000, 0b11111, 0b00010, 0b00100, 0b01000, 0b11111}},
    {U'_', {0b00000, 0b00000, 0b00000, 0b00000, 0b00000, 0b00000, 0b11111}},
    {U'(', {0b00010, 0b00100, 0b01000, 0b01000, 0b01000, 0b00100, 0b00010}},
    {U')', {0b01000, 0b00100, 0b00010, 0b00010, 0b00010, 0b00100, 0b01000}},
    {U',', {0b00000, 0b00000, 0b00000, 0b00000, 0b01100, 0b00100, 0b01000}},
    {U'\u00b2', {0b01100, 0b10010, 0b00100, 0b01000, 0b11110, 0b00000, 0b00000}},
};

const Glyph* glyph_of(char32_t c) {
    for (const Glyph& g : glyphs)
        if (g.c == c) return &g;
    return nullptr;
}

// The characters of UTF-8 text; only "²" needs more than one byte here, and
// any other sequence is one blank character.
template <class F>
void each_char(std::string_view text, F f) {
    for (size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte < 0x80) {
            f(static_cast<char32_t>(byte));
            continue;
        }
        if (byte == 0xc2 && i + 1 < text.size() && static_cast<unsigned char>(text[i + 1]) == 0xb2) {
            f(U'\u00b2');
            ++i;
            continue;
        }
        while (i + 1 < text.size() && (static_cast<unsigned char>(text[i + 1]) & 0xc0) == 0x80) ++i;
        f(U'?');
    }
}

}  // namespace

bool has_glyph(char32_t c) { return c == U' ' || glyph_of(c) != nullptr; }

int text_width(std::string_view text, int size) {
    int count = 0;
    each_char(text, [&](char32_t) { ++count; });
    return count == 0 ? 0 : (count * glyph_advance - 1) * size;
}

void draw_text(BgrRaster& raster, int x, int y, std::string_view text, int size, const Rgb8& colour) {
    int left = x;
    each_char(text, [&](char32_t c) {
        if (const Glyph* g = glyph_of(c)) {
            for (int row = 0; row < glyph_height; ++row)
                for (int column = 0; column < glyph_width; ++column) {
                    if (!(g->rows[static_cast<size_t>(row)] >> (glyph_width - 1 - column) & 1)) continue;
                    for (int dy = 0; dy < size; ++dy)
                        for (int dx = 0; dx < size; ++dx)
                            raster.put(left + column * size + dx, y + row * size + dy, colour.r, colour.g, colour.b);
                }
        }
        left += glyph_advance * size;
    });
}
