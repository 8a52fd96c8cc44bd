#pragma once
// Compiled calc definitions: each formula is turned once into code for a
// small stack machine, and evaluating an output per pixel or per record only
// runs that code.
//
// The host (pcomb, rcalc) supplies what the language cannot know: host
// variables such as rcalc's "$1" (a name without a definition) and host
// functions of one argument such as pcomb's ri(n). A variable is computed at
// most once per record (begin_record() starts a new one), and only when an
// evaluation needs it, so if() evaluates just the branch it takes. A
// division by zero at run time gives 0.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "lib/calc_syntax.h"

// What the host provides: the ids it gives its names, and the functions that
// return their values.
struct CalcHost {
    std::vector<std::string> variables;  // host variable names; index = id
    std::vector<std::string> functions;  // host function names; index = id
    // With record fields, "$N" in a formula always reads field N through
    // variable(context, -N), even where "$N" is also defined: in rcalc
    // "$1=..." defines output field 1 while "$1" in a formula is the input's.
    bool record_fields = false;

    double (*variable)(void* context, int id) = nullptr;
    double (*function)(void* context, int id, double argument) = nullptr;
};

class CalcProgram {
public:
    // Compiles the definitions of `outputs` and of everything they use; an
    // output may lack a definition (has_output() tells). Fails with the
    // message to print ("inf: undefined variable").
    static std::optional<CalcProgram> compile(const CalcDefinitions& definitions, const std::vector<std::string>& outputs,
                                              const CalcHost& host, std::string& error);

    // Whether output i has a definition.
    bool has_output(size_t i) const { return outputs_[i] >= 0; }

    // Forgets the values of the last record.
    void begin_record() { ++epoch_; }

    // The value of output i (0 without a definition) for the current record.
    double evaluate(size_t i, void* context) {
        const int v = outputs_[i];
        if (v < 0) return 0;
        Variable& variable = variables_[static_cast<size_t>(v)];
        if (variable.epoch != epoch_) {
            variable.value = run(variable.start, context);
            variable.epoch = epoch_;
        }
        return variable.value;
    }

private:
    enum class Op : uint8_t {
        constant, variable, host_variable, host_function, function1, function2, negate, add, subtract, multiply,
        divide, power, jump, jump_unless_positive, ret,
    };
    struct Instruction {
        Op op = Op::ret;
        int arg = 0;
        double value = 0;
        double (*f1)(double) = nullptr;
        double (*f2)(double, double) = nullptr;
    };
    struct Variable {
        int start = -1;
        uint64_t epoch = 0;
        double value = 0;
    };

    double run(int start, void* context);

    friend class CalcCompiler;
    std::vector<Instruction> code_;
    std::vector<Variable> variables_;
    std::vector<int> outputs_;  // variable index per output, -1 = none
    CalcHost host_;
    uint64_t epoch_ = 1;
};
