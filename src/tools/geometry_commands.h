#pragma once
// Command lines of the geometric edits: crop (pcompos), quarter turn
// (protate), flips and half turn (pflip) and resize (pfilt). Each reads the
// working copy and writes the step output; sequence files hold these lines
// as they are, blanks included.

#include <optional>
#include <string>

// The corners of the selection rectangle, in any order (picture pixels, y
// downwards).
struct CropRectangle {
    float x0 = 0, y0 = 0, x1 = 0, y1 = 0;
};

// What pcompos is told: the size of the piece and its offset from the
// picture's left and bottom edges.
struct CropBox {
    int width = 0;
    int height = 0;
    int left = 0;
    int bottom = 0;
};

// Every number truncated toward zero; nothing for a rectangle without width
// or height, or one less than a pixel wide or high (its piece would be
// empty).
std::optional<CropBox> crop_box(const CropRectangle& rectangle, int picture_height);

std::string crop_command(const CropBox& box, const std::string& input, const std::string& output);

// Clockwise quarter turn; the empty option text leaves two blanks.
std::string rotate_command(const std::string& input, const std::string& output);

// pflip's options for the three flip commands.
inline constexpr const char* flip_horizontal_options = "-h";
inline constexpr const char* flip_vertical_options = "-v";
inline constexpr const char* half_turn_options = "-v -h";
std::string flip_command(const std::string& options, const std::string& input, const std::string& output);

// The factors are the picture's size divided by the new size, as texts.
std::string resize_command(const std::string& factor_x, const std::string& factor_y, const std::string& input,
                           const std::string& output);

// A double as a default C++ stream prints it (six significant digits), in
// the C form whatever the locale: the resize factors' texts.
std::string format_default_double(double value);
