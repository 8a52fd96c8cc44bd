#include "common/clock_text.h"

#include <ctime>

std::string now_as_text(const char* format, Clock clock) {
    const std::time_t now = std::time(nullptr);
    std::tm parts{};
    if (clock == Clock::utc) gmtime_r(&now, &parts);
    else localtime_r(&now, &parts);
    char text[64];
    const size_t length = std::strftime(text, sizeof text, format, &parts);
    return std::string(text, length);
}
