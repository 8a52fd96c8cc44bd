#include "cli/cli_run.h"

#include <filesystem>

#include "cli/cli_desktop.h"
#include "picture/rgbe_reader.h"
#include "tools/command_path.h"

int CliOutput::fail(int code, const std::string& message) const {
    err << "candelux-cli " << command << ": " << one_line(message) << '\n';
    return code;
}

void CliOutput::warn(const std::string& message) const {
    err << "candelux-cli " << command << ": warning: " << one_line(message) << '\n';
}

Result<LuminanceMap> read_picture(const std::string& path) {
    std::error_code ec;
    if (!std::filesystem::exists(path, ec)) return Failure{-1, path + ": no such file"};
    if (std::filesystem::is_directory(path, ec)) return Failure{-1, path + " is a folder, not a picture"};
    auto map = load_luminance_map(path);
    if (!map) return Failure{-1, path + ": not a readable Radiance picture (" + one_line(map.failure().message) + ")"};
    if (map.value().empty()) return Failure{-1, path + ": the picture has no pixels"};
    return map;
}

std::string shell_word(const std::string& text) {
    if (!text.empty() && is_command_safe_path(text)) return text;
    std::string word = "'";
    for (char c : text) word += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return word + "'";
}
