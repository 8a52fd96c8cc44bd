// The calc language: parsing, precedence, formulas used before their
// definition, lazy if(), host names, and the errors with their carets.

#include <gtest/gtest.h>

#include "lib/calc_program.h"

namespace {

// Evaluates `output` of the definitions with host variable "x" = 3 and host
// function "twice".
double evaluate(const std::string& text, const std::string& output = "y") {
    CalcDefinitions definitions;
    const auto syntax = definitions.add(text);
    if (syntax) ADD_FAILURE() << syntax->describe();
    CalcHost host;
    host.variables = {"x"};
    host.functions = {"twice"};
    host.variable = [](void*, int) { return 3.0; };
    host.function = [](void*, int, double a) { return 2 * a; };
    std::string error;
    auto program = CalcProgram::compile(definitions, {output}, host, error);
    if (!program) {
        ADD_FAILURE() << error;
        return -1e300;
    }
    return program->evaluate(0, nullptr);
}

std::string compile_error(const std::string& text) {
    CalcDefinitions definitions;
    if (const auto syntax = definitions.add(text)) return syntax->describe();
    std::string error;
    CalcHost host;
    if (!CalcProgram::compile(definitions, {"y"}, host, error)) return error;
    return "";
}

TEST(Calc, FollowsTheUsualPrecedence) {
    EXPECT_DOUBLE_EQ(evaluate("y=1+2*3"), 7);
    EXPECT_DOUBLE_EQ(evaluate("y=(1+2)*3"), 9);
    EXPECT_DOUBLE_EQ(evaluate("y=8/4/2"), 1);
    EXPECT_DOUBLE_EQ(evaluate("y=10-4-3"), 3);
    EXPECT_DOUBLE_EQ(evaluate("y=2^3^2"), 512);
    EXPECT_DOUBLE_EQ(evaluate("y=-2^2"), -4);
    EXPECT_DOUBLE_EQ(evaluate("y = - x * - 2"), 6);
    EXPECT_DOUBLE_EQ(evaluate("y=1e-07*1e+07+2.5+.5"), 4);
}

TEST(Calc, UsesFormulasDefinedLaterAndTheLastDefinitionOfAName) {
    EXPECT_DOUBLE_EQ(evaluate("y=a*b;a=x+1;b:2"), 8);
    EXPECT_DOUBLE_EQ(evaluate("a=1;y=a;a=5"), 5);
}

TEST(Calc, CallsHostAndLibraryFunctions) {
    EXPECT_DOUBLE_EQ(evaluate("y=twice(x)+log10(1000)"), 9);
    EXPECT_DOUBLE_EQ(evaluate("y=sqrt(16)+floor(2.7)+atan2(0,1)"), 6);
}

TEST(Calc, IfTakesTheFirstBranchOnlyForAPositiveCondition) {
    EXPECT_DOUBLE_EQ(evaluate("y=if(x-2.5,10,20)"), 10);
    EXPECT_DOUBLE_EQ(evaluate("y=if(x-3,10,20)"), 20);
    EXPECT_DOUBLE_EQ(evaluate("y=if(x-4,10,20)"), 20);
}

TEST(Calc, EvaluatesOnlyTheBranchItTakes) {
    int calls = 0;
    CalcDefinitions definitions;
    ASSERT_FALSE(definitions.add("y=if(1,2,counted);counted=probe(1)"));
    CalcHost host;
    host.functions = {"probe"};
    host.function = [](void* context, int, double) {
        ++*static_cast<int*>(context);
        return 0.0;
    };
    std::string error;
    auto program = CalcProgram::compile(definitions, {"y"}, host, error);
    ASSERT_TRUE(program) << error;
    for (int record = 0; record < 3; ++record) {
        program->begin_record();
        EXPECT_DOUBLE_EQ(program->evaluate(0, &calls), 2);
    }
    EXPECT_EQ(calls, 0);
}

TEST(Calc, ComputesAVariableOncePerRecord) {
    double field = 1;
    CalcDefinitions definitions;
    ASSERT_FALSE(definitions.add("v=twice($1);y=v+v+v"));
    CalcHost host;
    host.record_fields = true;
    host.functions = {"twice"};
    static int calls;
    calls = 0;
    host.variable = [](void* context, int id) { return id == -1 ? *static_cast<double*>(context) : 0.0; };
    host.function = [](void*, int, double a) {
        ++calls;
        return 2 * a;
    };
    std::string error;
    auto program = CalcProgram::compile(definitions, {"y"}, host, error);
    ASSERT_TRUE(program) << error;
    program->begin_record();
    EXPECT_DOUBLE_EQ(program->evaluate(0, &field), 6);
    field = 5;
    EXPECT_DOUBLE_EQ(program->evaluate(0, &field), 6);  // same record
    program->begin_record();
    EXPECT_DOUBLE_EQ(program->evaluate(0, &field), 30);
    EXPECT_EQ(calls, 2);
}

TEST(Calc, DividesByZeroAtRunTimeToZero) { EXPECT_DOUBLE_EQ(evaluate("y=x/(x-3)"), 0); }

TEST(Calc, ShowsSyntaxErrorsWithACaret) {
    EXPECT_EQ(compile_error("y=ri(1)/0;z=1"), "y=ri(1)/0;z=1\n         ^ divide by zero constant");
    EXPECT_EQ(compile_error("y=2/(1-1)"), "y=2/(1-1)\n         ^ divide by zero constant");
    EXPECT_EQ(compile_error("L=;cond=L-1e-7;=log10(L)"), "L=;cond=L-1e-7;=log10(L)\n  ^ unexpected character");
    EXPECT_EQ(compile_error("y=(1+2"), "y=(1+2\n      ^ ')' expected");
    EXPECT_EQ(compile_error("y=1 # 2"), "y=1 # 2\n    ^ ';' expected");
    EXPECT_EQ(compile_error("y=1+@"), "y=1+@\n    ^ unexpected character");
}

TEST(Calc, RefusesUndefinedAndRecursiveNames) {
    EXPECT_EQ(compile_error("y=inf"), "inf: undefined variable");
    EXPECT_EQ(compile_error("y=frob(2)"), "frob: undefined function");
    EXPECT_EQ(compile_error("y=a;a=y+1"), "y: recursive definition");
    EXPECT_EQ(compile_error("y=if(1,2)"), "if: bad number of arguments");
}

TEST(Calc, RefusesNestingTooDeepForTheStackWithAMessage) {
    const std::string parentheses = "y=" + std::string(100000, '(') + "1" + std::string(100000, ')');
    EXPECT_NE(compile_error(parentheses).find("nested too deeply"), std::string::npos);
    EXPECT_NE(compile_error("y=" + std::string(100000, '-') + "1").find("nested too deeply"), std::string::npos);
    std::string chain = "y=a0";
    for (int i = 0; i < 5000; ++i) chain += ";a" + std::to_string(i) + "=a" + std::to_string(i + 1);
    chain += ";a5000=1";
    EXPECT_NE(compile_error(chain).find("nested too deeply"), std::string::npos);
    // What people write stays well inside the bounds.
    EXPECT_DOUBLE_EQ(evaluate("y=" + std::string(200, '(') + "x" + std::string(200, ')')), 3);
    EXPECT_DOUBLE_EQ(evaluate("y=" + std::string(301, '-') + "x"), -3);
}

}  // namespace
