#include "picture/luminance_bands.h"

#include <cstring>

#include "common/vector_clones.h"
#include "picture/rgbe_pixel.h"

namespace {

// Below this exponent 2^(E - 136) is not a normal float and the fast form of
// the scale does not hold; such pixels (black ones among them) take the table.
constexpr unsigned min_normal_exponent = 10;
// Pieces of a scanline are copied in fixed blocks of this many bytes.
constexpr size_t piece = 16;
constexpr size_t max_code_bytes = 128;


// The luminance of every pixel whose exponent is min_normal_exponent or more.
// The scale 2^(E - 136) is built from the exponent's bits rather than looked
// up, which lets the loop run on whole vectors.
CANDELUX_VECTOR_CLONES
void convert_normal(const uint8_t* __restrict planes, int n, float exposure, bool divide, float* __restrict out) {
    const uint8_t* red = planes;
    const uint8_t* green = planes + n;
    const uint8_t* blue = planes + 2 * n;
    const uint8_t* exponent = planes + 3 * n;
    auto luminance = [&](int i) {
        const uint32_t bits = (static_cast<uint32_t>(exponent[i]) + 127u - physics::rgbe_exponent_bias) << 23;
        float f;
        std::memcpy(&f, &bits, sizeof f);
        const float r = (static_cast<float>(red[i]) + 0.5f) * f;
        const float g = (static_cast<float>(green[i]) + 0.5f) * f;
        const float b = (static_cast<float>(blue[i]) + 0.5f) * f;
        const float sum = static_cast<float>(physics::weight_red * r) +
                          static_cast<float>(physics::weight_green * g) +
                          static_cast<float>(physics::weight_blue * b);
        return static_cast<float>(physics::luminous_efficacy * sum);
    };
    // Dividing by 1 changes nothing, and most pictures have no exposure.
    if (divide) {
        for (int i = 0; i < n; ++i) out[i] = luminance(i) / exposure;
    } else {
        for (int i = 0; i < n; ++i) out[i] = luminance(i);
    }
}

}  // namespace

void index_rle_scanlines(const uint8_t* data, size_t size, int length, size_t max_rows, RleScanlines& index) {
    index.rows = 0;
    index.bytes = 0;
    index.starts.clear();
    index.other_form = false;
    const size_t n = static_cast<size_t>(length);
    size_t at = 0;
    while (index.rows < max_rows && size - at >= 4) {
        const uint8_t* marker = data + at;
        if (marker[0] != 2 || marker[1] != 2 || (marker[2] & 0x80) != 0) {
            index.other_form = true;
            break;
        }
        if (((static_cast<size_t>(marker[2]) << 8) | marker[3]) != n) break;
        size_t q = at + 4;
        uint8_t last[4] = {};
        bool whole = true;
        for (int component = 0; component < 4 && whole; ++component) {
            size_t j = 0;
            while (j < n) {
                if (q >= size) {
                    whole = false;
                    break;
                }
                const size_t code = data[q++];
                if (code > 128) {
                    const size_t count = code & 127;
                    if (q >= size || j + count > n) {
                        whole = false;
                        break;
                    }
                    last[component] = data[q++];
                    j += count;
                } else {
                    if (j + code > n || q + code > size) {
                        whole = false;
                        break;
                    }
                    if (code > 0) last[component] = data[q + code - 1];
                    q += code;
                    j += code;
                }
            }
        }
        if (!whole) break;
        index.starts.push_back(at);
        std::memcpy(index.last_pixel, last, sizeof last);
        ++index.rows;
        at = q;
    }
    index.bytes = at;
}

void decode_rle_scanline(const uint8_t* data, size_t size, int length, uint8_t* planes) {
    const size_t n = static_cast<size_t>(length);
    const uint8_t* q = data + 4;
    // Runs and literals (at most 128 bytes each) are copied in whole blocks
    // of `piece` bytes where the source has the bytes to spare: the bytes
    // written past the end of one are written over by the next, and planes
    // end with `piece` bytes of slack. Fixed-size copies are single vector
    // moves; a call to copy a few dozen bytes costs more than the copy.
    const uint8_t* safe_end = size >= max_code_bytes + piece ? data + size - max_code_bytes - piece : data;
    for (size_t component = 0; component < 4; ++component) {
        uint8_t* plane = planes + component * n;
        size_t j = 0;
        while (j < n) {
            const size_t code = *q++;
            if (code > 128) {
                const size_t count = code & 127;
                const uint8_t value = *q++;
                for (size_t k = 0; k < count; k += piece) std::memset(plane + j + k, value, piece);
                j += count;
            } else {
                if (q <= safe_end) {
                    for (size_t k = 0; k < code; k += piece) std::memcpy(plane + j + k, q + k, piece);
                } else {
                    std::memcpy(plane + j, q, code);
                }
                q += code;
                j += code;
            }
        }
    }
}

void planes_to_luminance(const uint8_t* planes, int length, float exposure, float* out) {
    convert_normal(planes, length, exposure, exposure != 1.0f, out);
    const uint8_t* exponent = planes + 3 * static_cast<size_t>(length);
    uint8_t lowest = 255;
    for (int i = 0; i < length; ++i) lowest = exponent[i] < lowest ? exponent[i] : lowest;
    if (lowest >= min_normal_exponent) return;
    const size_t n = static_cast<size_t>(length);
    for (size_t i = 0; i < n; ++i)
        if (exponent[i] < min_normal_exponent)
            out[i] = rgbe_luminance(planes[i], planes[n + i], planes[2 * n + i], exponent[i], exposure);
}

void rle_scanlines_to_luminance(const uint8_t* data, const RleScanlines& index, size_t first, size_t last,
                                int length, float exposure, float* out) {
    const size_t n = static_cast<size_t>(length);
    std::vector<uint8_t> planes(4 * n + piece);
    for (size_t row = first; row < last; ++row) {
        decode_rle_scanline(data + index.starts[row], index.bytes - index.starts[row], length, planes.data());
        planes_to_luminance(planes.data(), length, exposure, out + row * n);
    }
}
