#include "macro/replay_command.h"

#include <array>
#include <cctype>

#include "common/text_format.h"

namespace {

constexpr std::array<std::string_view, 17> picture_programs = {
    "getinfo", "pfilt", "pcompos", "protate", "pflip",    "pcomb",      "pinterp",  "pextrem", "pcond",
    "rcalc",   "histo", "ra_bmp",  "ra_gif",  "ra_tiff",  "evalglare",  "ReinhardTM", "tm_linear"};

bool is_word_character(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || std::string_view("/._-+,=:%@").find(c) != std::string_view::npos;
}

struct Token {
    enum class Kind { word, input, output, append, pipe } kind = Kind::word;
    std::string text;
    bool quoted = false;
};

Failure refusal(const std::string& why) { return Failure{-1, why}; }

std::string shown(char c) {
    if (c == '\t') return "a tab";
    if (c == '\n' || c == '\r') return "a line end";
    if (static_cast<unsigned char>(c) < 32 || static_cast<unsigned char>(c) > 126) return "a character outside plain text";
    return strprintf("\"%c\"", c);
}

Result<std::vector<Token>> tokens_of(std::string_view text) {
    std::vector<Token> tokens;
    size_t i = 0;
    while (i < text.size()) {
        const char c = text[i];
        if (c == ' ') {
            ++i;
        } else if (c == '>' || c == '<' || c == '|') {
            Token token;
            if (c == '|') token.kind = Token::Kind::pipe;
            else if (c == '<') token.kind = Token::Kind::input;
            else if (i + 1 < text.size() && text[i + 1] == '>') token.kind = Token::Kind::append, ++i;
            else token.kind = Token::Kind::output;
            tokens.push_back(token);
            ++i;
        } else if (is_word_character(c) || c == '"') {
            Token word;
            while (i < text.size() && (is_word_character(text[i]) || text[i] == '"')) {
                if (text[i] != '"') {
                    word.text += text[i++];
                    continue;
                }
                word.quoted = true;
                const size_t close = text.find('"', i + 1);
                if (close == std::string_view::npos) return refusal("a quote is not closed");
                const std::string_view inside = text.substr(i + 1, close - i - 1);
                for (char q : inside)
                    if (q == '$' || q == '`' || q == '\\' || q == '!' || static_cast<unsigned char>(q) < 32)
                        return refusal("it holds " + shown(q) + " inside quotes");
                word.text += inside;
                i = close + 1;
            }
            tokens.push_back(std::move(word));
        } else {
            return refusal("it holds " + shown(c));
        }
    }
    return tokens;
}

}  // namespace

bool is_picture_program(std::string_view name) {
    for (std::string_view program : picture_programs)
        if (program == name) return true;
    return false;
}

Result<ReplayableLine> read_replayable_line(std::string_view command_line) {
    if (!starts_with(command_line, "/C ")) return refusal("it does not begin with \"/C \"");
    auto tokens = tokens_of(command_line.substr(3));
    if (!tokens) return tokens.failure();

    ReplayableLine line;
    bool expect_program = true;
    const auto& list = tokens.value();
    for (size_t i = 0; i < list.size(); ++i) {
        const Token& token = list[i];
        switch (token.kind) {
        case Token::Kind::pipe:
            if (expect_program) return refusal("a \"|\" has no program before it");
            expect_program = true;
            break;
        case Token::Kind::input:
        case Token::Kind::output:
        case Token::Kind::append:
            if (i + 1 >= list.size() || list[i + 1].kind != Token::Kind::word)
                return refusal("a redirection names no file");
            ++i;
            if (token.kind != Token::Kind::input) line.output_targets.push_back(list[i].text);
            break;
        case Token::Kind::word:
            if (expect_program) {
                if (token.quoted || !is_picture_program(token.text))
                    return refusal("\"" + token.text + "\" is not one of the picture programs");
                line.programs.push_back(token.text);
                expect_program = false;
            }
            break;
        }
    }
    if (expect_program) return refusal(line.programs.empty() ? "it names no program" : "a \"|\" has no program after it");
    return line;
}
