// Header lines and resolution lines: the programs' header reader and the
// shared resolution-line parser, with the reader's exposure rule.

#include <cstdio>
#include <string>
#include <vector>

#include "lib/picture_header.h"
#include "picture/block_reader.h"
#include "picture/resolution_line.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    if (auto resolution = parse_resolution_line(text)) {
        if (resolution->scanline_length <= 0 || resolution->scanline_count <= 0) __builtin_trap();
        (void)resolution->to_string();
    }
    if (size == 0) return 0;
    std::FILE* file = fmemopen(const_cast<uint8_t*>(data), size, "rb");
    if (!file) return 0;
    BlockReader in(file, 64);
    std::vector<std::string> lines;
    std::string partial;
    if (read_header_lines(in, lines, &partial)) {
        for (const auto& line : lines) {
            (void)is_format_line(line);
            (void)is_exposure_line(line);
            (void)is_magic_line(line);
        }
    }
    std::fclose(file);
    return 0;
}
