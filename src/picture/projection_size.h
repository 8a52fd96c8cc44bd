#pragma once
// How large a picture a projection may make: one limit for pinterp, which
// makes it, and for the Projections dialog, which asks for it, both applied
// to the size of the picture actually written.

#include <cstdint>

// The largest projection, in pixels: the picture the application then reads
// holds four bytes per pixel in each of its copies.
inline constexpr uint64_t max_projection_pixels = uint64_t{1} << 28;

// At least one pixel each way and no more than the limit in all.
constexpr bool projection_size_fits(uint64_t width, uint64_t height) {
    return width > 0 && height > 0 && width <= max_projection_pixels && height <= max_projection_pixels &&
           width * height <= max_projection_pixels;
}
