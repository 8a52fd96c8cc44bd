#include "lib/reprojection_views.h"

#include "lib/file_handle.h"
#include "lib/picture_messages.h"
#include "picture/block_reader.h"

namespace {

constexpr size_t view_line_chars = 4096;

// Applies the view lines among `lines`; returns how many carried a view.
int apply_view_lines(View& view, const std::vector<std::string>& lines) {
    int found = 0;
    for (const auto& line : lines)
        if (is_view_line(line) && apply_view_options(view, line) > 0) ++found;
    return found;
}

}  // namespace

ProgramStatus apply_view_file(const std::string& path, View& view) {
    const FileHandle file = open_file(path, "rb");
    if (!file) return picture_failure("{file}: {error}", path);
    BlockReader in(file.get());
    std::vector<std::string> lines;
    for (std::string line; in.read_line(line, view_line_chars);) {
        if (line == "\n" || line == "\r\n") break;
        while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
        lines.push_back(line);
    }
    if (apply_view_lines(view, lines) == 0) return plain_failure(path + ": bad view file");
    return success();
}

std::optional<View> header_view(const std::vector<std::string>& lines) {
    View view;
    if (apply_view_lines(view, lines) == 0) return std::nullopt;
    return view;
}
