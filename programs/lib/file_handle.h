#pragma once
// An open C stream that closes itself.

#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

#include "common/regular_file.h"

struct FileCloser {
    void operator()(std::FILE* file) const {
        if (file) std::fclose(file);
    }
};

using FileHandle = std::unique_ptr<std::FILE, FileCloser>;

// A file opened for reading must be a regular file: a FIFO or a device
// named as an input would hang or never end (errno is EINVAL for those).
// One written from the start replaces a file of ours under the name rather
// than emptying it (create_output_file).
inline FileHandle open_file(const std::string& path, const char* mode) {
    if (mode[0] == 'r' && mode[1] != '+') return FileHandle(open_regular_file(path));
    if (std::string_view(mode) == "w" || std::string_view(mode) == "wb") return FileHandle(create_output_file(path));
    return FileHandle(std::fopen(path.c_str(), mode));
}
