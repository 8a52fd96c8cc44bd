#pragma once
// The resolution line of an RGBE picture, e.g. "-Y 480 +X 640".
//
// The axis written first runs along the scanlines' sequence: "-Y 480 +X 640"
// is 480 scanlines of 640 pixels, top first. Orientation flags follow
// Radiance: 1 = X decreasing, 2 = Y decreasing, 4 = Y major (Y written first).

#include <optional>
#include <string>
#include <string_view>

struct ResolutionLine {
    int scanline_length = 0;
    int scanline_count = 0;
    int flags = 0;

    static constexpr int x_decreasing = 1;
    static constexpr int y_decreasing = 2;
    static constexpr int y_major = 4;

    // The standard line "-Y <count> +X <length>" and its orientation variants.
    std::string to_string() const;
};

// Parses by the last 'X' and the last 'Y' of the line: the number after each,
// a '-' just before a letter marks that axis decreasing, and the letter that
// comes first is the major axis. Nothing when a letter is missing or a number
// is not above 0.
std::optional<ResolutionLine> parse_resolution_line(std::string_view line);
