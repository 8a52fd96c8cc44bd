// Which paths may reach a shell's command line unquoted.

#include <gtest/gtest.h>

#include <string>

#include "tools/command_path.h"

namespace {

TEST(CommandSafePath, TakesPlainPaths) {
    EXPECT_TRUE(is_command_safe_path("/home/ana/pictures/office_1.hdr"));
    EXPECT_TRUE(is_command_safe_path("/x/a-b+c=d,e@f%g.hdr"));
    EXPECT_TRUE(is_command_safe_path("/x/caf\xc3\xa9.hdr"));
}

TEST(CommandSafePath, RefusesEveryCharacterTheShellActsOn) {
    for (char c : std::string(" \t\n\r;&|$`\\'\"<>()*?[]{}#~")) {
        const std::string path = std::string("/x/a") + c + "b.hdr";
        EXPECT_FALSE(is_command_safe_path(path)) << "character " << static_cast<int>(c);
    }
    // Brace expansion makes two words of one path where /bin/sh is bash.
    EXPECT_FALSE(is_command_safe_path("/x/{a,b}.hdr"));
    EXPECT_FALSE(is_command_safe_path("/x/{a}.hdr"));
}

}  // namespace
