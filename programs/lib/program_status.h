#pragma once
// How a picture program's work ended. The library never prints its final
// verdict itself: it hands back the exit code and the one line the program
// puts on standard error, so every program reports failures the same way.
//
// A message is printed either as "<argv[0]>: <text>" or, where the program
// names a file instead of itself ("x.hdr: cannot open"), as the bare text.

#include <string>
#include <utility>

struct ProgramStatus {
    int exit_code = 0;
    bool prefix_program = true;  // put "<argv[0]>: " before the message
    std::string message;         // without line end; empty = nothing to print

    bool ok() const { return exit_code == 0 && message.empty(); }
};

inline ProgramStatus success() { return {}; }

// "<program>: <text>", exit 1.
inline ProgramStatus program_failure(std::string text) { return {1, true, std::move(text)}; }

// "<text>" as it stands (for messages that start with a file name), exit 1.
inline ProgramStatus plain_failure(std::string text) { return {1, false, std::move(text)}; }

// "Usage: <text>", exit 1.
inline ProgramStatus usage_failure(const std::string& text) { return {1, false, "Usage: " + text}; }

// Prints the status's message (if any) on standard error and returns the
// exit code; the one place where programs end.
int finish_program(const char* program, const ProgramStatus& status);
