#include "lib/calc_program.h"

#include <cmath>
#include <map>


namespace {

constexpr int max_stack = 64;

struct Builtin1 {
    const char* name;
    double (*f)(double);
};
struct Builtin2 {
    const char* name;
    double (*f)(double, double);
};

// The library's functions, each wrapped once (the standard ones may not
// have their address taken).
constexpr Builtin1 builtins1[] = {
    {"sqrt", [](double x) { return std::sqrt(x); }},   {"exp", [](double x) { return std::exp(x); }},
    {"log", [](double x) { return std::log(x); }},     {"log10", [](double x) { return std::log10(x); }},
    {"sin", [](double x) { return std::sin(x); }},     {"cos", [](double x) { return std::cos(x); }},
    {"tan", [](double x) { return std::tan(x); }},     {"asin", [](double x) { return std::asin(x); }},
    {"acos", [](double x) { return std::acos(x); }},   {"atan", [](double x) { return std::atan(x); }},
    {"floor", [](double x) { return std::floor(x); }}, {"ceil", [](double x) { return std::ceil(x); }},
};
constexpr Builtin2 builtins2[] = {{"atan2", [](double y, double x) { return std::atan2(y, x); }}};

int index_of(const std::vector<std::string>& names, const std::string& name) {
    for (size_t i = 0; i < names.size(); ++i)
        if (names[i] == name) return static_cast<int>(i);
    return -1;
}

// N of a name "$N", 0 for any other name.
int field_number(const std::string& name) {
    if (name.size() < 2 || name[0] != '$' || name.size() > 6) return 0;
    int n = 0;
    for (size_t i = 1; i < name.size(); ++i) {
        if (name[i] < '0' || name[i] > '9') return 0;
        n = n * 10 + (name[i] - '0');
    }
    return n;
}

}  // namespace

class CalcCompiler {
    static constexpr int max_variable_nesting = 1000;

public:
    CalcCompiler(const CalcDefinitions& definitions, const CalcHost& host, CalcProgram& program)
        : definitions_(definitions), host_(host), program_(program) {}

    // The variable index of a defined name, compiling it on first use.
    int variable(const std::string& name) {
        if (const auto found = index_.find(name); found != index_.end()) {
            if (program_.variables_[static_cast<size_t>(found->second)].start < 0)
                fail(name + ": recursive definition");
            return found->second;
        }
        // Each variable compiled inside another is a level of recursion here
        // and when the program runs; chains this long are not written by hand.
        if (nesting_ >= max_variable_nesting) {
            fail(name + ": definitions nested too deeply");
            return 0;
        }
        ++nesting_;
        const int index = static_cast<int>(program_.variables_.size());
        index_[name] = index;
        program_.variables_.push_back({});
        // Each variable's code is compiled into its own buffer and appended
        // whole, since compiling it may compile others first.
        std::vector<CalcProgram::Instruction> code;
        std::swap(code, current_);
        int depth = 0;
        emit_node(definitions_.definitions().at(name).root, depth);
        emit({CalcProgram::Op::ret});
        std::swap(code, current_);
        auto& all = program_.code_;
        const int start = static_cast<int>(all.size());
        for (auto& instruction : code) {
            if (instruction.op == CalcProgram::Op::jump || instruction.op == CalcProgram::Op::jump_unless_positive)
                instruction.arg += start;
            all.push_back(instruction);
        }
        program_.variables_[static_cast<size_t>(index)].start = start;
        --nesting_;
        return index;
    }

    bool failed() const { return !error_.empty(); }
    const std::string& error() const { return error_; }

private:
    void fail(const std::string& message) {
        if (error_.empty()) error_ = message;
    }

    void emit(CalcProgram::Instruction instruction) { current_.push_back(instruction); }

    void push(int& depth) {
        if (++depth > max_stack) fail("expression too complex");
    }

    void emit_node(int index, int& depth) {
        if (failed()) return;
        const CalcNode& node = definitions_.nodes()[static_cast<size_t>(index)];
        using K = CalcNode::Kind;
        using Op = CalcProgram::Op;
        switch (node.kind) {
            case K::number:
                emit({Op::constant, 0, node.value});
                push(depth);
                return;
            case K::name:
                emit_name(node.name, depth);
                return;
            case K::call:
                emit_call(node, depth);
                return;
            case K::negate:
                emit_node(node.args[0], depth);
                emit({Op::negate});
                return;
            default:
                break;
        }
        emit_node(node.args[0], depth);
        emit_node(node.args[1], depth);
        --depth;
        switch (node.kind) {
            case K::add: emit({Op::add}); break;
            case K::subtract: emit({Op::subtract}); break;
            case K::multiply: emit({Op::multiply}); break;
            case K::divide: emit({Op::divide}); break;
            default: emit({Op::power}); break;
        }
    }

    void emit_name(const std::string& name, int& depth) {
        using Op = CalcProgram::Op;
        const int field = host_.record_fields ? field_number(name) : 0;
        if (field > 0) {
            emit({Op::host_variable, -field});
        } else if (definitions_.defines(name)) {
            const int v = variable(name);
            if (failed()) return;
            // A variable that is a single value (a number, a field, another
            // variable) costs less to repeat than to remember.
            const auto& code = program_.code_;
            const int start = program_.variables_[static_cast<size_t>(v)].start;
            // A variable whose code is still being written (or was cut short by
            // an error) has no complete body to look at.
            if (start >= 0 && static_cast<size_t>(start) + 1 < code.size() &&
                code[static_cast<size_t>(start) + 1].op == CalcProgram::Op::ret &&
                code[static_cast<size_t>(start)].op != CalcProgram::Op::host_function)
                emit(code[static_cast<size_t>(start)]);
            else
                emit({Op::variable, v});
        } else if (const int id = index_of(host_.variables, name); id >= 0) {
            emit({Op::host_variable, id});
        } else {
            fail(name + ": undefined variable");
            return;
        }
        push(depth);
    }

    void emit_call(const CalcNode& node, int& depth) {
        using Op = CalcProgram::Op;
        const size_t argc = node.args.size();
        if (node.name == "if") {
            if (argc != 3) return fail("if: bad number of arguments");
            // condition; unless positive jump to else; then; jump to end
            emit_node(node.args[0], depth);
            --depth;
            const size_t branch = current_.size();
            emit({Op::jump_unless_positive});
            emit_node(node.args[1], depth);
            --depth;
            const size_t skip = current_.size();
            emit({Op::jump});
            current_[branch].arg = static_cast<int>(current_.size());
            emit_node(node.args[2], depth);
            current_[skip].arg = static_cast<int>(current_.size());
            return;
        }
        if (const int id = index_of(host_.functions, node.name); id >= 0) {
            if (argc != 1) return fail(node.name + ": bad number of arguments");
            emit_node(node.args[0], depth);
            emit({Op::host_function, id});
            return;
        }
        for (const auto& b : builtins1) {
            if (node.name != b.name) continue;
            if (argc != 1) return fail(node.name + ": bad number of arguments");
            emit_node(node.args[0], depth);
            emit({Op::function1, 0, 0, b.f});
            return;
        }
        for (const auto& b : builtins2) {
            if (node.name != b.name) continue;
            if (argc != 2) return fail(node.name + ": bad number of arguments");
            emit_node(node.args[0], depth);
            emit_node(node.args[1], depth);
            --depth;
            emit({Op::function2, 0, 0, nullptr, b.f});
            return;
        }
        fail(node.name + ": undefined function");
    }

    const CalcDefinitions& definitions_;
    const CalcHost& host_;
    CalcProgram& program_;
    std::map<std::string, int> index_;
    std::vector<CalcProgram::Instruction> current_;
    std::string error_;
    int nesting_ = 0;
};

std::optional<CalcProgram> CalcProgram::compile(const CalcDefinitions& definitions,
                                                const std::vector<std::string>& outputs, const CalcHost& host,
                                                std::string& error) {
    CalcProgram program;
    program.host_ = host;
    CalcCompiler compiler(definitions, program.host_, program);
    for (const auto& name : outputs)
        program.outputs_.push_back(definitions.defines(name) ? compiler.variable(name) : -1);
    if (compiler.failed()) {
        error = compiler.error();
        return std::nullopt;
    }
    return program;
}

double CalcProgram::run(int start, void* context) {
    double stack[max_stack + 1];
    int top = -1;
    const Instruction* code = code_.data();
    for (int pc = start;; ++pc) {
        const Instruction& in = code[pc];
        switch (in.op) {
            case Op::constant:
                stack[++top] = in.value;
                break;
            case Op::variable: {
                Variable& variable = variables_[static_cast<size_t>(in.arg)];
                if (variable.epoch != epoch_) {
                    variable.value = run(variable.start, context);
                    variable.epoch = epoch_;
                }
                stack[++top] = variable.value;
                break;
            }
            case Op::host_variable:
                stack[++top] = host_.variable(context, in.arg);
                break;
            case Op::host_function:
                stack[top] = host_.function(context, in.arg, stack[top]);
                break;
            case Op::function1:
                stack[top] = in.f1(stack[top]);
                break;
            case Op::function2:
                --top;
                stack[top] = in.f2(stack[top], stack[top + 1]);
                break;
            case Op::negate:
                stack[top] = -stack[top];
                break;
            case Op::add:
                --top;
                stack[top] += stack[top + 1];
                break;
            case Op::subtract:
                --top;
                stack[top] -= stack[top + 1];
                break;
            case Op::multiply:
                --top;
                stack[top] *= stack[top + 1];
                break;
            case Op::divide:
                --top;
                stack[top] = stack[top + 1] == 0 ? 0 : stack[top] / stack[top + 1];
                break;
            case Op::power:
                --top;
                stack[top] = std::pow(stack[top], stack[top + 1]);
                break;
            case Op::jump:
                pc = in.arg - 1;
                break;
            case Op::jump_unless_positive:
                if (!(stack[top--] > 0)) pc = in.arg - 1;
                break;
            case Op::ret:
                return stack[top];
        }
    }
}
