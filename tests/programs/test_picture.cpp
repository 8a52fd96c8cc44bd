#include "test_picture.h"

#include <cstdio>
#include <memory>

#include "picture/block_reader.h"
#include "picture/resolution_line.h"
#include "picture/scanline_codec.h"

std::string tiny_picture_bytes() {
    return picture_file({"FORMAT=32-bit_rle_rgbe", "EXPOSURE=2"}, "-Y 2 +X 3",
                        {tiny::A, tiny::B, tiny::C, tiny::D, tiny::E, tiny::F}, 3, false);
}

std::string picture_file(const std::vector<std::string>& lines, const std::string& resolution,
                         const std::vector<RgbePixel>& pixels, int scanline_length, bool run_length) {
    std::string text = "#?RADIANCE\n";
    for (const auto& line : lines) text += line + "\n";
    text += "\n" + resolution + "\n";
    std::vector<uint8_t> data;
    const size_t n = static_cast<size_t>(scanline_length);
    for (size_t start = 0; start < pixels.size(); start += n) {
        const std::span<const RgbePixel> scanline(pixels.data() + start, n);
        if (run_length) {
            encode_scanline(scanline, data);
        } else {
            const auto* bytes = reinterpret_cast<const uint8_t*>(scanline.data());
            data.insert(data.end(), bytes, bytes + 4 * n);
        }
    }
    return text + std::string(data.begin(), data.end());
}

std::vector<RgbePixel> position_pixels(int width, int height) {
    std::vector<RgbePixel> pixels;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            pixels.push_back({static_cast<uint8_t>(x + 1), static_cast<uint8_t>(y + 1),
                              static_cast<uint8_t>((x + y) % 256), 130});
    return pixels;
}

ReadPicture read_picture(const std::filesystem::path& path) {
    ReadPicture picture;
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"), std::fclose);
    if (!file) return picture;
    BlockReader in(file.get());
    std::string line;
    for (;;) {
        if (!in.read_line(line, 100000)) return picture;
        if (line == "\n") break;
        picture.header.push_back(line.substr(0, line.size() - 1));
    }
    if (!in.read_line(line, 100)) return picture;
    picture.resolution = line.substr(0, line.size() - 1);
    const auto resolution = parse_resolution_line(picture.resolution);
    if (!resolution) return picture;
    const size_t n = static_cast<size_t>(resolution->scanline_length);
    ScanlineDecoder decoder(in, resolution->scanline_length);
    std::vector<uint8_t> planes(4 * n);
    picture.pixels.resize(n * static_cast<size_t>(resolution->scanline_count));
    for (int s = 0; s < resolution->scanline_count; ++s) {
        if (!decoder.decode(planes.data())) return picture;
        planes_to_pixels(planes.data(), resolution->scanline_length, picture.pixels.data() + n * static_cast<size_t>(s));
    }
    picture.ok = in.get() < 0;  // nothing may follow the last scanline
    return picture;
}

bool has_line(const ReadPicture& picture, const std::string& line) {
    for (const auto& l : picture.header)
        if (l == line) return true;
    return false;
}
