#include "lib/tiff_conversion.h"

#include <tiffio.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <new>
#include <vector>

#include "common/regular_file.h"
#include "common/text_format.h"
#include "lib/display_gamma.h"
#include "lib/picture_output.h"
#include "lib/rgbe_color.h"
#include "picture/rgbe_writer.h"

namespace {

struct TiffCloser {
    void operator()(TIFF* tif) const { TIFFClose(tif); }
};
using Tiff = std::unique_ptr<TIFF, TiffCloser>;

struct Layout {
    uint32_t width = 0;
    uint32_t height = 0;
    uint16_t samples = 1;
    uint16_t bits = 8;
    uint16_t format = SAMPLEFORMAT_UINT;
    uint16_t planar = PLANARCONFIG_CONTIG;
    uint16_t orientation = ORIENTATION_TOPLEFT;
    bool grey = false;
};

// Why the image cannot be converted, or "" when it can.
std::string check_layout(TIFF* tif, uint64_t file_bytes, Layout& layout) {
    uint16_t photometric = 0;
    if (!TIFFGetField(tif, TIFFTAG_PHOTOMETRIC, &photometric)) return "unsupported photometric type";
    TIFFGetField(tif, TIFFTAG_IMAGEWIDTH, &layout.width);
    TIFFGetField(tif, TIFFTAG_IMAGELENGTH, &layout.height);
    TIFFGetFieldDefaulted(tif, TIFFTAG_BITSPERSAMPLE, &layout.bits);
    TIFFGetFieldDefaulted(tif, TIFFTAG_SAMPLEFORMAT, &layout.format);
    TIFFGetFieldDefaulted(tif, TIFFTAG_PLANARCONFIG, &layout.planar);
    TIFFGetFieldDefaulted(tif, TIFFTAG_ORIENTATION, &layout.orientation);
    const bool depth_ok = (layout.format != SAMPLEFORMAT_IEEEFP && (layout.bits == 8 || layout.bits == 16)) ||
                          (layout.format == SAMPLEFORMAT_IEEEFP && layout.bits == 32);
    if (photometric == PHOTOMETRIC_MINISBLACK) {
        layout.grey = true;
        uint16_t samples = 0;
        if (!TIFFGetField(tif, TIFFTAG_SAMPLESPERPIXEL, &samples) || samples != 1)
            return "unsupported samples per pixel for greyscale";
        if (!depth_ok) return "unsupported bits per sample for greyscale";
        layout.samples = 1;
    } else if (photometric == PHOTOMETRIC_RGB) {
        TIFFGetFieldDefaulted(tif, TIFFTAG_SAMPLESPERPIXEL, &layout.samples);
        if (layout.samples < 3) return "unsupported samples per pixel for RGB";
        if (!depth_ok) return "unsupported bits per sample for RGB";
    } else {
        return "unsupported photometric type";
    }
    // Pictures read back with scanlines of at most 2^24 pixels.
    constexpr uint32_t longest_side = uint32_t{1} << 24;
    if (layout.width == 0 || layout.height == 0 || layout.width > longest_side || layout.height > longest_side)
        return "bad image size";
    if (TIFFIsTiled(tif) && (layout.bits != 8 || layout.format == SAMPLEFORMAT_IEEEFP))
        return "unsupported tiled image";
    // A scanline is read whole; the widest picture of three 32-bit samples
    // needs 192 MB, and a larger one means a damaged sample count.
    constexpr uint64_t largest_scanline_bytes = uint64_t{1} << 28;
    if (!TIFFIsTiled(tif) && TIFFScanlineSize64(tif) > largest_scanline_bytes) return "bad image size";
    // Every decoded byte comes out of the file. No codec we read packs more
    // than about 1 400 bytes into one (LZW on a constant image; deflate stops
    // at 1 032), so an image larger than 2 048 times its file is a claim no
    // data backs, however many strips point at the same few bytes.
    constexpr uint64_t largest_expansion = 2048;
    const bool tiled = TIFFIsTiled(tif);
    const uint64_t block_bytes = tiled ? TIFFTileSize64(tif) : TIFFStripSize64(tif);
    const uint64_t blocks = tiled ? TIFFNumberOfTiles(tif) : TIFFNumberOfStrips(tif);
    const uint64_t backed = largest_expansion * file_bytes;
    if (block_bytes == 0 || blocks == 0 || block_bytes > backed || blocks > backed / block_bytes) return "bad image size";
    return "";
}

// The RGBE pixel of one colour given in the file's own sample type.
RgbePixel convert_pixel(const Layout& layout, const void* r, const void* g, const void* b) {
    if (layout.format == SAMPLEFORMAT_IEEEFP)
        return encode_color(*static_cast<const float*>(r), *static_cast<const float*>(g), *static_cast<const float*>(b));
    if (layout.bits == 16)
        return pixel_from_display16(*static_cast<const uint16_t*>(r), *static_cast<const uint16_t*>(g),
                                    *static_cast<const uint16_t*>(b));
    return pixel_from_display(*static_cast<const uint8_t*>(r), *static_cast<const uint8_t*>(g),
                              *static_cast<const uint8_t*>(b));
}

// Tiles larger than this are not what any camera or editor writes; refusing
// them keeps one damaged tag from claiming gigabytes.
constexpr uint64_t largest_tile_pixels = uint64_t{1} << 24;

// Tiled 8-bit images, a row of tiles at a time through libtiff's RGBA
// reader, so memory grows only with tiles that were really decoded.
bool read_tiles(TIFF* tif, const Layout& layout, std::vector<RgbePixel>& pixels) {
    uint32_t tile_width = 0, tile_height = 0;
    if (!TIFFGetField(tif, TIFFTAG_TILEWIDTH, &tile_width) || !TIFFGetField(tif, TIFFTAG_TILELENGTH, &tile_height) ||
        tile_width == 0 || tile_height == 0 || uint64_t{tile_width} * tile_height > largest_tile_pixels)
        return false;
    const size_t w = layout.width;
    std::vector<uint32_t> tile(size_t{tile_width} * tile_height);
    for (uint32_t top = 0; top < layout.height; top += tile_height) {
        const uint32_t rows = std::min(tile_height, layout.height - top);
        pixels.resize((size_t{top} + rows) * w);
        for (uint32_t left = 0; left < layout.width; left += tile_width) {
            if (!TIFFReadRGBATile(tif, left, top, tile.data())) return false;
            const uint32_t columns = std::min(tile_width, layout.width - left);
            // The RGBA tile has its origin at the lower left.
            for (uint32_t r = 0; r < rows; ++r)
                for (uint32_t c = 0; c < columns; ++c) {
                    const uint32_t rgba = tile[size_t{tile_height - 1 - r} * tile_width + c];
                    pixels[(size_t{top} + r) * w + left + c] =
                        pixel_from_display(static_cast<uint8_t>(TIFFGetR(rgba)), static_cast<uint8_t>(TIFFGetG(rgba)),
                                           static_cast<uint8_t>(TIFFGetB(rgba)));
                }
        }
    }
    return true;
}

// The pixels in stored order (row 0 as the file has it). The picture grows
// row by row as scanlines decode, so a size the data does not back fails at
// the first missing strip instead of allocating what the tags claim.
bool read_stored(TIFF* tif, const Layout& layout, std::vector<RgbePixel>& pixels) {
    if (TIFFIsTiled(tif)) return read_tiles(tif, layout, pixels);
    const size_t w = layout.width;
    const size_t sample_bytes = layout.bits / 8;
    const bool separate = layout.planar == PLANARCONFIG_SEPARATE && layout.samples > 1;
    const int planes = separate ? (layout.grey ? 1 : 3) : 1;
    std::vector<std::vector<uint8_t>> rows(static_cast<size_t>(planes), std::vector<uint8_t>(TIFFScanlineSize(tif)));
    for (uint32_t y = 0; y < layout.height; ++y) {
        for (int p = 0; p < planes; ++p)
            if (TIFFReadScanline(tif, rows[static_cast<size_t>(p)].data(), y, static_cast<uint16_t>(p)) < 0)
                return false;
        pixels.resize((size_t{y} + 1) * w);
        for (size_t x = 0; x < w; ++x) {
            const void* channel[3];
            for (size_t c = 0; c < 3; ++c) {
                const size_t k = layout.grey ? 0 : c;
                channel[c] = separate ? rows[k].data() + x * sample_bytes
                                      : rows[0].data() + (x * layout.samples + k) * sample_bytes;
            }
            pixels[y * w + x] = convert_pixel(layout, channel[0], channel[1], channel[2]);
        }
    }
    return true;
}

// The pixels as the orientation tag says they are seen, top row first.
std::vector<RgbePixel> oriented(const Layout& layout, const std::vector<RgbePixel>& stored, int& width, int& height) {
    const int w = static_cast<int>(layout.width), h = static_cast<int>(layout.height);
    const int o = layout.orientation >= 1 && layout.orientation <= 8 ? layout.orientation : 1;
    const bool transposed = o >= 5;
    width = transposed ? h : w;
    height = transposed ? w : h;
    std::vector<RgbePixel> out(stored.size());
    for (int r = 0; r < h; ++r)
        for (int c = 0; c < w; ++c) {
            int x = c, y = r;
            switch (o) {
                case 2: x = w - 1 - c; break;
                case 3: x = w - 1 - c, y = h - 1 - r; break;
                case 4: y = h - 1 - r; break;
                case 5: x = r, y = c; break;
                case 6: x = h - 1 - r, y = c; break;
                case 7: x = h - 1 - r, y = w - 1 - c; break;
                case 8: x = r, y = w - 1 - c; break;
                default: break;
            }
            out[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)] =
                stored[static_cast<size_t>(r) * static_cast<size_t>(w) + static_cast<size_t>(c)];
        }
    return out;
}

std::vector<std::string> tiff_header(TIFF* tif, const std::string& command) {
    std::vector<std::string> lines = {"#?RADIANCE", command};
    float x_resolution = 0, y_resolution = 0;
    if (TIFFGetField(tif, TIFFTAG_XRESOLUTION, &x_resolution) && TIFFGetField(tif, TIFFTAG_YRESOLUTION, &y_resolution) &&
        x_resolution > 0 && y_resolution > 0) {
        const double aspect = static_cast<double>(x_resolution) / y_resolution;
        if (aspect < 0.99 || aspect > 1.01) lines.push_back(strprintf("PIXASPECT=%f", aspect));
    }
    lines.emplace_back("FORMAT=32-bit_rle_rgbe");
    char* text = nullptr;
    if (TIFFGetField(tif, TIFFTAG_DATETIME, &text) && text) lines.push_back(std::string("CAPDATE= ") + text);
    if (TIFFGetField(tif, TIFFTAG_ARTIST, &text) && text) lines.push_back(std::string("OWNER= ") + text);
    return lines;
}

}  // namespace

ProgramStatus tiff_to_picture(const TiffOptions& options) {
    // Warnings about unknown tags would read as a failure to a caller that
    // takes any printed text for one.
    TIFFSetWarningHandler(nullptr);
    if (const std::string kind = non_regular_kind(options.input); !kind.empty())
        return program_failure(options.input + ": " + kind);
    Tiff tif(TIFFOpen(options.input.c_str(), "r"));
    if (!tif) return program_failure("cannot open TIFF input");
    PictureOutput out;
    if (!out.open(options.output)) return plain_failure(options.output + ": cannot open for output");

    Layout layout;
    std::error_code size_error;
    const uint64_t file_bytes = std::filesystem::file_size(options.input, size_error);
    if (size_error) return program_failure("cannot open TIFF input");
    if (const std::string problem = check_layout(tif.get(), file_bytes, layout); !problem.empty())
        return program_failure(problem);
    std::vector<RgbePixel> stored;
    try {
        if (!read_stored(tif.get(), layout, stored)) return program_failure("error reading TIFF input");
    } catch (const std::bad_alloc&) {
        return program_failure("out of memory");
    }
    int width = 0, height = 0;
    const auto pixels = oriented(layout, stored, width, height);
    out.write_header(tiff_header(tif.get(), options.command), standard_resolution(width, height));
    for (int y = 0; y < height; ++y)
        out.write_pixels(pixels.data() + static_cast<size_t>(y) * static_cast<size_t>(width), width);
    if (!out.finish()) return program_failure("error writing " + options.output);
    return success();
}
