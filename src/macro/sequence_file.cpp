#include "macro/sequence_file.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdio>

#include "common/regular_file.h"
#include "common/text_format.h"

std::vector<SequenceEntry> parse_sequence(std::string_view text) {
    if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
    std::vector<SequenceEntry> entries;
    size_t start = 0;
    for (;;) {
        const size_t end = text.find('\n', start);
        std::string_view line = text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);

        SequenceEntry entry;
        entry.line = std::string(line);
        const size_t first = line.find('#');
        if (first == std::string_view::npos) {
            entry.command = entry.line;
        } else {
            entry.number = parse_command_number(line.substr(0, first));
            const size_t second = line.find('#', first + 1);
            entry.command = std::string(line.substr(first + 1, second == std::string_view::npos
                                                                   ? std::string_view::npos
                                                                   : second - first - 1));
            entry.value = std::string(line.substr(line.rfind('#') + 1));
        }
        entries.push_back(std::move(entry));
        if (end == std::string_view::npos) break;
        start = end + 1;
    }
    return entries;
}

unsigned long parse_command_number(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
    if (i < text.size() && text[i] == '+') ++i;
    unsigned base = 10;
    if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X') && i + 2 < text.size() &&
        std::isxdigit(static_cast<unsigned char>(text[i + 2]))) {
        base = 16;
        i += 2;
    } else if (i < text.size() && text[i] == '0') {
        base = 8;
    }
    unsigned long value = 0;
    for (; i < text.size(); ++i) {
        const char c = static_cast<char>(std::tolower(static_cast<unsigned char>(text[i])));
        unsigned digit;
        if (c >= '0' && c <= '9') digit = static_cast<unsigned>(c - '0');
        else if (c >= 'a' && c <= 'f') digit = static_cast<unsigned>(c - 'a' + 10);
        else break;
        if (digit >= base) break;
        value = value * base + digit;
    }
    return value;
}

std::string format_sequence_line(int command_number, std::string_view command_line, std::string_view value) {
    char digits[16];
    const auto written = std::to_chars(digits, digits + sizeof digits, command_number);
    std::string line(digits, written.ptr);
    line += '#';
    line += command_line;
    line += '#';
    line += value;
    return line;
}

std::string with_sequence_extension(const std::string& path) {
    const size_t slash = path.rfind('/');
    const std::string_view name = std::string_view(path).substr(slash == std::string::npos ? 0 : slash + 1);
    const size_t dot = name.rfind('.');
    if (dot != std::string_view::npos && name.substr(dot + 1) == "seq") return path;
    return path + ".seq";
}

Result<std::string> read_sequence_file(const std::string& path) {
    // A FIFO or a device would be read without end; it is refused on opening.
    std::string kind;
    std::FILE* file = open_regular_file(path, &kind);
    if (!file && !kind.empty()) return Failure{-1, "The sequence file " + path + " is not a regular file."};
    if (!file) return Failure{-1, "Could not read the sequence file " + path};
    std::string text(max_sequence_bytes + 1, '\0');
    const size_t read = std::fread(text.data(), 1, text.size(), file);
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
    if (failed) return Failure{-1, "Could not read the sequence file " + path};
    text.resize(read);
    if (text.size() > max_sequence_bytes)
        return Failure{-1, strprintf("The sequence file %s is larger than 1 MB; a recorded sequence is far smaller, so "
                                     "it was not replayed.",
                                     path.c_str())};
    size_t lines = static_cast<size_t>(std::count(text.begin(), text.end(), '\n'));
    if (!text.empty() && text.back() != '\n') ++lines;
    if (lines > max_sequence_lines)
        return Failure{-1, strprintf("The sequence file %s has more than %zu lines; a recorded sequence is far "
                                     "shorter, so it was not replayed.",
                                     path.c_str(), max_sequence_lines)};
    return text;
}
