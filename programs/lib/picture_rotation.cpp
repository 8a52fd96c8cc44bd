#include "lib/picture_rotation.h"

#include <algorithm>
#include <new>
#include <vector>

#include "lib/picture_messages.h"

namespace {

const PictureMessages messages = {
    "{file}: cannot open", "not a Radiance picture", "not a Radiance picture", "bad picture size", "read error",
};

// Orientation flags after a clockwise turn, indexed by the flags before:
// -Y +X -> +X +Y -> +Y -X -> -X -Y -> -Y +X, and the mirrored cycle
// -Y -X -> -X +Y -> +Y +X -> +X -Y -> -Y -X.
constexpr int turned_flags[8] = {5, 4, 7, 6, 2, 3, 0, 1};

// Output scanlines are assembled this many at a time.
constexpr int block = 64;

}  // namespace

ResolutionLine rotated_resolution(const ResolutionLine& line) {
    ResolutionLine turned;
    turned.flags = turned_flags[line.flags & 7];
    turned.scanline_count = line.scanline_length;
    turned.scanline_length = line.scanline_count;
    return turned;
}

ProgramStatus rotate_picture(const RotateOptions& options) {
    PictureInput in;
    PictureOutput out;
    if (auto status = open_picture_pair(in, options.input, out, options.output, messages); !status.ok()) return status;

    const size_t length = static_cast<size_t>(in.scanline_length());
    const size_t count = static_cast<size_t>(in.scanline_count());
    std::vector<RgbePixel> picture;
    std::vector<RgbePixel> turned;
    try {
        picture.resize(length * count);
        turned.resize(count * static_cast<size_t>(block));
    } catch (const std::bad_alloc&) {
        return program_failure("out of memory");
    }
    for (size_t s = 0; s < count; ++s)
        if (!in.read_pixels(picture.data() + length * s)) return read_failure(messages, in, options.input);

    const ResolutionLine resolution = rotated_resolution(in.resolution());
    out.write_header(header_with_command(in.header(), options.command), resolution);
    for (size_t k0 = 0; k0 < length; k0 += block) {
        const size_t rows = std::min<size_t>(block, length - k0);
        // Tiles of block x block pixels keep both the input rows read and
        // the output rows written within the first-level cache.
        for (size_t j0 = 0; j0 < count; j0 += block) {
            const size_t j1 = std::min<size_t>(count, j0 + block);
            for (size_t j = j0; j < j1; ++j) {
                const RgbePixel* from = picture.data() + length * (count - 1 - j) + k0;
                RgbePixel* to = turned.data() + j;
                for (size_t k = 0; k < rows; ++k) to[count * k] = from[k];
            }
        }
        for (size_t k = 0; k < rows; ++k) out.write_pixels(turned.data() + count * k, static_cast<int>(count));
    }
    if (!out.finish()) return program_failure("write error on " + options.output);
    return success();
}
