#include "cli/cli_run.h"

#include <filesystem>

#include "desktop/windowless_desktop.h"
#include "common/regular_file.h"
#include "picture/rgbe_reader.h"

int CliOutput::fail(int code, const std::string& message) const {
    err << "candelux-cli " << command << ": " << one_line(message) << '\n';
    return code;
}

void CliOutput::warn(const std::string& message) const {
    err << "candelux-cli " << command << ": warning: " << one_line(message) << '\n';
}

Result<LuminanceMap> read_picture(const std::string& path, LuminanceWeights weights) {
    std::error_code ec;
    if (!std::filesystem::exists(path, ec)) return Failure{-1, path + ": no such file"};
    // Refused before a byte is read: a FIFO would wait for a writer, a device
    // never ends.
    if (const std::string problem = regular_file_problem(path); !problem.empty())
        return Failure{-1, path + ": " + problem};
    auto map = weights == LuminanceWeights::radiance ? load_radiance_luminance_map(path) : load_luminance_map(path);
    if (!map) return Failure{-1, path + ": not a readable Radiance picture (" + one_line(map.failure().message) + ")"};
    if (map.value().empty()) return Failure{-1, path + ": the picture has no pixels"};
    return map;
}

std::string existing_output_problem(const std::string& path, bool overwrite) {
    std::error_code ec;
    if (overwrite || !std::filesystem::exists(std::filesystem::symlink_status(path, ec))) return {};
    return path + " exists already; give --overwrite to replace it";
}

std::string quoted_word(const std::string& text) {
    std::string word = "'";
    for (char c : text) word += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return word + "'";
}

std::string not_an_option(const std::string& path) { return !path.empty() && path[0] == '-' ? "./" + path : path; }

std::string without_trailing_slash(std::string path) {
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    return path;
}

std::string absolute_path(const std::string& path) {
    std::error_code ec;
    const std::filesystem::path full = std::filesystem::absolute(path, ec);
    return ec ? path : without_trailing_slash(full.lexically_normal().string());
}
