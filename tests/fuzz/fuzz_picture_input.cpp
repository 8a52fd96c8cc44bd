// The picture programs' input path: header, resolution line in any
// orientation, and every scanline in flat, old repeat or run-length form.

#include <vector>

#include "fuzz_support.h"
#include "lib/picture_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string path = fuzz_input_file(data, size, ".hdr");
    PictureInput input;
    if (!input.open(path)) return 0;
    if (input.read_preamble() != PictureProblem::none) return 0;
    // Bounded like the reader: a scanline takes at least four bytes.
    const size_t length = static_cast<size_t>(input.scanline_length());
    if (length > (size_t{1} << 24)) return 0;
    std::vector<uint8_t> planes(4 * length);
    std::vector<RgbePixel> pixels(length);
    for (int row = 0; row < input.scanline_count(); ++row) {
        const bool ok = row % 2 ? input.read_pixels(pixels.data()) : input.read_planes(planes.data());
        if (!ok) break;
    }
    return 0;
}
