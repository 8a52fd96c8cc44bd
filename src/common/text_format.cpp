#include "common/text_format.h"

#include <cstdarg>
#include <cstdio>
#include <sstream>
#include <vector>

std::string strprintf(const char* format, ...) {
    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    const int size = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    std::string out;
    if (size > 0) {
        out.resize(static_cast<size_t>(size) + 1);
        std::vsnprintf(out.data(), out.size(), format, args);
        out.resize(static_cast<size_t>(size));
    }
    va_end(args);
    return out;
}

std::string format_default(float value) {
    std::ostringstream stream;
    stream << value;
    return stream.str();
}

std::string format_fixed6(double value) { return strprintf("%f", value); }
