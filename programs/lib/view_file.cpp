#include "lib/view_file.h"

#include <cstdio>

#include "lib/file_handle.h"

namespace {

// A header is text: a view file long enough to need more is not one.
constexpr size_t longest_header = size_t(1) << 20;

}  // namespace

std::optional<int> read_view_file(const std::string& path, View& view, std::string_view program) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return std::nullopt;
    FileHandle owner(file);
    int applied = 0;
    size_t read = 0;
    std::string line;
    for (int c = std::fgetc(file); c != EOF && read < longest_header; c = std::fgetc(file), ++read) {
        if (c != '\n') {
            line.push_back(static_cast<char>(c));
            continue;
        }
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty()) break;
        if (is_view_line(line, program))
            applied += apply_view_options(view, line) > 0 ? 1 : 0;
        line.clear();
    }
    if (!line.empty() && is_view_line(line, program))
        applied += apply_view_options(view, line) > 0 ? 1 : 0;
    return applied;
}
