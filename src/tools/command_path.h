#pragma once
// Paths reach the shell's command lines unquoted, so a path the user chooses
// must not hold anything the shell would act on.

#include <string_view>

// False when the path holds a blank or any character /bin/sh interprets
// (; & | $ ` \ ' " < > ( ) * ? [ ] { } # ~, tab, newline).
bool is_command_safe_path(std::string_view path);
