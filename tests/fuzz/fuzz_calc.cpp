// The calc language of rcalc's and pcomb's -e: parse, compile, evaluate a
// few records with host variables and functions standing in for $N and ri(n).

#include <cmath>
#include <string>

#include "lib/calc_program.h"
#include "lib/calc_syntax.h"

namespace {
double host_variable(void*, int id) { return id * 0.5 + 1.0; }
double host_function(void*, int id, double x) { return std::isfinite(x) ? x * (id + 1) : 0.0; }
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 4096) return 0;
    const std::string text(reinterpret_cast<const char*>(data), size);
    CalcDefinitions definitions;
    if (auto error = definitions.add(text)) {
        (void)error->describe();
        return 0;
    }
    CalcHost host;
    host.variables = {"$1", "$2", "x"};
    host.functions = {"ri", "gi", "bi"};
    host.record_fields = size % 2 == 0;
    host.variable = host_variable;
    host.function = host_function;
    std::string error;
    auto program = CalcProgram::compile(definitions, {"ro", "go", "bo", "$1", "L"}, host, error);
    if (!program) return 0;
    for (int record = 0; record < 3; ++record) {
        program->begin_record();
        for (size_t i = 0; i < 5; ++i) (void)program->evaluate(i, nullptr);
    }
    return 0;
}
