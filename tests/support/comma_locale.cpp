#include "support/comma_locale.h"

#include <cstring>

CommaLocale::CommaLocale() {
    if (const char* now = std::setlocale(LC_ALL, nullptr)) previous_ = now;
    for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "de_DE"}) {
        if (std::setlocale(LC_ALL, name)) {
            active_ = std::strcmp(std::localeconv()->decimal_point, ",") == 0;
            break;
        }
    }
}

CommaLocale::~CommaLocale() { std::setlocale(LC_ALL, previous_.empty() ? "C" : previous_.c_str()); }
