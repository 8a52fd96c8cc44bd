#pragma once
// Random point samples of a picture, drawn the way Radiance's pcond draws
// them, so that our histograms see the very pixels the reference saw.
//
// The generator is the 48-bit linear congruential one of drand48(): x <-
// (0x5DEECE66D x + 11) mod 2^48, each draw x / 2^48. pcond never seeds it,
// and the C library of Linux then starts from x = 0 (the first draw is
// 11 / 2^48), so the sequence is the same on every run there.

#include <cstddef>
#include <cstdint>
#include <vector>

class Rand48 {
public:
    double next();

private:
    uint64_t state_ = 0;
};

// `count` pixel indices (scan order, row * length + column) of a picture of
// `rows` scanlines of `length` pixels, drawn with `random`: the scanlines are
// read in order and, within each, the pixels from its end towards its start;
// before each sample one draw decides how many pixels to pass over (each
// left with the chance count left / pixels left), and a draw that passes the
// start of the scanline skips the rest of it and is not carried into the
// next one. Every pixel is taken when count is the number of pixels.
// Indices come out in the reverse order of drawing.
std::vector<size_t> random_pixel_indices(size_t length, size_t rows, size_t count, Rand48& random);
