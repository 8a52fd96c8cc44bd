#pragma once
// A tiny built-in 5 × 7 pixel font for the words a falsecolor legend needs
// (digits, ". - + / :", "cd/m²", "lx", "min", "max", "e"), so that the
// legend is drawn the same by the windows and by the command line without a
// font library; the small letters and "_ ( ) ," serve the series plot. Each character takes 6 × 8 cells, times the integer `size`.

#include <string_view>

#include "picture/bgr_raster.h"
#include "tools/falsecolor.h"

inline constexpr int glyph_width = 5;
inline constexpr int glyph_height = 7;
inline constexpr int glyph_advance = 6;

// Characters without a glyph are left blank. "²" may be given in UTF-8.
int text_width(std::string_view text, int size);
// (x, y) is the text's top-left corner.
void draw_text(BgrRaster& raster, int x, int y, std::string_view text, int size, const Rgb8& colour);
// Whether the font has a glyph for the character.
bool has_glyph(char32_t c);
