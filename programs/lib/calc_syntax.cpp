#include "lib/calc_syntax.h"

#include <cctype>
#include <cmath>
#include <cstdlib>

namespace {

enum class Token { end, number, name, symbol, bad };

bool is_name_start(char c) { return std::isalpha(static_cast<unsigned char>(c)) || c == '_' || c == '$'; }
bool is_name_char(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '.'; }

}  // namespace

std::string CalcSyntaxError::describe() const {
    std::string caret;
    for (size_t i = 0; i < column && i < text.size(); ++i) caret += text[i] == '\t' ? '\t' : ' ';
    for (size_t i = text.size(); i < column; ++i) caret += ' ';
    std::string line = text;
    if (line.empty() || line.back() != '\n') line += '\n';
    return line + caret + "^ " + message;
}

class CalcParser {
    static constexpr int max_nesting = 500;

public:
    CalcParser(CalcDefinitions& out, std::string_view text) : out_(out), text_(text) { advance(); }

    std::optional<CalcSyntaxError> parse() {
        while (token_ != Token::end) {
            if (is_symbol(';')) {
                advance();
                continue;
            }
            if (token_ != Token::name) return error("unexpected character");
            const std::string name = name_;
            advance();
            bool constant = false;
            if (is_symbol(':'))
                constant = true;
            else if (is_symbol('('))
                return error("function definitions are not supported");
            else if (!is_symbol('='))
                return error("'=' or ':' expected");
            advance();
            const int root = expression();
            if (failed_) return error_;
            if (token_ != Token::end && !is_symbol(';')) return error("';' expected");
            out_.definitions_[name] = {root, constant};
        }
        return std::nullopt;
    }

private:
    // Reads the next token; position_ is where it starts.
    void advance() {
        while (cursor_ < text_.size() && std::isspace(static_cast<unsigned char>(text_[cursor_]))) ++cursor_;
        position_ = cursor_;
        if (cursor_ >= text_.size()) {
            token_ = Token::end;
            return;
        }
        const char c = text_[cursor_];
        if (std::isdigit(static_cast<unsigned char>(c)) ||
            (c == '.' && cursor_ + 1 < text_.size() && std::isdigit(static_cast<unsigned char>(text_[cursor_ + 1])))) {
            const std::string rest(text_.substr(cursor_));
            char* end = nullptr;
            number_ = std::strtod(rest.c_str(), &end);
            cursor_ += static_cast<size_t>(end - rest.c_str());
            token_ = Token::number;
        } else if (is_name_start(c)) {
            size_t end = cursor_ + 1;
            while (end < text_.size() && is_name_char(text_[end])) ++end;
            name_ = std::string(text_.substr(cursor_, end - cursor_));
            cursor_ = end;
            token_ = name_ == "$" ? Token::bad : Token::name;
        } else if (std::string_view("+-*/^(),;=:").find(c) != std::string_view::npos) {
            symbol_ = c;
            ++cursor_;
            token_ = Token::symbol;
        } else {
            token_ = Token::bad;
        }
    }

    bool is_symbol(char c) const { return token_ == Token::symbol && symbol_ == c; }

    std::optional<CalcSyntaxError> error(const std::string& message) {
        if (!failed_) error_ = CalcSyntaxError{std::string(text_), position_, message};
        failed_ = true;
        return error_;
    }

    int add_node(CalcNode node) {
        out_.nodes_.push_back(std::move(node));
        return static_cast<int>(out_.nodes_.size() - 1);
    }

    const CalcNode& node(int i) const { return out_.nodes_[static_cast<size_t>(i)]; }
    bool is_number(int i) const { return node(i).kind == CalcNode::Kind::number; }

    // A binary node, folded when both operands are numbers.
    int binary(CalcNode::Kind kind, int left, int right) {
        if (is_number(left) && is_number(right)) {
            const double a = node(left).value, b = node(right).value;
            double v = 0;
            switch (kind) {
                case CalcNode::Kind::add: v = a + b; break;
                case CalcNode::Kind::subtract: v = a - b; break;
                case CalcNode::Kind::multiply: v = a * b; break;
                case CalcNode::Kind::divide: v = a / b; break;
                default: v = std::pow(a, b); break;
            }
            return add_node({CalcNode::Kind::number, v, {}, {}});
        }
        return add_node({kind, 0, {}, {left, right}});
    }

    // expression := term { ('+' | '-') term }
    int expression() {
        int left = term();
        while (!failed_ && (is_symbol('+') || is_symbol('-'))) {
            const auto kind = symbol_ == '+' ? CalcNode::Kind::add : CalcNode::Kind::subtract;
            advance();
            left = binary(kind, left, term());
        }
        return left;
    }

    // term := unary { ('*' | '/') unary }
    int term() {
        int left = unary();
        while (!failed_ && (is_symbol('*') || is_symbol('/'))) {
            const bool divide = symbol_ == '/';
            advance();
            const int right = unary();
            if (failed_) return right;
            if (divide && is_number(right) && node(right).value == 0) {
                error("divide by zero constant");
                return right;
            }
            left = binary(divide ? CalcNode::Kind::divide : CalcNode::Kind::multiply, left, right);
        }
        return left;
    }

    // unary := ('-' | '+') unary | power
    // Every nesting (a sign, a parenthesis, an argument) passes through here,
    // so this is where the depth is bounded: a machine-made expression
    // thousands of levels deep is refused instead of overflowing the stack.
    int unary() {
        if (++nesting_ > max_nesting) {
            error("expression nested too deeply");
            return 0;
        }
        const int result = signed_power();
        --nesting_;
        return result;
    }

    int signed_power() {
        if (is_symbol('-') || is_symbol('+')) {
            const bool negate = symbol_ == '-';
            advance();
            const int operand = unary();
            if (failed_ || !negate) return operand;
            if (is_number(operand)) return add_node({CalcNode::Kind::number, -node(operand).value, {}, {}});
            return add_node({CalcNode::Kind::negate, 0, {}, {operand}});
        }
        return power();
    }

    // power := primary [ '^' unary ]
    int power() {
        const int base = primary();
        if (failed_ || !is_symbol('^')) return base;
        advance();
        return binary(CalcNode::Kind::power, base, unary());
    }

    // primary := number | name | name '(' [expression {',' expression}] ')' | '(' expression ')'
    int primary() {
        if (failed_) return 0;
        if (token_ == Token::number) {
            const double v = number_;
            advance();
            return add_node({CalcNode::Kind::number, v, {}, {}});
        }
        if (token_ == Token::name) {
            std::string name = name_;
            advance();
            if (!is_symbol('(')) return add_node({CalcNode::Kind::name, 0, std::move(name), {}});
            advance();
            std::vector<int> args;
            if (!is_symbol(')')) {
                for (;;) {
                    args.push_back(expression());
                    if (failed_) return 0;
                    if (!is_symbol(',')) break;
                    advance();
                }
            }
            if (!is_symbol(')')) {
                error("')' expected");
                return 0;
            }
            advance();
            return add_node({CalcNode::Kind::call, 0, std::move(name), std::move(args)});
        }
        if (is_symbol('(')) {
            advance();
            const int inner = expression();
            if (failed_) return inner;
            if (!is_symbol(')')) {
                error("')' expected");
                return 0;
            }
            advance();
            return inner;
        }
        error("unexpected character");
        return 0;
    }

    CalcDefinitions& out_;
    std::string_view text_;
    size_t cursor_ = 0;
    size_t position_ = 0;
    Token token_ = Token::end;
    double number_ = 0;
    std::string name_;
    char symbol_ = 0;
    bool failed_ = false;
    int nesting_ = 0;
    CalcSyntaxError error_;
};

std::optional<CalcSyntaxError> CalcDefinitions::add(std::string_view text) {
    CalcParser parser(*this, text);
    return parser.parse();
}
