#include "lib/program_status.h"

#include <cstdio>

int finish_program(const char* program, const ProgramStatus& status) {
    std::fflush(stdout);
    if (!status.message.empty()) {
        if (status.prefix_program)
            std::fprintf(stderr, "%s: %s\n", program, status.message.c_str());
        else
            std::fprintf(stderr, "%s\n", status.message.c_str());
    }
    return status.exit_code;
}
