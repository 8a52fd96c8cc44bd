#include "lib/picture_output.h"

#include <algorithm>
#include <bit>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "common/parallel_bands.h"

namespace {

constexpr size_t buffer_size = 1 << 20;
constexpr int min_encoded_length = 8;
constexpr int max_encoded_length = 0x7fff;
constexpr int min_run = 4;
constexpr int max_run = 127;
constexpr int max_literal = 128;

uint8_t* put_literals(const uint8_t* values, int count, uint8_t* out) {
    while (count > 0) {
        const int take = count > max_literal ? max_literal : count;
        *out++ = static_cast<uint8_t>(take);
        std::memcpy(out, values, static_cast<size_t>(take));
        out += take;
        values += take;
        count -= take;
    }
    return out;
}

}  // namespace

namespace {

// Where the first run of min_run equal bytes starts in values[i, i + 5), or
// -1: eight bytes at a time, comparing each byte with its neighbour. Byte k
// of `same` has its top bit set when values[i + k] == values[i + k + 1]; a
// run needs three such neighbours in a row.
inline int run_start_in_word(const uint8_t* values) {
    uint64_t word;
    std::memcpy(&word, values, sizeof word);
    const uint64_t diff = word ^ (word >> 8);
    constexpr uint64_t low7 = 0x7f7f7f7f7f7f7f7fULL;
    const uint64_t same = ~(((diff & low7) + low7) | diff | low7);
    const uint64_t run = same & (same >> 8) & (same >> 16) & 0x0000008080808080ULL;
    return run == 0 ? -1 : std::countr_zero(run) / 8;
}

}  // namespace

#if defined(__SSE2__)
// The same sixteen bytes at a time: where the first run starts in
// values[i, i + 14), or -1. Needs 17 readable bytes.
inline int run_start_in_block(const uint8_t* values) {
    const __m128i here = _mm_loadu_si128(reinterpret_cast<const __m128i*>(values));
    const __m128i next = _mm_loadu_si128(reinterpret_cast<const __m128i*>(values + 1));
    const unsigned same = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(here, next)));
    const unsigned run = same & (same >> 1) & (same >> 2) & 0x3fffu;
    return run == 0 ? -1 : std::countr_zero(run);
}
#endif

uint8_t* encode_component_runs(const uint8_t* values, int n, uint8_t* out) {
    int literal_start = 0;
    int i = 0;
    while (i + min_run <= n) {
#if defined(__SSE2__)
        if (i + 17 <= n) {
            const int k = run_start_in_block(values + i);
            if (k < 0) {
                i += 14;
                continue;
            }
            i += k;
        }
#endif
        if constexpr (std::endian::native == std::endian::little) {
            if (i + 8 <= n) {
                const int k = run_start_in_word(values + i);
                if (k < 0) {
                    i += 5;
                    continue;
                }
                i += k;
            }
        }
        // A mismatch at offset k means no run can start before i + k.
        const uint8_t b = values[i];
        if (values[i + 1] != b) {
            i += 1;
            continue;
        }
        if (values[i + 2] != b) {
            i += 2;
            continue;
        }
        if (values[i + 3] != b) {
            i += 3;
            continue;
        }
        out = put_literals(values + literal_start, i - literal_start, out);
        int end = i + min_run;
        while (end < n && values[end] == b) ++end;
        int length = end - i;
        while (length > 0) {
            const int take = length > max_run ? max_run : length;
            *out++ = static_cast<uint8_t>(128 + take);
            *out++ = b;
            length -= take;
        }
        i = literal_start = end;
    }
    return put_literals(values + literal_start, n - literal_start, out);
}

PictureOutput::PictureOutput() : buffer_(buffer_size) {}

bool PictureOutput::open(const std::string& path) {
    owned_ = open_file(path, "wb");
    file_ = owned_.get();
    return file_ != nullptr;
}

void PictureOutput::open_standard_output() {
    owned_.reset();
    file_ = stdout;
}

void PictureOutput::flush() {
    if (used_ > 0 && !failed_ && std::fwrite(buffer_.data(), 1, used_, file_) != used_) failed_ = true;
    used_ = 0;
}

void PictureOutput::reserve(size_t bytes) {
    if (used_ + bytes <= buffer_.size()) return;
    flush();
    if (bytes > buffer_.size()) buffer_.resize(bytes);
}

void PictureOutput::write_text(std::string_view text) {
    reserve(text.size());
    std::memcpy(buffer_.data() + used_, text.data(), text.size());
    used_ += text.size();
}

void PictureOutput::write_header(const std::vector<std::string>& lines, const ResolutionLine& resolution) {
    std::string text;
    for (const auto& line : lines) {
        text += line;
        text += '\n';
    }
    text += '\n';
    text += resolution.to_string();
    text += '\n';
    write_text(text);
}

void PictureOutput::write_planes(const uint8_t* planes, int n) {
    const size_t count = static_cast<size_t>(n);
    if (n < min_encoded_length || n > max_encoded_length) {
        reserve(4 * count);
        uint8_t* out = buffer_.data() + used_;
        for (size_t i = 0; i < count; ++i) {
            out[4 * i] = planes[i];
            out[4 * i + 1] = planes[count + i];
            out[4 * i + 2] = planes[2 * count + i];
            out[4 * i + 3] = planes[3 * count + i];
        }
        used_ += 4 * count;
        return;
    }
    reserve(encoded_scanline_room(n));
    uint8_t* start = buffer_.data() + used_;
    used_ += static_cast<size_t>(encode_scanline_planes(planes, n, start) - start);
}

size_t encoded_scanline_room(int n) {
    const size_t count = static_cast<size_t>(n);
    return 4 + 4 * (count + count / max_literal + 2);
}

uint8_t* encode_scanline_planes(const uint8_t* planes, int n, uint8_t* out) {
    const size_t count = static_cast<size_t>(n);
    *out++ = 2;
    *out++ = 2;
    *out++ = static_cast<uint8_t>(n >> 8);
    *out++ = static_cast<uint8_t>(n & 0xff);
    for (int c = 0; c < 4; ++c) out = encode_component_runs(planes + c * count, n, out);
    return out;
}

void PictureOutput::write_scanlines(size_t count, int n, const std::function<const uint8_t*(size_t)>& planes_of) {
    encode_side_by_side(count, n, [](size_t) { return true; }, planes_of);
}

bool PictureOutput::write_scanlines_read(size_t count, int n, const std::function<bool(uint8_t*)>& read,
                                         const std::function<void(uint8_t*)>& change) {
    const size_t size = 4 * static_cast<size_t>(n);
    // Flat scanlines go one at a time through a single buffer.
    const bool flat = n < min_encoded_length || n > max_encoded_length;
    const size_t slots = flat ? 1 : 3 * scanlines_per_round;
    std::vector<uint8_t> planes(slots * size);
    auto slot = [&](size_t i) { return planes.data() + i % slots * size; };
    return encode_side_by_side(
        count, n, [&](size_t i) { return read(slot(i)); },
        [&](size_t i) -> const uint8_t* {
            if (change) change(slot(i));
            return slot(i);
        });
}

bool PictureOutput::encode_side_by_side(size_t count, int n, const std::function<bool(size_t)>& read,
                                        const std::function<const uint8_t*(size_t)>& planes_of) {
    if (n < min_encoded_length || n > max_encoded_length) {
        for (size_t i = 0; i < count; ++i) {
            if (!read(i)) return false;
            write_planes(planes_of(i), n);
        }
        return true;
    }
    const size_t room = encoded_scanline_room(n);
    std::vector<uint8_t> encoded(3 * scanlines_per_round * room);
    std::vector<size_t> sizes(3 * scanlines_per_round);
    auto slot = [&](size_t i) { return i % (3 * scanlines_per_round); };
    return read_then_work(
        count, scanlines_per_round, read,
        [&](size_t i) {
            uint8_t* start = encoded.data() + slot(i) * room;
            sizes[slot(i)] = static_cast<size_t>(encode_scanline_planes(planes_of(i), n, start) - start);
        },
        [&](size_t first, size_t last) {
            for (size_t i = first; i < last; ++i)
                write_text({reinterpret_cast<const char*>(encoded.data() + slot(i) * room), sizes[slot(i)]});
        });
}

void PictureOutput::write_pixels(const RgbePixel* pixels, int n) {
    const size_t count = static_cast<size_t>(n);
    if (n < min_encoded_length || n > max_encoded_length) {
        reserve(4 * count);
        std::memcpy(buffer_.data() + used_, pixels, 4 * count);
        used_ += 4 * count;
        return;
    }
    planes_.resize(4 * count);
    uint8_t* red = planes_.data();
    uint8_t* green = red + count;
    uint8_t* blue = green + count;
    uint8_t* exponent = blue + count;
    for (size_t i = 0; i < count; ++i) {
        red[i] = pixels[i].r;
        green[i] = pixels[i].g;
        blue[i] = pixels[i].b;
        exponent[i] = pixels[i].e;
    }
    write_planes(planes_.data(), n);
}

bool PictureOutput::finish() {
    if (!file_) return false;
    flush();
    if (std::fflush(file_) != 0) failed_ = true;
    if (owned_) {
        if (std::fclose(owned_.release()) != 0) failed_ = true;
    }
    file_ = nullptr;
    return !failed_;
}
