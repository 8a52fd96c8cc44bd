#include "lib/picture_messages.h"

#include <cerrno>
#include <cstring>

#include "common/text_format.h"

namespace {

void replace_all(std::string& text, std::string_view key, const std::string& value) {
    for (size_t at = text.find(key); at != std::string::npos; at = text.find(key, at + value.size()))
        text.replace(at, key.size(), value);
}

}  // namespace

ProgramStatus open_failure(const PictureMessages& messages, const PictureInput& in, const std::string& path) {
    if (!in.refusal().empty()) return program_failure(path + " is " + in.refusal());
    return picture_failure(messages.cannot_open, path);
}

ProgramStatus picture_failure(std::string_view text, const std::string& file, int y) {
    std::string message(text);
    const bool names_file = starts_with(message, "{file}");
    replace_all(message, "{file}", file.empty() ? std::string("<stdin>") : file);
    replace_all(message, "{error}", std::strerror(errno));
    replace_all(message, "{y}", std::to_string(y));
    return names_file ? plain_failure(message) : program_failure(message);
}

ProgramStatus read_failure(const PictureMessages& messages, const PictureInput& in, const std::string& file) {
    return picture_failure(messages.read_error, file, in.scanline_count() - 1 - in.scanlines_read());
}

ProgramStatus open_picture(PictureInput& in, const std::string& path, const PictureMessages& messages,
                           bool rgbe_only) {
    if (path.empty())
        in.open_standard_input();
    else if (!in.is_open() && !in.open(path))
        return open_failure(messages, in, path);
    switch (in.read_preamble()) {
        case PictureProblem::none:
            break;
        case PictureProblem::bad_header:
            return picture_failure(messages.bad_header, path);
        case PictureProblem::header_too_long:
            return program_failure((path.empty() ? std::string("<stdin>") : path) + ": " + header_too_long_text);
        case PictureProblem::bad_resolution:
            if (rgbe_only && !in.header().is_rgbe()) return picture_failure(messages.foreign_format, path);
            return picture_failure(messages.bad_size, path);
        default:
            return picture_failure(messages.read_error, path);
    }
    if (rgbe_only && !in.header().is_rgbe()) return picture_failure(messages.foreign_format, path);
    return success();
}

ProgramStatus open_picture_pair(PictureInput& in, const std::string& input, PictureOutput& out,
                                const std::string& output, const PictureMessages& messages) {
    if (!in.open(input)) return open_failure(messages, in, input);
    if (!out.open(output)) return picture_failure(messages.cannot_open, output);
    return open_picture(in, input, messages);
}

std::vector<std::string> header_with_command(const PictureHeader& header, const std::string& command) {
    std::vector<std::string> lines;
    for (const auto& line : header.lines)
        if (!is_format_line(line)) lines.push_back(line);
    if (header.has_format()) lines.emplace_back(std::string("FORMAT=") + std::string(rgbe_format_name));
    lines.push_back(command);
    return lines;
}
