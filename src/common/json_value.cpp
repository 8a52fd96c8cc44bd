#include "common/json_value.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace {

constexpr int max_depth = 64;

class Reader {
public:
    explicit Reader(const std::string& text) : text_(text) {}

    Result<JsonValue> document() {
        JsonValue value;
        if (!read_value(value, 0)) return failure();
        skip_space();
        if (at_ < text_.size()) {
            error_ = "text after the end of the value";
            return failure();
        }
        return value;
    }

private:
    Failure failure() const {
        // The line of the fault, so a hand-edited file can be mended.
        int line = 1;
        for (size_t i = 0; i < at_ && i < text_.size(); ++i) line += text_[i] == '\n';
        return Failure{-1, "line " + std::to_string(line) + ": " + error_};
    }

    void skip_space() {
        while (at_ < text_.size() && (text_[at_] == ' ' || text_[at_] == '\t' || text_[at_] == '\n' || text_[at_] == '\r'))
            ++at_;
    }

    bool fail(const char* message) {
        if (error_.empty()) error_ = message;
        return false;
    }

    bool literal(const char* word) {
        const std::string w(word);
        if (text_.compare(at_, w.size(), w) != 0) return fail("not a JSON value");
        at_ += w.size();
        return true;
    }

    bool read_value(JsonValue& value, int depth) {
        if (depth >= max_depth) return fail("nested too deeply");
        skip_space();
        if (at_ >= text_.size()) return fail("the text ends where a value was expected");
        const char c = text_[at_];
        if (c == '{') return read_object(value, depth);
        if (c == '[') return read_array(value, depth);
        if (c == '"') {
            std::string s;
            if (!read_string(s)) return false;
            value = JsonValue(std::move(s));
            return true;
        }
        if (c == 't') return literal("true") && (value = JsonValue(true), true);
        if (c == 'f') return literal("false") && (value = JsonValue(false), true);
        if (c == 'n') return literal("null") && (value = JsonValue(), true);
        return read_number(value);
    }

    bool read_number(JsonValue& value) {
        const size_t start = at_;
        auto digits = [&] {
            const size_t from = at_;
            while (at_ < text_.size() && text_[at_] >= '0' && text_[at_] <= '9') ++at_;
            return at_ - from;
        };
        if (at_ < text_.size() && text_[at_] == '-') ++at_;
        const size_t first = at_;
        const size_t whole = digits();
        if (whole == 0) return fail("not a JSON value");
        if (whole > 1 && text_[first] == '0') return fail("a number with a leading zero");
        if (at_ < text_.size() && text_[at_] == '.') {
            ++at_;
            if (digits() == 0) return fail("a number without digits after its point");
        }
        if (at_ < text_.size() && (text_[at_] == 'e' || text_[at_] == 'E')) {
            ++at_;
            if (at_ < text_.size() && (text_[at_] == '+' || text_[at_] == '-')) ++at_;
            if (digits() == 0) return fail("a number without digits in its exponent");
        }
        double number = 0;
        const auto [end, ec] = std::from_chars(text_.data() + start, text_.data() + at_, number);
        if (ec != std::errc() || end != text_.data() + at_ || !std::isfinite(number))
            return fail("a number out of range");
        value = JsonValue(number);
        return true;
    }

    bool hex4(unsigned& code) {
        if (at_ + 4 > text_.size()) return fail("a short \\u escape");
        code = 0;
        for (int i = 0; i < 4; ++i) {
            const char h = text_[at_++];
            code <<= 4;
            if (h >= '0' && h <= '9') code |= h - '0';
            else if (h >= 'a' && h <= 'f') code |= h - 'a' + 10;
            else if (h >= 'A' && h <= 'F') code |= h - 'A' + 10;
            else return fail("a bad \\u escape");
        }
        return true;
    }

    static void append_utf8(std::string& out, unsigned code) {
        if (code < 0x80) {
            out += static_cast<char>(code);
        } else if (code < 0x800) {
            out += static_cast<char>(0xC0 | (code >> 6));
            out += static_cast<char>(0x80 | (code & 0x3F));
        } else if (code < 0x10000) {
            out += static_cast<char>(0xE0 | (code >> 12));
            out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (code & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (code >> 18));
            out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (code & 0x3F));
        }
    }

    bool read_string(std::string& out) {
        ++at_;  // the opening quote
        while (true) {
            if (at_ >= text_.size()) return fail("a string without its closing quote");
            const unsigned char c = static_cast<unsigned char>(text_[at_++]);
            if (c == '"') return true;
            if (c < 0x20) return fail("a control character inside a string");
            if (c != '\\') {
                out += static_cast<char>(c);
                continue;
            }
            if (at_ >= text_.size()) return fail("a string without its closing quote");
            const char e = text_[at_++];
            switch (e) {
                case '"': out += '"'; break;
                case '\\': out += '\\'; break;
                case '/': out += '/'; break;
                case 'b': out += '\b'; break;
                case 'f': out += '\f'; break;
                case 'n': out += '\n'; break;
                case 'r': out += '\r'; break;
                case 't': out += '\t'; break;
                case 'u': {
                    unsigned code = 0;
                    if (!hex4(code)) return false;
                    if (code >= 0xD800 && code < 0xDC00) {
                        unsigned low = 0;
                        if (text_.compare(at_, 2, "\\u") != 0) return fail("a lone surrogate");
                        at_ += 2;
                        if (!hex4(low) || low < 0xDC00 || low > 0xDFFF) return fail("a lone surrogate");
                        code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
                    } else if (code >= 0xDC00 && code < 0xE000) {
                        return fail("a lone surrogate");
                    }
                    append_utf8(out, code);
                    break;
                }
                default: return fail("a bad escape in a string");
            }
        }
    }

    bool read_array(JsonValue& value, int depth) {
        ++at_;
        JsonValue::Array items;
        skip_space();
        if (at_ < text_.size() && text_[at_] == ']') {
            ++at_;
            value = JsonValue(std::move(items));
            return true;
        }
        while (true) {
            JsonValue item;
            if (!read_value(item, depth + 1)) return false;
            items.push_back(std::move(item));
            skip_space();
            if (at_ >= text_.size()) return fail("an array without its closing bracket");
            const char c = text_[at_++];
            if (c == ']') break;
            if (c != ',') return fail("a missing comma in an array");
        }
        value = JsonValue(std::move(items));
        return true;
    }

    bool read_object(JsonValue& value, int depth) {
        ++at_;
        JsonValue object{JsonValue::Object{}};
        skip_space();
        if (at_ < text_.size() && text_[at_] == '}') {
            ++at_;
            value = std::move(object);
            return true;
        }
        while (true) {
            skip_space();
            if (at_ >= text_.size() || text_[at_] != '"') return fail("an object key that is not a string");
            std::string key;
            if (!read_string(key)) return false;
            if (object.find(key)) return fail("a key given twice");
            skip_space();
            if (at_ >= text_.size() || text_[at_] != ':') return fail("a missing colon after a key");
            ++at_;
            JsonValue member;
            if (!read_value(member, depth + 1)) return false;
            object.as_object().emplace_back(std::move(key), std::move(member));
            skip_space();
            if (at_ >= text_.size()) return fail("an object without its closing brace");
            const char c = text_[at_++];
            if (c == '}') break;
            if (c != ',') return fail("a missing comma in an object");
        }
        value = std::move(object);
        return true;
    }

    const std::string& text_;
    size_t at_ = 0;
    std::string error_;
};

bool all_numbers(const JsonValue::Array& items) {
    for (const JsonValue& item : items)
        if (!item.is_number()) return false;
    return true;
}

void write(std::string& out, const JsonValue& value, int indent) {
    const std::string pad(indent * 2 + 2, ' ');
    const std::string close(indent * 2, ' ');
    if (value.is_null()) out += "null";
    else if (value.is_bool()) out += value.as_bool() ? "true" : "false";
    else if (value.is_number()) out += json_number(value.as_number());
    else if (value.is_string()) out += json_quoted(value.as_string());
    else if (value.is_array()) {
        const auto& items = value.as_array();
        if (items.empty() || all_numbers(items)) {
            out += '[';
            for (size_t i = 0; i < items.size(); ++i) out += (i ? ", " : "") + json_number(items[i].as_number());
            out += ']';
            return;
        }
        out += "[\n";
        for (size_t i = 0; i < items.size(); ++i) {
            out += pad;
            write(out, items[i], indent + 1);
            out += i + 1 < items.size() ? ",\n" : "\n";
        }
        out += close + "]";
    } else {
        const auto& members = value.as_object();
        if (members.empty()) {
            out += "{}";
            return;
        }
        out += "{\n";
        for (size_t i = 0; i < members.size(); ++i) {
            out += pad + json_quoted(members[i].first) + ": ";
            write(out, members[i].second, indent + 1);
            out += i + 1 < members.size() ? ",\n" : "\n";
        }
        out += close + "}";
    }
}

}  // namespace

const JsonValue* JsonValue::find(const std::string& key) const {
    if (!is_object()) return nullptr;
    for (const auto& [name, member] : as_object())
        if (name == key) return &member;
    return nullptr;
}

void JsonValue::set(const std::string& key, JsonValue value) {
    if (!is_object()) data_ = Object{};
    for (auto& [name, member] : as_object())
        if (name == key) {
            member = std::move(value);
            return;
        }
    as_object().emplace_back(key, std::move(value));
}

void JsonValue::erase(const std::string& key) {
    if (!is_object()) return;
    auto& members = as_object();
    for (auto it = members.begin(); it != members.end(); ++it)
        if (it->first == key) {
            members.erase(it);
            return;
        }
}

Result<JsonValue> parse_json(const std::string& text) { return Reader(text).document(); }

std::string json_text(const JsonValue& value) {
    std::string out;
    write(out, value, 0);
    out += '\n';
    return out;
}

std::string json_quoted(const std::string& text) {
    std::string out = "\"";
    for (const char ch : text) {
        const unsigned char c = static_cast<unsigned char>(ch);
        if (c == '"') out += "\\\"";
        else if (c == '\\') out += "\\\\";
        else if (c < 0x20) {
            char buffer[8];
            std::snprintf(buffer, sizeof buffer, "\\u%04x", c);
            out += buffer;
        } else out += ch;
    }
    return out + "\"";
}

std::string json_number(double value) {
    if (!std::isfinite(value)) return "null";
    char buffer[32];
    const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, end);
}
