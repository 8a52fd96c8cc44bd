#include "common/text_file.h"

#include <cstdio>

#include "common/regular_file.h"

std::optional<std::string> read_file_bytes(const std::filesystem::path& path) {
    // A FIFO or a device named as a sequence or settings file would block or
    // never end.
    std::FILE* file = open_regular_file(path.string());
    if (!file) return std::nullopt;
    std::string bytes;
    char chunk[65536];
    size_t got;
    while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0) bytes.append(chunk, got);
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
    if (failed) return std::nullopt;
    return bytes;
}

std::optional<std::vector<std::string>> read_text_lines(const std::filesystem::path& path) {
    auto bytes = read_file_bytes(path);
    if (!bytes) return std::nullopt;
    std::vector<std::string> lines;
    size_t start = 0;
    const std::string& text = *bytes;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        const bool has_end = end != std::string::npos;
        if (!has_end) end = text.size();
        size_t stop = end;
        if (has_end && stop > start && text[stop - 1] == '\r') --stop;
        lines.push_back(text.substr(start, stop - start));
        start = end + 1;
    }
    return lines;
}

bool write_text_lines(const std::filesystem::path& path, const std::vector<std::string>& lines) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    bool ok = true;
    for (const auto& line : lines) {
        ok = ok && std::fwrite(line.data(), 1, line.size(), file) == line.size();
        ok = ok && std::fwrite("\r\n", 1, 2, file) == 2;
    }
    return std::fclose(file) == 0 && ok;
}
