#pragma once
// RGBE scanline encodings: flat pixels, old-style repeat markers (a pixel
// 1 1 1 n repeats the previous pixel, consecutive markers shifting the count
// by 8 bits each) and the run-length form (2 2 hi lo, then the four components
// one after the other, each as runs and literals).
//
// Decoded scanlines are planar: red[n], green[n], blue[n], exponent[n], one
// after the other in one buffer of 4 n bytes. That keeps run decoding to
// memset/memcpy and lets the luminance conversion run over plain arrays.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "picture/block_reader.h"
#include "picture/rgbe_pixel.h"

class ScanlineDecoder {
public:
    // Scanlines of `length` pixels read from `input`.
    ScanlineDecoder(BlockReader& input, int length);

    // Decodes the next scanline into `planes` (4 * length bytes). False on a
    // damaged or truncated scanline; the reason is then in error().
    bool decode(uint8_t* planes);

    const std::string& error() const { return error_; }

    // The last pixel of a scanline decoded elsewhere (r, g, b, e), which a
    // repeat marker at the start of the next scanline repeats.
    void remember_last_pixel(const uint8_t pixel[4]);

private:
    bool decode_old(uint8_t* planes, int first);
    // Decodes run-length codes of one component straight from the reader's
    // window while it holds whole codes, from column j on (advanced).
    bool decode_in_place(uint8_t* planes, int component, int& j);
    bool fail(const char* why);

    BlockReader& input_;
    int length_;
    // The last pixel decoded, which a repeat marker at the start of a
    // scanline repeats (the previous scanline's last pixel).
    uint8_t previous_[4] = {0, 0, 0, 0};
    bool has_previous_ = false;
    std::string error_;
};

// Interleaves planar components into pixels.
void planes_to_pixels(const uint8_t* planes, int length, RgbePixel* pixels);

// Appends one encoded scanline: the run-length form for lengths 8..32767,
// flat pixels otherwise.
void encode_scanline(std::span<const RgbePixel> pixels, std::vector<uint8_t>& out);
