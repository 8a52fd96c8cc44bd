#include "lib/command_line.h"

#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <vector>

std::optional<double> parse_number(std::string_view word) {
    if (word.empty() || std::isspace(static_cast<unsigned char>(word.front()))) return std::nullopt;
    const std::string text(word);
    char* end = nullptr;
    errno = 0;
    const double value = std::strtod(text.c_str(), &end);
    if (end == text.c_str() || *end != '\0') return std::nullopt;
    return value;
}

std::optional<long> parse_integer(std::string_view word) {
    if (word.empty() || std::isspace(static_cast<unsigned char>(word.front()))) return std::nullopt;
    const std::string text(word);
    char* end = nullptr;
    errno = 0;
    const long value = std::strtol(text.c_str(), &end, 10);
    if (end == text.c_str() || *end != '\0' || errno == ERANGE) return std::nullopt;
    return value;
}

long leading_integer(std::string_view word) {
    size_t i = 0;
    while (i < word.size() && std::isspace(static_cast<unsigned char>(word[i]))) ++i;
    bool negative = false;
    if (i < word.size() && (word[i] == '+' || word[i] == '-')) negative = word[i++] == '-';
    long value = 0;
    while (i < word.size() && std::isdigit(static_cast<unsigned char>(word[i])) && value < 100000000L)
        value = value * 10 + (word[i++] - '0');
    return negative ? -value : value;
}

namespace {

std::string quoted(const std::string& word) {
    bool blank = false;
    for (char c : word)
        if (std::isspace(static_cast<unsigned char>(c))) blank = true;
    if (!blank) return word;
    const char quote = word.find('"') == std::string::npos ? '"' : '\'';
    return quote + word + quote;
}

}  // namespace

std::string command_line_text(std::span<const std::string> words) {
    std::string text;
    for (const auto& word : words) {
        if (!text.empty()) text += ' ';
        text += quoted(word);
    }
    return text;
}

std::string command_line_text(int argc, char** argv) {
    const std::vector<std::string> words(argv, argv + argc);
    return command_line_text(words);
}

std::string program_base_name(std::string_view argv0) {
    const size_t slash = argv0.find_last_of("/\\");
    if (slash != std::string_view::npos) argv0.remove_prefix(slash + 1);
    const size_t dot = argv0.rfind('.');
    if (dot != std::string_view::npos && dot > 0) argv0 = argv0.substr(0, dot);
    return std::string(argv0);
}
