#include "tools/header_text.h"

#include <deque>
#include <map>

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

namespace {

// The length of the well-formed UTF-8 sequence at the start of `text`, 0
// when it is not one (overlong forms, surrogates and code points past
// U+10FFFF are not).
size_t utf8_sequence(std::string_view text) {
    const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(0);
    if (lead >= 0x01 && lead < 0x80) return 1;
    size_t length = 0;
    unsigned char low = 0x80, high = 0xBF;  // the allowed range of the second byte
    if (lead >= 0xC2 && lead <= 0xDF) length = 2;
    else if (lead == 0xE0) length = 3, low = 0xA0;
    else if (lead >= 0xE1 && lead <= 0xEC) length = 3;
    else if (lead == 0xED) length = 3, high = 0x9F;
    else if (lead >= 0xEE && lead <= 0xEF) length = 3;
    else if (lead == 0xF0) length = 4, low = 0x90;
    else if (lead >= 0xF1 && lead <= 0xF3) length = 4;
    else if (lead == 0xF4) length = 4, high = 0x8F;
    else return 0;
    if (text.size() < length || byte(1) < low || byte(1) > high) return 0;
    for (size_t i = 2; i < length; ++i)
        if (byte(i) < 0x80 || byte(i) > 0xBF) return 0;
    return length;
}

std::vector<std::string_view> lines_of(std::string_view text) {
    std::vector<std::string_view> lines;
    for (;;) {
        const size_t end = text.find('\n');
        lines.push_back(text.substr(0, end));
        if (end == std::string_view::npos) return lines;
        text.remove_prefix(end + 1);
    }
}

}  // namespace

std::string readable_edit_text(std::string_view edit_text) {
    std::string text;
    text.reserve(edit_text.size());
    while (!edit_text.empty()) {
        const size_t length = utf8_sequence(edit_text);
        if (length == 0) {
            text += "\xEF\xBF\xBD";
            edit_text.remove_prefix(1);
        } else {
            text.append(edit_text.substr(0, length));
            edit_text.remove_prefix(length);
        }
    }
    return text;
}

std::string with_unedited_bytes(std::string_view edited, std::string_view original) {
    // The original lines the widget showed differently, by what it showed,
    // in order: equal-looking lines give their bytes back one by one.
    std::map<std::string, std::deque<std::string_view>> shown_as;
    for (std::string_view line : lines_of(original)) {
        std::string readable = readable_edit_text(line);
        if (readable != line) shown_as[std::move(readable)].push_back(line);
    }
    if (shown_as.empty()) return std::string(edited);
    std::string text;
    const std::vector<std::string_view> lines = lines_of(edited);
    for (size_t i = 0; i < lines.size(); ++i) {
        const auto found = shown_as.find(std::string(lines[i]));
        if (found != shown_as.end() && !found->second.empty()) {
            text.append(found->second.front());
            found->second.pop_front();
        } else {
            text.append(lines[i]);
        }
        if (i + 1 < lines.size()) text.push_back('\n');
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

std::string exposure_line(float exposure) { return "EXPOSURE=" + format_shortest(exposure); }

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
