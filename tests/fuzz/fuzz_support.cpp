#include "fuzz_support.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>

std::string fuzz_input_file(const uint8_t* data, size_t size, const std::string& suffix) {
    const char* base = std::getenv("TMPDIR");
    const std::string path = std::string(base && *base ? base : "/tmp") + "/candelux-fuzz-" +
                             std::to_string(static_cast<long>(getpid())) + suffix;
    if (std::FILE* file = std::fopen(path.c_str(), "wb")) {
        if (size) std::fwrite(data, 1, size, file);
        std::fclose(file);
    }
    return path;
}

std::vector<std::string> fuzz_lines(const uint8_t* data, size_t size) {
    std::vector<std::string> lines;
    std::string line;
    for (size_t i = 0; i < size; ++i) {
        if (data[i] == '\n') {
            lines.push_back(line);
            line.clear();
        } else {
            line.push_back(static_cast<char>(data[i]));
        }
    }
    if (!line.empty()) lines.push_back(line);
    return lines;
}
