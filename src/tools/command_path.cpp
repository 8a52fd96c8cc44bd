#include "tools/command_path.h"

bool is_command_safe_path(std::string_view path) {
    static constexpr std::string_view unsafe = " \t\n\r;&|$`\\'\"<>()*?[]#~";
    return path.find_first_of(unsafe) == std::string_view::npos;
}
