#include "common/file_extension.h"

#include <cctype>

bool has_extension(std::string_view name, std::string_view extension) {
    if (name.size() < extension.size()) return false;
    const std::string_view tail = name.substr(name.size() - extension.size());
    for (size_t i = 0; i < tail.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(tail[i])) != static_cast<unsigned char>(extension[i])) return false;
    return true;
}
