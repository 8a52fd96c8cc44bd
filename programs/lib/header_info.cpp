#include "lib/header_info.h"

#include <cstdio>

#include "lib/file_handle.h"
#include "lib/picture_header.h"
#include "picture/block_reader.h"

namespace {

// Prints one file's header; false when the header is damaged.
bool print_one(const std::string& name) {
    const FileHandle file = open_file(name, "rb");
    if (!file) {
        std::printf("%s: cannot open\n", name.c_str());
        return true;
    }
    BlockReader in(file.get());
    std::vector<std::string> lines;
    std::string partial;
    const bool complete = read_header_lines(in, lines, &partial);
    std::string text = name + ":\n";
    for (const auto& line : lines) text += "\t" + line + "\n";
    if (complete)
        text += "\t\n";
    else if (!partial.empty())
        text += "\t" + partial;
    std::fwrite(text.data(), 1, text.size(), stdout);
    if (complete) return true;
    std::fflush(stdout);
    std::fprintf(stderr, "%s: %s\n", name.c_str(), header_too_long(in) ? header_too_long_text : "bad header!");
    return false;
}

}  // namespace

ProgramStatus print_header_info(const std::vector<std::string>& files) {
    bool all_good = true;
    for (const auto& name : files)
        if (!print_one(name)) all_good = false;
    return {all_good ? 0 : 1, false, ""};
}

ProgramStatus copy_picture_data() {
    BlockReader in(stdin, 1 << 20);
    std::vector<std::string> lines;
    if (!read_header_lines(in, lines)) return plain_failure(header_too_long(in) ? header_too_long_text : "Bad header!");
    for (;;) {
        const size_t have = in.available();
        if (have == 0) break;
        if (std::fwrite(in.data(), 1, have, stdout) != have) return program_failure("write error");
        in.consume(have);
    }
    if (in.failed()) return program_failure("read error");
    return success();
}
