#include "lib/bmp_file.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <fstream>
#include <iterator>

#include "common/regular_file.h"

namespace {

enum Compression : uint32_t { plain = 0, rle8 = 1, rle4 = 2, bitfields = 3, alpha_bitfields = 6 };

// Little-endian reads bounded by the file; out-of-range reads give 0 and
// mark the file as damaged.
class ByteView {
public:
    explicit ByteView(const std::vector<uint8_t>& bytes) : bytes_(bytes) {}
    uint32_t u8(size_t at) {
        if (at >= bytes_.size()) {
            damaged_ = true;
            return 0;
        }
        return bytes_[at];
    }
    uint32_t u16(size_t at) { return u8(at) | (u8(at + 1) << 8); }
    uint32_t u32(size_t at) { return u16(at) | (u16(at + 2) << 16); }
    size_t size() const { return bytes_.size(); }
    bool damaged() const { return damaged_; }

private:
    const std::vector<uint8_t>& bytes_;
    bool damaged_ = false;
};

struct Channel {
    uint32_t mask = 0;
    int shift = 0;
    uint32_t max = 0;
    uint8_t from(uint32_t pixel) const {
        if (max == 0) return 0;
        const uint32_t v = (pixel & mask) >> shift;
        return static_cast<uint8_t>((v * 255 + max / 2) / max);
    }
};

Channel channel(uint32_t mask) {
    if (mask == 0) return {};
    const int shift = std::countr_zero(mask);
    return {mask, shift, mask >> shift};
}

struct Layout {
    int width = 0;
    int height = 0;
    bool top_down = false;
    int bits = 0;
    uint32_t compression = plain;
    size_t data_offset = 0;
    Channel red, green, blue;
    std::vector<uint8_t> palette;  // R G B triples
};

std::optional<Layout> read_layout(ByteView& in) {
    if (in.u8(0) != 'B' || in.u8(1) != 'M') return std::nullopt;
    Layout layout;
    layout.data_offset = in.u32(10);
    const uint32_t header_size = in.u32(14);
    size_t palette_at = 14 + header_size;
    int palette_entry = 4;
    uint32_t colours = 0;
    if (header_size == 12) {
        layout.width = static_cast<int>(in.u16(18));
        layout.height = static_cast<int>(in.u16(20));
        layout.bits = static_cast<int>(in.u16(24));
        palette_entry = 3;
    } else if (header_size >= 40) {
        layout.width = static_cast<int32_t>(in.u32(18));
        const int32_t height = static_cast<int32_t>(in.u32(22));
        // INT32_MIN has no positive counterpart: no such bitmap exists.
        if (height == INT32_MIN) return std::nullopt;
        layout.top_down = height < 0;
        layout.height = height < 0 ? -height : height;
        layout.bits = static_cast<int>(in.u16(28));
        layout.compression = in.u32(30);
        colours = in.u32(46);
        if (layout.compression == bitfields || layout.compression == alpha_bitfields) {
            // Masks follow a 40-byte header; larger headers hold them.
            const size_t masks_at = 54;
            layout.red = channel(in.u32(masks_at));
            layout.green = channel(in.u32(masks_at + 4));
            layout.blue = channel(in.u32(masks_at + 8));
            if (header_size == 40) palette_at += layout.compression == bitfields ? 12 : 16;
        }
    } else {
        return std::nullopt;
    }
    if (layout.width <= 0 || layout.height <= 0 || layout.width > 1 << 16 || layout.height > 1 << 16)
        return std::nullopt;

    const int b = layout.bits;
    const bool known = ((b == 1 || b == 4 || b == 8 || b == 24) && layout.compression == plain) ||
                       (b == 8 && layout.compression == rle8) || (b == 4 && layout.compression == rle4) ||
                       ((b == 16 || b == 32) && (layout.compression == plain || layout.compression == bitfields ||
                                                 layout.compression == alpha_bitfields));
    if (!known || (layout.compression != plain && layout.top_down && b <= 8)) return std::nullopt;
    if ((b == 16 || b == 32) && layout.compression == plain) {
        layout.red = channel(b == 16 ? 0x7c00 : 0xff0000);
        layout.green = channel(b == 16 ? 0x03e0 : 0x00ff00);
        layout.blue = channel(b == 16 ? 0x001f : 0x0000ff);
    }
    if (b <= 8) {
        if (colours == 0 || colours > (1u << b)) colours = 1u << b;
        for (uint32_t i = 0; i < colours; ++i) {
            const size_t at = palette_at + static_cast<size_t>(palette_entry) * i;
            layout.palette.push_back(static_cast<uint8_t>(in.u8(at + 2)));
            layout.palette.push_back(static_cast<uint8_t>(in.u8(at + 1)));
            layout.palette.push_back(static_cast<uint8_t>(in.u8(at)));
        }
        layout.palette.resize(3 << b, 0);
    }
    if (in.damaged()) return std::nullopt;
    // The pixels must be in the file: all rows of an uncompressed bitmap, and
    // for run-length codes, which can cover many pixels with a few bytes, no
    // more than a generous multiple of the file's size. A few bytes claiming
    // a gigapixel bitmap never cost a gigabyte.
    const uint64_t pixels = static_cast<uint64_t>(layout.width) * static_cast<uint64_t>(layout.height);
    const uint64_t row_size = ((static_cast<uint64_t>(layout.width) * static_cast<uint64_t>(b) + 31) / 32) * 4;
    if (layout.compression == rle8 || layout.compression == rle4) {
        if (pixels > std::max<uint64_t>(uint64_t{1} << 26, 512 * static_cast<uint64_t>(in.size()))) return std::nullopt;
    } else if (static_cast<uint64_t>(layout.data_offset) + row_size * static_cast<uint64_t>(layout.height) >
               in.size()) {
        return std::nullopt;
    }
    return layout;
}

// A run-length encoded bitmap straight into the image (rows bottom-up).
// Pixels the codes skip keep colour 0: the image starts filled with it, one
// row set pixel by pixel and copied to the others, so the cost of a bitmap
// that skips most of itself grows with its codes, not its claimed size.
bool decode_rle(ByteView& in, const Layout& layout, RgbImage& image) {
    const size_t w = static_cast<size_t>(layout.width), h = static_cast<size_t>(layout.height);
    const uint8_t* palette = layout.palette.data();
    if (palette[0] != 0 || palette[1] != 0 || palette[2] != 0) {
        uint8_t* first = image.row(0);
        for (size_t x = 0; x < w; ++x) std::copy(palette, palette + 3, first + 3 * x);
        for (size_t r = 1; r < h; ++r) std::copy(first, first + 3 * w, image.row(static_cast<int>(r)));
    }
    const bool four = layout.compression == rle4;
    size_t at = layout.data_offset;
    size_t x = 0, y = 0;
    auto put = [&](uint32_t index) {
        if (x < w && y < h) std::copy(palette + 3 * index, palette + 3 * index + 3, image.row(static_cast<int>(h - 1 - y)) + 3 * x);
        ++x;
    };
    while (at + 1 < in.size()) {
        const uint32_t count = in.u8(at), value = in.u8(at + 1);
        at += 2;
        if (count > 0) {
            for (uint32_t i = 0; i < count; ++i) put(four ? (i % 2 == 0 ? value >> 4 : value & 15) : value);
        } else if (value == 0) {
            x = 0;
            ++y;
        } else if (value == 1) {
            return true;
        } else if (value == 2) {
            x += in.u8(at);
            y += in.u8(at + 1);
            at += 2;
        } else {
            for (uint32_t i = 0; i < value; ++i) {
                const uint32_t byte = in.u8(at + (four ? i / 2 : i));
                put(four ? (i % 2 == 0 ? byte >> 4 : byte & 15) : byte);
            }
            const size_t used = four ? (value + 1) / 2 : value;
            at += (used + 1) & ~size_t{1};
        }
        if (in.damaged()) return false;
    }
    return true;
}

}  // namespace

std::optional<RgbImage> read_bmp(const std::string& path) {
    if (!non_regular_kind(path).empty()) return std::nullopt;
    std::ifstream file(path, std::ios::binary);
    if (!file) return std::nullopt;
    const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    ByteView in(bytes);
    const auto layout = read_layout(in);
    if (!layout) return std::nullopt;

    RgbImage image;
    image.width = layout->width;
    image.height = layout->height;
    image.rgb.resize(3 * static_cast<size_t>(image.width) * static_cast<size_t>(image.height));
    const size_t w = static_cast<size_t>(layout->width);
    const int bits = layout->bits;

    if (layout->compression == rle8 || layout->compression == rle4) {
        if (!decode_rle(in, *layout, image)) return std::nullopt;
        return image;
    }
    const size_t row_size = ((w * static_cast<size_t>(bits) + 31) / 32) * 4;
    for (int r = 0; r < image.height; ++r) {
        const size_t stored = layout->top_down ? static_cast<size_t>(r) : static_cast<size_t>(image.height - 1 - r);
        const size_t at = layout->data_offset + stored * row_size;
        uint8_t* out = image.row(r);
        for (size_t x = 0; x < w; ++x) {
            uint32_t index = 0;
            if (bits <= 8) {
                const size_t bit = x * static_cast<size_t>(bits);
                const uint32_t byte = in.u8(at + bit / 8);
                index = (byte >> (8 - bits - bit % 8)) & ((1u << bits) - 1);
            } else if (bits == 24) {
                out[3 * x] = static_cast<uint8_t>(in.u8(at + 3 * x + 2));
                out[3 * x + 1] = static_cast<uint8_t>(in.u8(at + 3 * x + 1));
                out[3 * x + 2] = static_cast<uint8_t>(in.u8(at + 3 * x));
                continue;
            } else {
                const uint32_t pixel = bits == 16 ? in.u16(at + 2 * x) : in.u32(at + 4 * x);
                out[3 * x] = layout->red.from(pixel);
                out[3 * x + 1] = layout->green.from(pixel);
                out[3 * x + 2] = layout->blue.from(pixel);
                continue;
            }
            out[3 * x] = layout->palette[3 * index];
            out[3 * x + 1] = layout->palette[3 * index + 1];
            out[3 * x + 2] = layout->palette[3 * index + 2];
        }
        if (in.damaged()) return std::nullopt;
    }
    return image;
}
