#pragma once
// Run-length encoded scanlines held in memory, turned into luminance side by
// side.
//
// A run-length scanline carries no state from the scanline before it, so
// once the start of each one is known (a quick walk over the codes, not the
// pixels), bands of scanlines decode and convert independently. A scanline
// in any other form (flat pixels, repeat markers), a damaged one or one that
// the bytes at hand do not hold whole is not indexed: the caller's
// sequential decoder takes it and reports what is wrong with it.

#include <cstddef>
#include <cstdint>
#include <vector>

struct RleScanlines {
    size_t rows = 0;               // whole run-length scanlines found
    size_t bytes = 0;              // the bytes they take
    std::vector<size_t> starts;    // where each one starts
    bool other_form = false;       // the next scanline is not run-length encoded
    uint8_t last_pixel[4] = {};    // r, g, b, e of the last pixel of the last one
};

// Indexes up to `max_rows` consecutive run-length scanlines of `length`
// pixels (8 to 32767) at the start of data[0 .. size).
void index_rle_scanlines(const uint8_t* data, size_t size, int length, size_t max_rows, RleScanlines& index);

// Decodes one indexed scanline, starting at `data` with `size` bytes readable
// from there, into planes (red[n], green[n], blue[n], exponent[n], and 16
// bytes of slack that may be written over).
void decode_rle_scanline(const uint8_t* data, size_t size, int length, uint8_t* planes);

// Luminance (cd/m²) of one planar scanline under an exposure product, by the
// exact single-precision steps of rgbe_luminance().
void planes_to_luminance(const uint8_t* planes, int length, float exposure, float* out);

// Scanlines taken by one thread at a time: few enough to balance two cores
// that other programs also use, enough that taking them costs nothing.
inline constexpr size_t rows_per_band = 8;

// Decodes and converts the indexed scanlines first .. last - 1 of `data`
// into those rows of `out` (`length` values each).
void rle_scanlines_to_luminance(const uint8_t* data, const RleScanlines& index, size_t first, size_t last,
                                int length, float exposure, float* out);
