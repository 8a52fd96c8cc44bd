#include "lib/picture_flip.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <new>
#include <vector>

#include "lib/picture_messages.h"

namespace {

const PictureMessages messages = {
    "{file}: cannot open", "input not a Radiance picture", "input not a Radiance picture", "bad picture size",
    "read error",
};

// Reverses n bytes eight at a time from both ends (a byte swap of each
// word), the middle byte by byte.
void reverse_bytes(uint8_t* first, size_t n) {
    uint8_t* last = first + n;
    while (last - first >= 16) {
        uint64_t front = 0, back = 0;
        std::memcpy(&front, first, 8);
        std::memcpy(&back, last - 8, 8);
        front = __builtin_bswap64(front);
        back = __builtin_bswap64(back);
        std::memcpy(first, &back, 8);
        std::memcpy(last - 8, &front, 8);
        first += 8;
        last -= 8;
    }
    std::reverse(first, last);
}

void reverse_planes(uint8_t* planes, size_t n) {
    for (size_t c = 0; c < 4; ++c) reverse_bytes(planes + c * n, n);
}

}  // namespace

ProgramStatus flip_picture(const FlipOptions& options) {
    PictureInput in;
    PictureOutput out;
    if (auto status = open_picture_pair(in, options.input, out, options.output, messages); !status.ok()) return status;

    bool reverse_scanlines = options.horizontal;
    bool reverse_order = options.vertical;
    if (!options.scan_order && !(in.resolution().flags & ResolutionLine::y_major))
        std::swap(reverse_scanlines, reverse_order);

    const size_t length = static_cast<size_t>(in.scanline_length());
    const size_t count = static_cast<size_t>(in.scanline_count());
    out.write_header(header_with_command(in.header(), options.command), in.resolution());
    if (!reverse_order) {
        // Read in order; each scanline reversed and encoded by one of the cores.
        const bool read = out.write_scanlines_read(
            count, static_cast<int>(length), [&](uint8_t* planes) { return in.read_planes(planes); },
            [&](uint8_t* planes) {
                if (reverse_scanlines) reverse_planes(planes, length);
            });
        if (!read) return read_failure(messages, in, options.input);
    } else {
        std::vector<uint8_t> picture;
        try {
            picture.resize(4 * length * count);
        } catch (const std::bad_alloc&) {
            return program_failure("out of memory");
        }
        for (size_t s = 0; s < count; ++s)
            if (!in.read_planes(picture.data() + 4 * length * s)) return read_failure(messages, in, options.input);
        // Bottom scanline first; each one is reversed and encoded by one of
        // the cores.
        out.write_scanlines(count, static_cast<int>(length), [&](size_t i) -> const uint8_t* {
            uint8_t* planes = picture.data() + 4 * length * (count - 1 - i);
            if (reverse_scanlines) reverse_planes(planes, length);
            return planes;
        });
    }
    if (!out.finish()) return program_failure("write error on " + options.output);
    return success();
}
