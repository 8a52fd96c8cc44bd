#include "picture/scanline_codec.h"

#include <cstring>

namespace {
constexpr int min_encoded_length = 8;
constexpr int max_encoded_length = 0x7fff;
constexpr int min_run = 4;  // shorter repeats are cheaper as literals
}  // namespace

ScanlineDecoder::ScanlineDecoder(BlockReader& input, int length) : input_(input), length_(length) {}

bool ScanlineDecoder::fail(const char* why) {
    error_ = why;
    return false;
}

void ScanlineDecoder::remember_last_pixel(const uint8_t pixel[4]) {
    std::memcpy(previous_, pixel, sizeof previous_);
    has_previous_ = true;
}

bool ScanlineDecoder::decode(uint8_t* planes) {
    const int n = length_;
    if (n < min_encoded_length || n > max_encoded_length) return decode_old(planes, 0);

    const int first = input_.get();
    if (first < 0) return fail("unexpected end of file");
    if (first != 2) {
        input_.unget();
        return decode_old(planes, 0);
    }
    const int b1 = input_.get();
    const int b2 = input_.get();
    const int b3 = input_.get();
    if (b3 < 0) return fail("unexpected end of file");
    if (b1 != 2 || (b2 & 0x80) != 0) {
        // Not run-length encoded: these four bytes are the first flat pixel.
        planes[0] = 2;
        planes[n] = static_cast<uint8_t>(b1);
        planes[2 * n] = static_cast<uint8_t>(b2);
        planes[3 * n] = static_cast<uint8_t>(b3);
        previous_[0] = 2;
        previous_[1] = static_cast<uint8_t>(b1);
        previous_[2] = static_cast<uint8_t>(b2);
        previous_[3] = static_cast<uint8_t>(b3);
        has_previous_ = true;
        return decode_old(planes, 1);
    }
    if (((b2 << 8) | b3) != n) return fail("scanline length mismatch");

    for (int component = 0; component < 4; ++component) {
        uint8_t* plane = planes + static_cast<size_t>(component) * n;
        int j = 0;
        if (!decode_in_place(planes, component, j)) return false;
        while (j < n) {
            const int code = input_.get();
            if (code < 0) return fail("unexpected end of file");
            if (code > 128) {
                const int count = code & 127;
                const int value = input_.get();
                if (value < 0) return fail("unexpected end of file");
                if (j + count > n) return fail("run past the end of the scanline");
                std::memset(plane + j, value, static_cast<size_t>(count));
                j += count;
            } else {
                if (j + code > n) return fail("literal past the end of the scanline");
                if (input_.read(plane + j, static_cast<size_t>(code)) != static_cast<size_t>(code))
                    return fail("unexpected end of file");
                j += code;
            }
        }
    }
    for (int c = 0; c < 4; ++c) previous_[c] = planes[static_cast<size_t>(c) * n + n - 1];
    has_previous_ = true;
    return true;
}

namespace {
// Runs and literals are copied in whole blocks of `piece` bytes where there
// is room: the bytes written past one are written over by the next.
constexpr size_t piece = 16;
constexpr size_t max_code_bytes = 129;  // a code and 128 literal bytes
}  // namespace

bool ScanlineDecoder::decode_in_place(uint8_t* planes, int component, int& j) {
    const size_t n = static_cast<size_t>(length_);
    const size_t planes_size = 4 * n;
    uint8_t* plane = planes + static_cast<size_t>(component) * n;
    const size_t plane_start = static_cast<size_t>(component) * n;
    const size_t have = input_.available();
    if (have < max_code_bytes + piece) return true;
    const uint8_t* const start = input_.data();
    const uint8_t* const stop = start + have - max_code_bytes - piece;
    const uint8_t* q = start;
    size_t at = static_cast<size_t>(j);
    bool ok = true;
    while (at < n && q <= stop) {
        const size_t code = *q++;
        if (code > 128) {
            const size_t count = code & 127;
            const uint8_t value = *q++;
            if (at + count > n) {
                ok = fail("run past the end of the scanline");
                break;
            }
            if (plane_start + at + count + piece <= planes_size) {
                for (size_t k = 0; k < count; k += piece) std::memset(plane + at + k, value, piece);
            } else {
                std::memset(plane + at, value, count);
            }
            at += count;
        } else {
            if (at + code > n) {
                ok = fail("literal past the end of the scanline");
                break;
            }
            if (plane_start + at + code + piece <= planes_size) {
                for (size_t k = 0; k < code; k += piece) std::memcpy(plane + at + k, q + k, piece);
            } else {
                std::memcpy(plane + at, q, code);
            }
            q += code;
            at += code;
        }
    }
    input_.consume(static_cast<size_t>(q - start));
    j = static_cast<int>(at);
    return ok;
}

bool ScanlineDecoder::decode_old(uint8_t* planes, int first) {
    const int n = length_;
    int i = first;
    int shift = 0;
    uint8_t quad[4];
    while (i < n) {
        if (input_.read(quad, 4) != 4 || input_.failed()) return fail("unexpected end of file");
        if (quad[0] == 1 && quad[1] == 1 && quad[2] == 1) {
            if (!has_previous_) return fail("repeat marker without a pixel to repeat");
            if (shift >= 32) return fail("repeat count too large");
            const uint64_t count = static_cast<uint64_t>(quad[3]) << shift;
            if (count > static_cast<uint64_t>(n - i)) return fail("repeat past the end of the scanline");
            for (int c = 0; c < 4; ++c)
                std::memset(planes + static_cast<size_t>(c) * n + i, previous_[c], count);
            i += static_cast<int>(count);
            shift += 8;
        } else {
            for (int c = 0; c < 4; ++c) {
                planes[static_cast<size_t>(c) * n + i] = quad[c];
                previous_[c] = quad[c];
            }
            has_previous_ = true;
            ++i;
            shift = 0;
        }
    }
    return true;
}

void planes_to_pixels(const uint8_t* planes, int length, RgbePixel* pixels) {
    const size_t n = static_cast<size_t>(length);
    for (size_t i = 0; i < n; ++i)
        pixels[i] = {planes[i], planes[n + i], planes[2 * n + i], planes[3 * n + i]};
}

namespace {

// Run-length codes for one component, the way Radiance writes them: runs of at
// least four equal bytes as (128 + count, value), everything between as
// literal blocks of at most 128 bytes.
void encode_component(const uint8_t* values, int n, std::vector<uint8_t>& out) {
    int pos = 0;
    while (pos < n) {
        // Find the next run of at least min_run equal bytes.
        int run_start = pos;
        int run_length = 0;
        while (run_start < n) {
            run_length = 1;
            while (run_start + run_length < n && run_length < 127 &&
                   values[run_start + run_length] == values[run_start])
                ++run_length;
            if (run_length >= min_run) break;
            run_start += run_length;
        }
        if (run_start >= n) run_length = 0;
        // Literals up to the run.
        while (pos < run_start) {
            const int count = run_start - pos > 128 ? 128 : run_start - pos;
            out.push_back(static_cast<uint8_t>(count));
            out.insert(out.end(), values + pos, values + pos + count);
            pos += count;
        }
        if (run_length >= min_run) {
            out.push_back(static_cast<uint8_t>(128 + run_length));
            out.push_back(values[run_start]);
            pos = run_start + run_length;
        }
    }
}

}  // namespace

void encode_scanline(std::span<const RgbePixel> pixels, std::vector<uint8_t>& out) {
    const int n = static_cast<int>(pixels.size());
    if (n < min_encoded_length || n > max_encoded_length) {
        const auto* bytes = reinterpret_cast<const uint8_t*>(pixels.data());
        out.insert(out.end(), bytes, bytes + 4 * pixels.size());
        return;
    }
    out.push_back(2);
    out.push_back(2);
    out.push_back(static_cast<uint8_t>(n >> 8));
    out.push_back(static_cast<uint8_t>(n & 0xff));
    std::vector<uint8_t> component(static_cast<size_t>(n));
    for (int c = 0; c < 4; ++c) {
        for (int i = 0; i < n; ++i) {
            const RgbePixel& p = pixels[static_cast<size_t>(i)];
            component[static_cast<size_t>(i)] = c == 0 ? p.r : c == 1 ? p.g : c == 2 ? p.b : p.e;
        }
        encode_component(component.data(), n, out);
    }
}
