#include "lib/picture_header.h"

#include <cctype>
#include <cmath>
#include <cstdlib>
#include <ctime>

#include "common/text_format.h"

bool is_format_line(std::string_view line) { return starts_with(line, "FORMAT="); }
bool is_exposure_line(std::string_view line) { return starts_with(line, "EXPOSURE="); }
bool is_magic_line(std::string_view line) { return starts_with(line, "#?"); }

bool PictureHeader::has_format() const {
    for (const auto& line : lines)
        if (is_format_line(line)) return true;
    return false;
}

std::string PictureHeader::format() const {
    std::string value;
    for (const auto& line : lines) {
        if (!is_format_line(line)) continue;
        size_t i = 7;
        while (i < line.size() && std::isspace(static_cast<unsigned char>(line[i]))) ++i;
        size_t end = i;
        while (end < line.size() && !std::isspace(static_cast<unsigned char>(line[end]))) ++end;
        value = line.substr(i, end - i);
    }
    return value;
}

double PictureHeader::exposure() const {
    double product = 1.0;
    for (const auto& line : lines)
        if (is_exposure_line(line)) product *= std::atof(line.c_str() + 9);
    return product;
}

double PictureHeader::exposure_anywhere() const {
    double product = 1.0;
    for (const auto& line : lines) {
        const size_t key = line.find("EXPOSURE=");
        if (key == std::string::npos) continue;
        const double value = std::strtod(line.c_str() + key + 9, nullptr);
        // Anything but a positive finite number is not an exposure (often a
        // comment that happens to mention one).
        if (std::isfinite(value) && value > 0) product *= value;
    }
    return product;
}

bool read_header_lines(BlockReader& in, std::vector<std::string>& lines, std::string* partial) {
    const int first = in.get();
    if (first < 0 || !std::isprint(first)) return false;
    in.unget();
    std::string line;
    for (;;) {
        line.clear();
        bool ended = false;
        while (line.size() < header_piece_chars) {
            const int c = in.get();
            if (c < 0) break;
            if (c == '\n') {
                ended = true;
                break;
            }
            line.push_back(static_cast<char>(c));
        }
        if (!ended && line.size() < header_piece_chars) {
            if (partial) *partial = line;
            return false;
        }
        if (ended && (line.empty() || line == "\r")) return true;
        if (header_too_long(in)) return false;
        if (!ended) {
            // An over-long line: this piece counts as a line; a line end
            // right after it belongs to it.
            const int c = in.get();
            if (c >= 0 && c != '\n') in.unget();
        }
        lines.push_back(line);
    }
}

bool header_too_long(const BlockReader& in) { return in.offset() > max_header_bytes; }

void append_nested_header(std::vector<std::string>& out, std::string_view name, const PictureHeader& header,
                          bool keep_exposure) {
    out.push_back(std::string(name) + ":");
    for (const auto& line : header.lines) {
        if (is_magic_line(line) || is_format_line(line)) continue;
        if (!keep_exposure && is_exposure_line(line)) continue;
        out.push_back("\t" + line);
    }
}

std::vector<std::string> date_lines() {
    const std::time_t now = std::time(nullptr);
    std::tm local{}, utc{};
    localtime_r(&now, &local);
    gmtime_r(&now, &utc);
    char text[64];
    std::vector<std::string> lines;
    std::strftime(text, sizeof text, "CAPDATE= %Y:%m:%d %H:%M:%S", &local);
    lines.emplace_back(text);
    std::strftime(text, sizeof text, "GMT= %Y:%m:%d %H:%M:%S", &utc);
    lines.emplace_back(text);
    return lines;
}

std::string exposure_line(double factor) { return strprintf("EXPOSURE=%e", factor); }
