#pragma once
// The darkest and the brightest pixel of a picture, as luminance: pextrem
// finds them, and its two lines are read here.

#include <string>
#include <string_view>

class Desktop;
class ProcessRunner;

struct Extremes {
    float minimum = 0;  // cd/m²
    float maximum = 0;
};

// "/C pextrem P".
std::string extremes_command(const std::string& picture);

// pextrem prints "x y<TAB>r g b" for the darkest and then the brightest
// pixel, in stored values; each becomes a luminance at `exposure`. Tokens
// are cut at blanks, tabs, carriage returns and line feeds; a missing token
// reads as 0.
Extremes parse_extremes(std::string_view output, float exposure);

// Runs pextrem on `picture` with the "Processing..." window, which is closed
// again afterwards. A pextrem that cannot run or fails gives 0 and 0.
Extremes read_extremes(ProcessRunner& runner, Desktop& desktop, const std::string& picture, float exposure);
