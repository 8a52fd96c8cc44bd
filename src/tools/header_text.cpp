#include "tools/header_text.h"

#include <charconv>

#include "common/text_format.h"

std::string header_read_for_editing_command(const std::string& input, const std::string& text_file) {
    return "/C getinfo " + input + " " + " > " + text_file;
}

std::string header_put_back_command(const std::string& input, const std::string& text_file) {
    return "/C getinfo - < " + input + ">> " + text_file;
}

std::string header_read_command(const std::string& input) { return "/C getinfo " + input; }

std::vector<std::string> header_lines_of(std::string_view output) {
    std::vector<std::string> lines;
    bool name_line = true;
    for (;;) {
        const size_t cut = output.find("\n\t");
        if (cut == std::string_view::npos) break;
        std::string_view piece = output.substr(0, cut);
        if (!piece.empty() && piece.back() == '\r') piece.remove_suffix(1);
        if (!name_line) lines.emplace_back(piece);
        name_line = false;
        output.remove_prefix(cut + 2);
    }
    // getinfo ends with a lone tab and a line feed; anything more is a last
    // line that lost its ending.
    if (!name_line && output.find_first_not_of(" \t\r\n") != std::string_view::npos) {
        while (!output.empty() && (output.back() == '\n' || output.back() == '\r')) output.remove_suffix(1);
        lines.emplace_back(output);
    }
    return lines;
}

std::string header_edit_text(std::string_view file_text) {
    const size_t first = file_text.find('\n');
    if (first == std::string_view::npos) return {};
    std::string text;
    for (size_t i = first + 1; i < file_text.size(); ++i) {
        const char c = file_text[i];
        if (c == '\t') continue;
        if (c == '\r' && i + 1 < file_text.size() && file_text[i + 1] == '\n') continue;
        text.push_back(c);
    }
    return text;
}

std::string header_file_text(std::string_view edit_text) {
    std::string text;
    while (!edit_text.empty()) {
        const size_t end = edit_text.find('\n');
        std::string_view line = edit_text.substr(0, end);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line.size() > 1) {
            text.append(line);
            text.push_back('\n');
        }
        if (end == std::string_view::npos) break;
        edit_text.remove_prefix(end + 1);
    }
    text.push_back('\n');
    return text;
}

std::string exposure_line(float exposure) {
    // The shortest text that reads back as the same float.
    char digits[32];
    const auto [end, error] = std::to_chars(digits, digits + sizeof digits, exposure);
    return "EXPOSURE=" + std::string(digits, error == std::errc() ? end : digits);
}

std::string projection_header(const std::vector<std::string>& lines, float exposure) {
    static constexpr std::string_view kept[] = {"#?RADIANCE", "CAMERA=", "PRIMARIES=", "FORMAT=", "SOFTWARE="};
    const std::string exposure_and_view = exposure_line(exposure) + "\n" + fisheye_view_line + "\n";
    std::string header;
    bool written = false;
    for (const std::string& line : lines) {
        for (std::string_view key : kept) {
            if (contains(line, key)) {
                header += line + "\n";
                break;
            }
        }
        if (!written && contains(line, "EXPOSURE=")) {
            header += exposure_and_view;
            written = true;
        }
    }
    if (!written) header += exposure_and_view;
    header += "\n";
    return header;
}
