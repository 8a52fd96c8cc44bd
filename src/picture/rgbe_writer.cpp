#include "picture/rgbe_writer.h"

#include "common/regular_file.h"
#include "picture/scanline_codec.h"

ResolutionLine standard_resolution(int width, int height) {
    ResolutionLine line;
    line.scanline_length = width;
    line.scanline_count = height;
    line.flags = ResolutionLine::y_major | ResolutionLine::y_decreasing;
    return line;
}

bool write_rgbe_header(std::FILE* out, const RgbePictureHeader& header) {
    std::string text = "#?RADIANCE\n";
    for (const auto& line : header.lines) text += line + "\n";
    text += "FORMAT=32-bit_rle_rgbe\n\n";
    text += header.resolution.to_string() + "\n";
    return std::fwrite(text.data(), 1, text.size(), out) == text.size();
}

bool write_rgbe_picture(std::FILE* out, const RgbePictureHeader& header, std::span<const RgbePixel> pixels) {
    if (!write_rgbe_header(out, header)) return false;
    const size_t n = static_cast<size_t>(header.resolution.scanline_length);
    const size_t rows = static_cast<size_t>(header.resolution.scanline_count);
    if (pixels.size() < n * rows) return false;
    std::vector<uint8_t> encoded;
    encoded.reserve(4 * n + 64);
    for (size_t row = 0; row < rows; ++row) {
        encoded.clear();
        encode_scanline(pixels.subspan(row * n, n), encoded);
        if (std::fwrite(encoded.data(), 1, encoded.size(), out) != encoded.size()) return false;
    }
    return true;
}

bool write_rgbe_picture(const std::string& path, const RgbePictureHeader& header,
                        std::span<const RgbePixel> pixels) {
    std::FILE* out = create_output_file(path);
    if (!out) return false;
    const bool ok = write_rgbe_picture(out, header, pixels);
    return std::fclose(out) == 0 && ok;
}
