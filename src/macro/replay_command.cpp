#include "macro/replay_command.h"

#include <cctype>

#include "common/text_format.h"

namespace {

bool is_word_character(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || std::string_view("/._-+,=:%@").find(c) != std::string_view::npos;
}

struct Token {
    enum class Kind { word, input, output, append, pipe } kind = Kind::word;
    CommandWord word;
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
            Token token;
            while (i < text.size() && (is_word_character(text[i]) || text[i] == '"')) {
                if (text[i] != '"') {
                    token.word.text += text[i++];
                    continue;
                }
                token.word.quoted = true;
                const size_t close = text.find('"', i + 1);
                if (close == std::string_view::npos) return refusal("a quote is not closed");
                const std::string_view inside = text.substr(i + 1, close - i - 1);
                for (char q : inside)
                    if (q == '$' || q == '`' || q == '\\' || q == '!' || static_cast<unsigned char>(q) < 32 ||
                        static_cast<unsigned char>(q) > 126)
                        return refusal("it holds " + shown(q) + " inside quotes");
                token.word.text += inside;
                i = close + 1;
            }
            tokens.push_back(std::move(token));
        } else {
            return refusal("it holds " + shown(c));
        }
    }
    return tokens;
}

}  // namespace

Result<RecordedCommand> read_recorded_command(std::string_view command_line) {
    if (!starts_with(command_line, "/C ")) return refusal("it does not begin with \"/C \"");
    auto tokens = tokens_of(command_line.substr(3));
    if (!tokens) return tokens.failure();

    RecordedCommand command;
    bool has_program = false;
    const auto& list = tokens.value();
    for (size_t i = 0; i < list.size(); ++i) {
        const Token& token = list[i];
        switch (token.kind) {
        case Token::Kind::pipe:
            return refusal("a \"|\" chains programs, which no recorded operation does");
        case Token::Kind::input:
        case Token::Kind::output:
        case Token::Kind::append: {
            if (i + 1 >= list.size() || list[i + 1].kind != Token::Kind::word)
                return refusal("a redirection names no file");
            const std::string& file = list[++i].word.text;
            std::optional<std::string>& slot = token.kind == Token::Kind::input ? command.input : command.output;
            if (slot) return refusal("it redirects the same stream twice");
            slot = file;
            if (token.kind == Token::Kind::append) command.appends = true;
            break;
        }
        case Token::Kind::word:
            if (!has_program) {
                if (token.word.quoted) return refusal("its program name is quoted");
                command.program = token.word.text;
                has_program = true;
            } else {
                command.words.push_back(token.word);
            }
            break;
        }
    }
    if (!has_program) return refusal("it names no program");
    return command;
}

std::string escaped_for_display(std::string_view text) {
    std::string shown;
    for (size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c == '\t') shown += "\\t";
        else if (c == '\r') shown += "\\r";
        else if (c == '\n') shown += "\\n";
        else if (c < 0x20 || c == 0x7f) shown += strprintf("\\x%02x", c);
        // U+0080..U+009F, the C1 controls, are 0xC2 0x80..0x9F in UTF-8.
        else if (c == 0xc2 && i + 1 < text.size() && static_cast<unsigned char>(text[i + 1]) >= 0x80 &&
                 static_cast<unsigned char>(text[i + 1]) <= 0x9f)
            shown += strprintf("\\xc2\\x%02x", static_cast<unsigned char>(text[++i]));
        else shown += static_cast<char>(c);
    }
    return shown;
}
