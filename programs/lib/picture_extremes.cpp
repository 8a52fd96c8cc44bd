#include "lib/picture_extremes.h"

#include <cstdio>
#include <vector>

#include "lib/picture_messages.h"
#include "lib/rgbe_color.h"

namespace {

const PictureMessages messages = {
    "can't open input \"{file}\"", "bad picture format", "bad picture format", "bad picture format",
    "read error on input",
};

// Exponent in the high bits, brightness below: one comparison ranks.
inline int rank(uint8_t r, uint8_t g, uint8_t b, uint8_t e) {
    return (e << 16) | ((68 * r + 172 * g + 17 * b) >> 8);
}

struct Extremes {
    int darkest_rank = 1 << 30;
    int darkest_index = -1;
    int brightest_rank = 0;
    int brightest_index = -1;
};

// The first pixel, visiting from the right, of the smallest and largest rank
// of one planar scanline. Whole scanlines are skipped by their exponent
// range alone, which is all most of them need.
Extremes scanline_extremes(const uint8_t* planes, int n, int darkest_so_far, int brightest_so_far) {
    const uint8_t* red = planes;
    const uint8_t* green = planes + n;
    const uint8_t* blue = planes + 2 * n;
    const uint8_t* exponent = planes + 3 * n;
    uint8_t low = 255, high = 0;
    for (int i = 0; i < n; ++i) {
        low = exponent[i] < low ? exponent[i] : low;
        high = exponent[i] > high ? exponent[i] : high;
    }
    Extremes found;
    const bool look_dark = (low << 16) < darkest_so_far;
    const bool look_bright = ((high << 16) | 0xffff) > brightest_so_far;
    if (!look_dark && !look_bright) return found;
    for (int i = n - 1; i >= 0; --i) {
        const uint8_t e = exponent[i];
        if (look_dark && e == low) {
            const int r = rank(red[i], green[i], blue[i], e);
            if (r < found.darkest_rank) {
                found.darkest_rank = r;
                found.darkest_index = i;
            }
        }
        if (look_bright && e == high) {
            const int r = rank(red[i], green[i], blue[i], e);
            if (r > found.brightest_rank || found.brightest_index < 0) {
                found.brightest_rank = r;
                found.brightest_index = i;
            }
        }
    }
    return found;
}

void print_pixel(const PixelAt& at, double exposure) {
    const Color3 c = decode_color(at.pixel);
    std::printf("%d %d\t%.2e %.2e %.2e\n", at.x, at.y, c.r / exposure, c.g / exposure, c.b / exposure);
}

}  // namespace

ProgramStatus print_extremes(const ExtremesOptions& options) {
    PictureInput in;
    if (auto status = open_picture(in, options.input, messages); !status.ok()) return status;
    const int n = in.scanline_length();
    const int count = in.scanline_count();
    std::vector<uint8_t> planes(4 * static_cast<size_t>(n));
    int darkest_rank = 1 << 30, brightest_rank = 0;
    PixelAt darkest, brightest;
    for (int s = 0; s < count; ++s) {
        if (!in.read_planes(planes.data())) return read_failure(messages, in, options.input);
        const Extremes found = scanline_extremes(planes.data(), n, darkest_rank, brightest_rank);
        auto pixel_at = [&](int i) {
            const size_t k = static_cast<size_t>(i), m = static_cast<size_t>(n);
            return PixelAt{i, count - 1 - s, {planes[k], planes[m + k], planes[2 * m + k], planes[3 * m + k]}};
        };
        if (found.darkest_index >= 0 && found.darkest_rank < darkest_rank) {
            darkest_rank = found.darkest_rank;
            darkest = pixel_at(found.darkest_index);
        }
        if (found.brightest_index >= 0 && found.brightest_rank > brightest_rank) {
            brightest_rank = found.brightest_rank;
            brightest = pixel_at(found.brightest_index);
        }
    }
    const double exposure = options.original_values ? in.header().exposure() : 1.0;
    print_pixel(darkest, exposure);
    print_pixel(brightest, exposure);
    return success();
}
