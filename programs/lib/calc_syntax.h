#pragma once
// The syntax of the calc language the picture programs' expressions are
// written in (pcomb -e, rcalc -e): definitions separated by ';', each
// "name = expression" (or "name : expression" for a constant), expressions of
// numbers, names, calls name(arg, ..), parentheses, unary minus and
// + - * / ^ with the usual precedence (^ binds right to left).
//
// Definitions are formulas, not assignments: a name may be used before the
// definition that gives it, and a later definition of a name replaces an
// earlier one. Names may hold letters, digits, '_', '.' and a leading '$'
// ("$1" is a record field in rcalc).
//
// Subexpressions made of numbers only are folded while parsing, so that a
// divisor written as zero is refused before any value is computed.

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct CalcNode {
    enum class Kind { number, name, call, negate, add, subtract, multiply, divide, power };
    Kind kind = Kind::number;
    double value = 0;       // number
    std::string name;       // name, call
    std::vector<int> args;  // operands or call arguments (node indices)
};

struct CalcDefinition {
    int root = -1;
    bool constant = false;  // defined with ':'
};

// A syntax error: the text, where in it, and what.
struct CalcSyntaxError {
    std::string text;
    size_t column = 0;
    std::string message;

    // The text, then a line with a caret under the column and the message.
    std::string describe() const;
};

class CalcDefinitions {
public:
    // Parses one text of definitions and adds them.
    std::optional<CalcSyntaxError> add(std::string_view text);

    const std::vector<CalcNode>& nodes() const { return nodes_; }
    const std::map<std::string, CalcDefinition>& definitions() const { return definitions_; }
    bool defines(const std::string& name) const { return definitions_.count(name) > 0; }

private:
    friend class CalcParser;
    std::vector<CalcNode> nodes_;
    std::map<std::string, CalcDefinition> definitions_;
};
