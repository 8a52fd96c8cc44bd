#include "lib/program_status.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <new>
#include <stdexcept>

namespace {

// A program that cannot get the memory a picture needs says so in one line
// and exits 1, like every other failure, instead of aborting.
[[noreturn]] void end_on_uncaught_exception() {
    const char* why = "unexpected failure";
    try {
        if (const auto current = std::current_exception()) std::rethrow_exception(current);
    } catch (const std::bad_alloc&) {
        why = "out of memory";
    } catch (const std::length_error&) {
        why = "out of memory";
    } catch (const std::exception& e) {
        std::fflush(stdout);
        std::fprintf(stderr, "%s: %s\n", program_invocation_short_name, e.what());
        std::_Exit(1);
    } catch (...) {
    }
    std::fflush(stdout);
    std::fprintf(stderr, "%s: %s\n", program_invocation_short_name, why);
    std::_Exit(1);
}

// Every program ends through finish_program, so this file is always linked
// and the handler is always in place.
const std::terminate_handler installed = std::set_terminate(end_on_uncaught_exception);

}  // namespace

int finish_program(const char* program, const ProgramStatus& status) {
    (void)installed;
    std::fflush(stdout);
    if (!status.message.empty()) {
        if (status.prefix_program)
            std::fprintf(stderr, "%s: %s\n", program, status.message.c_str());
        else
            std::fprintf(stderr, "%s\n", status.message.c_str());
    }
    return status.exit_code;
}
