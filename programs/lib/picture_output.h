#pragma once
// Writing an RGBE picture to a file or standard output through one large
// buffer: header text, resolution line, then scanlines in run-length form
// (flat pixels for scanlines shorter than 8 or longer than 32767, as
// Radiance writes them).
//
// Failures are sticky: writing goes on quietly after an error and finish()
// reports it once.

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include <functional>

#include "lib/file_handle.h"
#include "picture/resolution_line.h"
#include "picture/rgbe_pixel.h"

class PictureOutput {
public:
    PictureOutput();
    PictureOutput(const PictureOutput&) = delete;
    PictureOutput& operator=(const PictureOutput&) = delete;

    // Creates (truncates) a file; false (errno set) when it cannot.
    bool open(const std::string& path);
    // Writes to standard output instead.
    void open_standard_output();

    // "#?RADIANCE" is not added: the lines are written as given, then the
    // empty line and the resolution line.
    void write_header(const std::vector<std::string>& lines, const ResolutionLine& resolution);
    void write_text(std::string_view text);

    // One scanline, planar (red[n], green[n], blue[n], exponent[n]) or as
    // pixels; n must be the resolution line's scanline length.
    void write_planes(const uint8_t* planes, int n);
    void write_pixels(const RgbePixel* pixels, int n);
    // `count` scanlines of n pixels, scanline i's planes given by
    // planes_of(i), encoded side by side on every core and written in
    // order. planes_of is called from several threads at once, once for
    // each i.
    void write_scanlines(size_t count, int n, const std::function<const uint8_t*(size_t)>& planes_of);
    // `count` scanlines of n pixels that read(planes) gives one after
    // another (a decoder; on the calling thread), each then changed in place
    // by `change` (may be empty) and encoded on every core while the next
    // ones are read. False when a read fails: the scanlines before it are
    // written.
    bool write_scanlines_read(size_t count, int n, const std::function<bool(uint8_t*)>& read,
                              const std::function<void(uint8_t*)>& change);

    // Flushes and closes; false when any write failed.
    bool finish();

private:
    // Scanlines read and encoded side by side, and how many in each round.
    static constexpr size_t scanlines_per_round = 64;
    bool encode_side_by_side(size_t count, int n, const std::function<bool(size_t)>& read,
                             const std::function<const uint8_t*(size_t)>& planes_of);
    void reserve(size_t bytes);
    void flush();

    FileHandle owned_;
    std::FILE* file_ = nullptr;
    std::vector<uint8_t> buffer_;
    size_t used_ = 0;
    std::vector<uint8_t> planes_;
    bool failed_ = false;
};

// One run-length encoded scanline of n pixels (8 to 32767) from its planes,
// at `out` (room for encoded_scanline_room(n) bytes); returns the end.
uint8_t* encode_scanline_planes(const uint8_t* planes, int n, uint8_t* out);
size_t encoded_scanline_room(int n);

// The run-length codes of one component plane of n bytes, written at `out`
// (room for n + n / 128 + 2 bytes needed); returns the end of what was written.
uint8_t* encode_component_runs(const uint8_t* values, int n, uint8_t* out);
